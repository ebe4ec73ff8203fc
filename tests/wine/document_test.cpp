// The document's commands: the recent list, long names, the save prompt and the file dialogs.
#include "support/harness.h"

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

// A full name past 255 characters is refused at once, in one box, never loaded cut short.
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
    Document::DropFiles(test.Path("other.inf") + '\0' + test.Path("draft.txt") + '\0');
}

const std::string kPrompt = "Save text: Would you like to save this text?";

// Each way the text can be dropped, and the answers to the prompt. The text is "changed", in
// draft.txt holding "draft"; other.inf, a level description of "other", is the recent entry "b",
// and the first of two files dropped: reached by name, it is read as one.
struct Drop {
    const char* name;
    std::function<void(Document& test)> drop;
    bool modified = true;
    int answer = IDCANCEL;
    bool saveFails = false;
    std::string text = "changed"; // in the editor afterwards
    std::string file = "draft";   // in draft.txt afterwards
    std::vector<std::string> boxes = {kPrompt};
};

void Exit(Document&) {
    Document::Command(CMD_EXIT);
    for (MSG message; PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE);)
        DispatchMessageA(&message);
}

// Asked again while its prompt is up, the editor refuses the end of the session at once.
void EndSession(Document& test) {
    LRESULT again = -1;
    test.answers = {[&](HWND prompt) {
        again = SendMessageA(MainWindow, WM_QUERYENDSESSION, 0, 0);
        Press(IDCANCEL)(prompt);
    }};
    EXPECT_FALSE(SendMessageA(MainWindow, WM_QUERYENDSESSION, 0, 0));
    EXPECT_FALSE(again);
}

void OpenRecent(Document&) {
    Document::Command(CMD_RECENT_1 + 1);
}

const std::string kDenied = "Runtime error 5\ndraft.txt: Access denied.";

const Drop kDrops[] = {
    {.name = "New, cancelled", .drop = [](Document&) { Document::Command(CMD_NEW); }},
    {.name = "Open, cancelled", .drop = [](Document&) { Document::Command(CMD_OPEN); }},
    {.name = "the end of the session, cancelled", .drop = EndSession},
    {.name = "File > Exit, cancelled", .drop = Exit},
    {.name = "the recent entry, No", .drop = OpenRecent, .answer = IDNO, .text = "other"},
    {.name = "a drop, Yes", .drop = DropOther, .answer = IDYES, .text = "other", .file = "changed"},
    {.name = "Yes, save fails",
     .drop = DropOther,
     .answer = IDYES,
     .saveFails = true,
     .boxes = {kPrompt, kDenied}},
    {.name = "unmodified, not asked",
     .drop = DropOther,
     .modified = false,
     .text = "other",
     .boxes = {}},
};

TEST_F(Document, TheSavePromptGuardsEveryWayTheTextIsDroppedAndItsAnswerDecides) {
    WriteBytes(Path("other.inf"), "\x11\0\0\0other\0"s);
    SetValue(kOwnKey, "b", Path("other.inf"));
    Editor editor;
    for (const Drop& row : kDrops) {
        SCOPED_TRACE(row.name);
        WriteBytes(Path("draft.txt"), "draft");
        DocumentState.CurrentFileName = Path("draft.txt");
        DocumentState.CurrentFileType = kText;
        Put("changed", row.modified);
        SetFileAttributesA(Path("draft.txt").c_str(),
                           row.saveFails ? FILE_ATTRIBUTE_READONLY : FILE_ATTRIBUTE_NORMAL);
        answers = {Press(row.answer)};

        row.drop(*this);

        SetFileAttributesA(Path("draft.txt").c_str(), FILE_ATTRIBUTE_NORMAL);
        EXPECT_EQ(Text(), row.text);
        EXPECT_EQ(ReadBytes(Path("draft.txt")), row.file);
        EXPECT_EQ(Take(), row.boxes);
    }
}

// Save as starts on the filter of the document's type, Open on the text filter; cancelled, they
// change nothing. With the level filter Open reads a level description.
TEST_F(Document, TheFileDialogsStartOnTheirFiltersAndCancelledChangeNothing) {
    WriteBytes(Path("level.inf"), "\x11\0\0\0abc\0"s);
    Editor editor;
    DocumentState.CurrentFileType = kLevel;
    Put("edited", true);
    const std::vector<std::string> before = Look();
    answers = {Choose(Path("other.txt"), 4, IDCANCEL), // Save as, cancelled after a choice
               Press(IDNO),                            // Open's save prompt
               Choose(Path("level.inf"), 2, IDCANCEL)};

    Command(CMD_SAVE_AS);
    Command(CMD_OPEN);

    EXPECT_EQ(Look(), before);
    EXPECT_EQ(FolderContents(folder), std::vector<std::string>{"level.inf"});
    EXPECT_EQ(Take(), (std::vector<std::string>{"Save As: 2|", kPrompt, "Open: 3|"}));
    answers = {Press(IDNO), Choose(Path("level.inf"), 2)};
    Command(CMD_OPEN);
    EXPECT_EQ(Text(), "abc");
}
