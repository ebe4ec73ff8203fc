// The document's commands: files reached by name, the recent list, the save prompt, and the Open
// and Save as dialogs.
#include "support/harness.h"

#include "app/main_window.h"

struct Document : Suite {
    // The recent entries of the File menu: its items between the first two separators.
    static std::vector<std::string> RecentItems() {
        const std::vector<std::string> items = MenuItems(FileMenu);
        const auto first = std::ranges::find(items, "---");
        return {first + 1, std::find(first + 1, items.end(), "---")};
    }
};

struct RecentList {
    const char* name;
    std::vector<std::string> before; // the values "a" to "d" at start
    std::vector<std::string> loads;
    std::vector<std::string> after;
    std::vector<std::string> items;
};

const std::string kLong = "C:\\" + std::string(200, 'f') + "\\" + std::string(51, 'e'); // 255
const std::string kEmpty = "(Empty) grayed";

const RecentList kRecentLists[] = {
    {"the newest is not listed twice, another case is another file",
     {"C:\\A", "C:\\p", "C:\\q", "C:\\d"},
     {"C:\\A", "C:\\a", "C:\\A"},
     {"C:\\A", "C:\\a", "C:\\A", "C:\\p"},
     {"106 A", "107 a", "108 A", "109 p"}},
    {"255 characters are kept, 300 left out",
     {},
     {kLong, kLong + std::string(45, 'l')},
     {kLong, "", "", ""},
     {"106 " + std::string(51, 'e'), "107 " + kEmpty, "108 " + kEmpty, "109 " + kEmpty}},
};

TEST_F(Document, TheRecentListKeepsTheFourLastLoadsAndTheMenuShowsThem) {
    for (const RecentList& row : kRecentLists) {
        SCOPED_TRACE(row.name);
        RegDeleteTreeA(HKEY_LOCAL_MACHINE, kOwnKey);
        SetValue(kOwnKey, "EersteKeer", "");
        for (size_t i = 0; i < row.before.size(); ++i)
            SetValue(kOwnKey, std::string(1, char('a' + i)).c_str(), row.before[i]);
        Editor editor;
        for (const std::string& path : row.loads) { // as a load records it
            AddRecentFile(path);
            RefreshRecentFileItems();
        }
        EXPECT_EQ(RecentValues(), row.after);
        EXPECT_EQ(RecentItems(), row.items);
    }
}

struct ByName {
    const char* name;
    enum { CommandLine, RecentEntry, Drop } way;
    const char* file;
    std::string bytes;
    FileType type;
    std::string saved; // after "!" is added
};

const ByName kByName[] = {
    {"named relative on the command line", ByName::CommandLine, "UP.INF", "\x11\0\0\0abc\0"s,
     FileType::LevelDescription, "\x11\0\0\0abc!\0"s},
    {"a recent entry", ByName::RecentEntry, "lvl.inf", "\x11\0\0\0abc\0"s,
     FileType::LevelDescription, "\x11\0\0\0abc!\0"s},
    {"the first of two dropped", ByName::Drop, "credits.txt", "abc", FileType::None, "abc!"},
};

TEST_F(Document, AFileReachedByNameIsALevelDescriptionWhenItsNameEndsInInf) {
    SetCurrentDirectoryA(folder.c_str());
    for (const ByName& row : kByName) {
        SCOPED_TRACE(row.name);
        WriteBytes(Path(row.file), row.bytes);
        SetValue(kOwnKey, "a", Path(row.file));
        Editor editor(row.way == ByName::CommandLine ? "scribane.exe "s + row.file
                                                     : "scribane.exe");
        if (row.way == ByName::RecentEntry)
            Command(CMD_RECENT_1);
        if (row.way == ByName::Drop)
            DropFiles(Path(row.file) + '\0' + Path("other.txt") + '\0');

        EXPECT_EQ(Text(), "abc");
        EXPECT_EQ(DocumentState.CurrentFileName, Path(row.file));
        EXPECT_EQ(DocumentState.CurrentFileType, row.type);
        EXPECT_EQ(Title(), std::string(row.file) + " - Scribane");
        Put("abc!", true);
        Command(CMD_SAVE);
        EXPECT_EQ(ReadBytes(Path(row.file)), row.saved);
    }
}

TEST_F(Document, ADroppedFileWhoseNameIsTooLongIsRefusedBeforeTheSavePrompt) {
    Editor editor;
    Put("changed", true);

    DropFiles("C:\\" + std::string(300, 'n') + ".txt" + '\0');

    const std::vector<Box> boxes = Take();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(ReportedError(boxes[0]), 206);
    EXPECT_EQ(Text(), "changed");
}

void DropOther(Document& test) {
    Document::DropFiles(test.Path("other.txt") + '\0');
}

// Each way the text can be dropped, answered Cancel, and the answers, given to a drop. The text
// is "changed", in draft.txt holding "draft"; other.txt, holding "other", is the recent entry "b".
struct Drop {
    const char* name;
    std::function<void(Document& test)> drop;
    bool modified;
    int answer;
    bool saveFails;
    std::string textAfter, fileAfter;
    size_t boxes; // the prompt, the report of a failed save
};

