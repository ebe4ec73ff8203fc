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
    {"no entries", {}, {}, {"-", "-", "-", "-"}, {"100 (Recent files) grayed"}},
    {"three entries",
     {"C:\\G\\credits.txt", "x.inf", ""},
     {},
     {"C:\\G\\credits.txt", "x.inf", "", "-"},
     {"106 credits.txt", "107 x.inf", "108 " + kEmpty, "109 " + kEmpty}},
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

struct WayByName {
    const char* name;
    std::string commandLine;
    std::function<void(Document& test, const std::string& file)> open;
};

const WayByName kWaysByName[] = {
    {"the command line, relative", "scribane.exe ", [](Document&, const std::string&) {}},
    {"a recent entry", "", [](Document&, const std::string&) { Document::Command(CMD_RECENT_1); }},
    {"a drop, of which the first file counts", "",
     [](Document& test, const std::string& file) {
         Document::DropFiles(file + '\0' + test.Path("other.txt") + '\0');
     }},
};

struct NamedFile {
    const char* name;
    std::string bytes;
    FileType type;
    std::string saved;
};

const NamedFile kNamedFiles[] = {
    {"UP.INF", "\x11\0\0\0abc\0"s, FileType::LevelDescription, "\x11\0\0\0abc!\0"s},
    {"credits.txt", "abc", FileType::None, "abc!"},
};

