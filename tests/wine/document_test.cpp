// The document's commands: files reached by name, the recent list, the save prompt, and the Open
// and Save as dialogs.
#include "support/harness.h"

#include "app/main_window.h"

struct Document : EditorTest {
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
    {"255 characters are kept, 300 left out rather than cut into another file's name",
     {},
     {kLong, "C:\\" + std::string(297, 'x')},
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
     kLevel, "\x11\0\0\0abc!\0"s},
    {"a recent entry", ByName::RecentEntry, "lvl.inf", "\x11\0\0\0abc\0"s, kLevel,
     "\x11\0\0\0abc!\0"s},
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

// A name whose full form is longer than 255 characters is refused before anything else: in one
// box however long the name, and never loaded under the name cut short.
TEST_F(Document, ANameLongerThan255CharactersIsRefusedBeforeTheSavePrompt) {
    SetCurrentDirectoryA(folder.c_str());
    const std::string relative = std::string(236, 's') + ".txt";         // past 255 with the folder
    const std::string dropped = "C:\\" + std::string(253, 'n') + ".txt"; // 260 characters
    WriteBytes(Path(relative).substr(0, 255), "the file under the name cut short");
    Editor editor("scribane.exe " + relative);
    EXPECT_EQ(DocumentState.CurrentFileName, "(Unsaved)");
    Put("changed", true);

    DropFiles(dropped + '\0');

    EXPECT_EQ(Text(), "changed");
    EXPECT_EQ(Take(), (std::vector<std::string>{
                          "Runtime error 206\n" + relative + ": File name is too long.",
                          "Runtime error 206\n" + dropped + ": File name is too long."}));
}

void DropOther(Document& test) {
    Document::DropFiles(test.Path("other.txt") + '\0');
}

const std::string kPrompt = "Save text: Would you like to save this text?";

// Each way the text can be dropped, and the answers to the prompt. The text is "changed", in
// draft.txt holding "draft"; other.txt, holding "other", is the recent entry "b".
struct Drop {
    const char* name;
    std::function<void(Document& test)> drop;
    bool modified = true;
    int answer = IDCANCEL;
    bool saveFails = false;
    std::string textAfter = "changed";
    std::string fileAfter = "draft";
    std::vector<std::string> boxes = {kPrompt};
};

const Drop kDrops[] = {
    {.name = "New, cancelled", .drop = [](Document&) { Document::Command(CMD_NEW); }},
    {.name = "Open, cancelled", .drop = [](Document&) { Document::Command(CMD_OPEN); }},
    {.name = "the end of the session, cancelled",
     .drop = [](Document&) { EXPECT_FALSE(SendMessageA(MainWindow, WM_QUERYENDSESSION, 0, 0)); }},
    {.name = "File > Exit, cancelled",
     .drop =
         [](Document&) {
             Document::Command(CMD_EXIT);
             for (MSG message; PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE);)
                 DispatchMessageA(&message);
         }},
    {.name = "a drop, No", .drop = DropOther, .answer = IDNO, .textAfter = "other"},
    {.name = "a drop, Yes",
     .drop = DropOther,
     .answer = IDYES,
     .textAfter = "other",
     .fileAfter = "changed"},
    {.name = "a drop, Yes with a save that fails",
     .drop = DropOther,
     .answer = IDYES,
     .saveFails = true,
     .boxes = {kPrompt, "Runtime error 5\ndraft.txt: Access denied."}},
    {.name = "a drop of unmodified text, not asked",
     .drop = DropOther,
     .modified = false,
     .textAfter = "other",
     .boxes = {}},
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
        SetFileAttributesA(Path("draft.txt").c_str(),
                           row.saveFails ? FILE_ATTRIBUTE_READONLY : FILE_ATTRIBUTE_NORMAL);
        answers = {Press(row.answer)};

        row.drop(*this);

        SetFileAttributesA(Path("draft.txt").c_str(), FILE_ATTRIBUTE_NORMAL);
        EXPECT_EQ(Text(), row.textAfter);
        EXPECT_EQ(ReadBytes(Path("draft.txt")), row.fileAfter);
        EXPECT_EQ(Take(), row.boxes);
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
    EXPECT_EQ(Take(), std::vector{kPrompt});
    EXPECT_EQ(reasonsAtThePrompt, std::vector<std::wstring>{L"Unsaved text in Scribane"});
    EXPECT_EQ(shutdownReasons, (std::vector<std::wstring>{L"Unsaved text in Scribane", L"gone"}));
}

// Save as starts on the filter of the document's type, Open on the text filter; cancelled, or
// refused by the dialog itself, they change nothing, nor the current folder. Open with the level
// description filter then reads the file as one.
TEST_F(Document, TheFileDialogsStartOnTheirFiltersAndCancelledChangeNothing) {
    CreateDirectoryA(Path("elsewhere").c_str(), nullptr);
    SetCurrentDirectoryA(Path("elsewhere").c_str()); // where the dialogs must leave it
    WriteBytes(Path("level.inf"), "\x11\0\0\0abc\0"s);
    Editor editor;
    DocumentState.CurrentFileType = kLevel;
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
    EXPECT_EQ(FolderContents(folder), (std::vector<std::string>{"elsewhere", "level.inf"}));
    EXPECT_EQ(std::filesystem::current_path().string(), Path("elsewhere"));
    EXPECT_EQ(Take(), (std::vector<std::string>{"Save As: 2|", kPrompt, "Open: 3|",
                                                ": File does not exist"})); // Wine's
    answers = {Press(IDNO), Choose(Path("level.inf"), 2)};
    Command(CMD_OPEN);
    EXPECT_EQ(Text(), "abc");
}