const Drop kDrops[] = {
    {"New, cancelled", [](Document&) { Document::Command(CMD_NEW); }, true, IDCANCEL, false,
     "changed", "draft", 1},
    {"Open, cancelled", [](Document&) { Document::Command(CMD_OPEN); }, true, IDCANCEL, false,
     "changed", "draft", 1},
    {"the end of the session, cancelled",
     [](Document&) { EXPECT_FALSE(SendMessageA(MainWindow, WM_QUERYENDSESSION, 0, 0)); }, true,
     IDCANCEL, false, "changed", "draft", 1},
    {"File > Exit, cancelled",
     [](Document&) {
         Document::Command(CMD_EXIT);
         for (MSG message; PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE);)
             DispatchMessageA(&message);
     },
     true, IDCANCEL, false, "changed", "draft", 1},
    {"a drop, No", DropOther, true, IDNO, false, "other", "draft", 1},
    {"a drop, Yes", DropOther, true, IDYES, false, "other", "changed", 1},
    {"a drop, Yes with a save that fails", DropOther, true, IDYES, true, "changed", "draft", 2},
    {"a drop of unmodified text, not asked", DropOther, false, 0, false, "other", "draft", 0},
};

TEST_F(Document, TheSavePromptGuardsEveryWayTheTextIsDroppedAndItsAnswerDecides) {
    WriteBytes(Path("other.txt"), "other");
    SetValue(kOwnKey, "b", Path("other.txt"));
    Editor editor;
    for (const Drop& row : kDrops) {
        SCOPED_TRACE(row.name);
        WriteBytes(Path("draft.txt"), "draft");
        DocumentState.CurrentFileName = Path("draft.txt");
        Put("changed", row.modified);
        if (row.saveFails)
            SetFileAttributesA(Path("draft.txt").c_str(), FILE_ATTRIBUTE_READONLY);
        answers = {Press(row.answer)};

        row.drop(*this);

        SetFileAttributesA(Path("draft.txt").c_str(), FILE_ATTRIBUTE_NORMAL);
        EXPECT_EQ(Text(), row.textAfter);
        EXPECT_EQ(ReadBytes(Path("draft.txt")), row.fileAfter);
        const std::vector<Box> boxes = Take();
        ASSERT_EQ(boxes.size(), row.boxes);
        if (row.modified) {
            EXPECT_EQ(boxes[0],
                      Box("Save text", "Would you like to save this text?",
                          {-IDYES, IDNO, IDCANCEL}, MainWindow, LoadIconA(nullptr, IDI_QUESTION)));
        }
    }
}

// What the editor told Windows about a session that waits for it: each reason, then "gone".
std::vector<std::wstring> shutdownReasons;

BOOL WINAPI RecordReason(HWND, LPCWSTR reason) {
    shutdownReasons.push_back(reason);
    return TRUE;
}

BOOL WINAPI RecordReasonGone(HWND) {
    shutdownReasons.push_back(L"gone");
    return TRUE;
}

TEST_F(Document, WhileTheEndOfSessionPromptIsUpWindowsKnowsWhyAndASecondQueryIsRefused) {
    Editor editor;
    Put("changed", true);
    ShutdownReason = {RecordReason, RecordReasonGone};
    shutdownReasons.clear();
    std::vector<std::wstring> reasonsAtThePrompt;
    LRESULT secondQuery = -1;
    answers = {[&](HWND prompt) {
        reasonsAtThePrompt = shutdownReasons;
        secondQuery = SendMessageA(MainWindow, WM_QUERYENDSESSION, 0, 0);
        Press(IDNO)(prompt);
    }};

    const LRESULT firstQuery = SendMessageA(MainWindow, WM_QUERYENDSESSION, 0, 0);

    ShutdownReason = {};
    EXPECT_EQ(firstQuery, TRUE);
    EXPECT_EQ(secondQuery, FALSE);
    EXPECT_EQ(Take().size(), 1u); // the prompt, once
    EXPECT_EQ(reasonsAtThePrompt, std::vector<std::wstring>{L"Unsaved text in Scribane"});
    EXPECT_EQ(shutdownReasons, (std::vector<std::wstring>{L"Unsaved text in Scribane", L"gone"}));
}

TEST_F(Document, OpenStartsOnTheTextFilterAndSaveAsOnTheFilterOfTheDocumentsType) {
    WriteBytes(Path("level.inf"), "\x11\0\0\0abc\0"s);
    Editor editor;
    answers = {Choose(Path("level.inf"), 2), Choose("", 0, IDCANCEL)};

    Command(CMD_OPEN);
    Command(CMD_SAVE_AS);

    EXPECT_EQ(Text(), "abc");
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen[0].text, "3|");
    EXPECT_EQ(seen[1].text, "2|");
}

TEST_F(Document, ACancelledOrRefusedDialogChangesNothing) {
    CreateDirectoryA(Path("elsewhere").c_str(), nullptr);
    SetCurrentDirectoryA(Path("elsewhere").c_str()); // where the dialogs must leave it
    Editor editor;
    DocumentState.CurrentFileType = FileType::LevelDescription;
    Put("edited", true);
    const std::vector<std::string> before = Look();
    answers = {Choose(Path("other.txt"), 4, IDCANCEL), // Save as, cancelled after a choice
               Press(IDNO),                            // Open's save prompt
               Choose(Path("missing.txt"), 3),         // refused by the dialog itself
               [](HWND box) {
                   Press(IDOK)(box);
                   Press(IDCANCEL)(GetWindow(box, GW_OWNER));
               }};

    Command(CMD_SAVE_AS);
    Command(CMD_OPEN);

    EXPECT_EQ(Look(), before);
    EXPECT_EQ(FolderContents(folder), (std::vector<std::string>{"elsewhere"}));
    EXPECT_EQ(std::filesystem::current_path().string(), Path("elsewhere"));
}