TEST_F(Document, AFileReachedByNameIsALevelDescriptionWhenItsNameEndsInInf) {
    SetCurrentDirectoryA(folder.c_str());
    for (const WayByName& way : kWaysByName) {
        for (const NamedFile& row : kNamedFiles) {
            SCOPED_TRACE(std::string(way.name) + ": " + row.name);
            WriteBytes(Path(row.name), row.bytes);
            SetValue(kOwnKey, "a", Path(row.name));
            Editor editor(way.commandLine.empty() ? "scribane.exe" : way.commandLine + row.name);
            way.open(*this, Path(row.name));

            EXPECT_EQ(Text(), "abc");
            EXPECT_EQ(DocumentState.CurrentFileName, Path(row.name));
            EXPECT_EQ(DocumentState.CurrentFileType, row.type);
            EXPECT_EQ(Title(), std::string(row.name) + " - Scribane");
            Put("abc!", true);
            Command(CMD_SAVE);
            EXPECT_EQ(ReadBytes(Path(row.name)), row.saved);
        }
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

TEST_F(Document, ACommandLineNameOf255CharactersLoadsAndALongerOneIsRefused) {
    std::string nest = folder; // a folder of 246 characters, holding "name.txt" at 255
    while (nest.size() < 246) {
        nest += "\\" + std::string(std::min<size_t>(60, 246 - nest.size() - 1), 'f');
        CreateDirectoryA(nest.c_str(), nullptr);
    }
    WriteBytes(nest + "\\name.txt", "name");
    WriteBytes(nest + "\\abcdefgh.txt", "");
    SetCurrentDirectoryA(nest.c_str());
    struct Row {
        const char* name;
        std::string argument, text, fileStatus;
        int error;
    };
    const Row rows[] = {
        {"255 characters", "\"" + nest + "\\name.txt\"", "name", " " + nest + "\\name.txt", -1},
        {"256 characters", "\"" + nest + "\\name.txtx\"", "", "(Unsaved)", 206},
        {"256 characters once made absolute", "abcdefgh.txt", "", "(Unsaved)", 206},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        Editor editor("scribane.exe " + row.argument);
        EXPECT_EQ(Text(), row.text);
        EXPECT_EQ(Status(0), row.fileStatus);
        const std::vector<Box> boxes = Take();
        EXPECT_EQ(boxes.empty() ? -1 : ReportedError(boxes[0]), row.error);
    }
}

struct WayToDrop {
    const char* name;
    std::function<void(Document& test)> drop;
};

const WayToDrop kWaysToDrop[] = {
    {"New", [](Document&) { Document::Command(CMD_NEW); }},
    {"Open", [](Document&) { Document::Command(CMD_OPEN); }},
    {"a recent entry", [](Document&) { Document::Command(CMD_RECENT_1 + 1); }},
    {"a drop", [](Document& test) { Document::DropFiles(test.Path("other.txt") + '\0'); }},
    {"the end of the session",
     [](Document&) { EXPECT_FALSE(SendMessageA(MainWindow, WM_QUERYENDSESSION, 0, 0)); }},
    {"File > Exit",
     [](Document&) {
         Document::Command(CMD_EXIT);
         for (MSG message; PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE);)
             DispatchMessageA(&message);
     }},
};

TEST_F(Document, EveryWayTheTextIsDroppedAsksFirstAndCancelKeepsIt) {
    WriteBytes(Path("other.txt"), "other");
    SetValue(kOwnKey, "b", Path("other.txt"));
    Editor editor;
    for (const WayToDrop& row : kWaysToDrop) {
        SCOPED_TRACE(row.name);
        Put("changed", true);
        answers = {Press(IDCANCEL)};

        row.drop(*this);

        EXPECT_EQ(Take(), std::vector{Box("Save text", "Would you like to save this text?",
                                          {-IDYES, IDNO, IDCANCEL}, MainWindow,
                                          LoadIconA(nullptr, IDI_QUESTION))});
        EXPECT_EQ(Text(), "changed");
        EXPECT_TRUE(Modified());
        EXPECT_TRUE(IsWindow(MainWindow));
    }
}

struct Reply {
    const char* name;
    bool modified;
    int answer;
    bool saveFails;
    std::string textAfter, fileAfter;
    size_t boxes; // the prompt, the report of a failed save
};

const Reply kReplies[] = {
    {"Cancel keeps the text", true, IDCANCEL, false, "changed", "draft", 1},
    {"No drops it", true, IDNO, false, "other", "draft", 1},
    {"Yes saves it first", true, IDYES, false, "other", "changed", 1},
    {"Yes with a save that fails keeps it", true, IDYES, true, "changed", "draft", 2},
    {"unmodified text is dropped without asking", false, 0, false, "other", "draft", 0},
};

TEST_F(Document, TheSavePromptsAnswerDecidesWhetherTheTextIsSavedAndDropped) {
    WriteBytes(Path("other.txt"), "other");
    Editor editor;
    for (const Reply& row : kReplies) {
        SCOPED_TRACE(row.name);
        WriteBytes(Path("draft.txt"), "draft");
        ASSERT_TRUE(LoadDocument(Path("draft.txt"), FileType::Text));
        Put("changed", row.modified);
        if (row.saveFails)
            SetFileAttributesA(Path("draft.txt").c_str(), FILE_ATTRIBUTE_READONLY);
        answers = {Press(row.answer)};

        DropFiles(Path("other.txt") + '\0');

        SetFileAttributesA(Path("draft.txt").c_str(), FILE_ATTRIBUTE_NORMAL);
        EXPECT_EQ(Text(), row.textAfter);
        EXPECT_EQ(ReadBytes(Path("draft.txt")), row.fileAfter);
        EXPECT_EQ(Take().size(), row.boxes);
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
    const std::string locked = Path("locked.txt");
    WriteBytes(locked, "locked");
    SetFileAttributesA(locked.c_str(), FILE_ATTRIBUTE_READONLY);
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
               },
               Choose(locked, 3), // Save as over a read-only file
               Press(IDYES)};     // the dialog's question whether to replace it

    Command(CMD_SAVE_AS);
    Command(CMD_OPEN);
    Command(CMD_SAVE_AS);

    EXPECT_EQ(Look(), before);
    EXPECT_EQ(DocumentState.CurrentFileType, FileType::LevelDescription);
    EXPECT_EQ(ReportedError(Take().back()), 5);
    EXPECT_EQ(FolderContents(folder), (std::vector<std::string>{"elsewhere", "locked.txt"}));
    EXPECT_EQ(std::filesystem::current_path().string(), Path("elsewhere"));
}

TEST_F(Document, TheFirstSaveOfANewTextAsksForAFileAndTheTitleThenNamesIt) {
    Editor editor;
    Put("typed", true);
    answers = {Choose(Path("notes"), 3)}; // the dialog adds ".txt"

    Command(CMD_SAVE);
    Put("again", true);
    Command(CMD_SAVE);

    EXPECT_EQ(ReadBytes(Path("notes.txt")), "again");
    EXPECT_EQ(Take().size(), 1u);
    EXPECT_EQ(Title(), "notes.txt - Scribane");
    EXPECT_EQ(Status(0), " " + Path("notes.txt"));
    EXPECT_EQ(RecentValues(), (std::vector<std::string>{"-", "-", "-", "-"})); // loads only
}
