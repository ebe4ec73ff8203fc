// The document's commands: files reached by name, the recent list, the save prompt, and the Open
// and Save as dialogs.
#include "support/harness.h"

#include "app/main_window.h"

namespace {

// What the editor told Windows about a session that waits for it.
std::vector<std::string> shutdownReasons;

BOOL WINAPI RecordReason(HWND window, LPCWSTR reason) {
    const std::wstring text(reason);
    shutdownReasons.push_back(std::string(window == MainWindow ? "main window: " : "?: ") +
                              std::string(text.begin(), text.end()));
    return TRUE;
}

BOOL WINAPI RecordReasonGone(HWND window) {
    shutdownReasons.push_back(window == MainWindow ? "main window: gone" : "?: gone");
    return TRUE;
}

} // namespace

struct Document : Suite {};

TEST_F(Document, RecentListRows) {
    enum { kKeep, kNoKey, kKeyGoesAfterStart };
    const auto lists = [&](std::vector<std::string> before, std::vector<std::string> loads, int key,
                           std::string after) {
        RegDeleteTreeA(HKEY_LOCAL_MACHINE, kOwnKey);
        key == kNoKey ? void() : SetValue(kOwnKey, "EersteKeer", ""); // the key, without a greeting
        for (size_t i = 0; i < before.size(); ++i)
            SetValue(kOwnKey, std::string(1, char('a' + i)).c_str(), before[i]);
        Editor editor;
        key == kKeyGoesAfterStart ? void(RegDeleteTreeA(HKEY_LOCAL_MACHINE, kOwnKey)) : void();
        for (const std::string& path : loads) // as a load records it
            AddRecentFile(path), RefreshRecentFileItems();
        const std::string menu = MenuText(FileMenu); // the values, then the block in the menu
        EXPECT_EQ(Look() + "|" + menu.substr(52, menu.size() - 66),
                  "|saved|(Unsaved)|0|Scribane|(Unsaved)||" + after);
    };
    const std::string empty = "108 (Empty) grayed|109 (Empty) grayed|",
                      none = "-|-|-|-|100 (Recent files) grayed|",
                      path = "C:\\" + std::string(200, 'f') + "\\",
                      q = "C:\\" + std::string(297, 'q');
    lists({}, {}, kKeep, none);
    lists({"", "C:\\b", "C:\\c"}, {}, kKeep, "|C:\\b|C:\\c|-|100 (Recent files) grayed|");
    lists({"C:\\G\\credits.txt", "x.inf", ""}, {}, kKeep,
          "C:\\G\\credits.txt|x.inf||-|106 credits.txt|107 x.inf|" + empty);
    lists({}, {"C:\\Tom&Jerry.txt"}, kKeep,
          "C:\\Tom&Jerry.txt||||106 Tom&&Jerry.txt|107 (Empty) grayed|" + empty);
    lists({"C:\\A", "C:\\p", "C:\\q", "C:\\d"}, {"C:\\A", "C:\\a", "C:\\A"}, kKeep, // as loaded
          "C:\\A|C:\\a|C:\\A|C:\\p|106 A|107 a|108 A|109 p|");
    const std::string e = std::string(51, 'e'); // 255 characters are kept, 300 left out
    lists({}, {path + e, path + std::string(96, 'l')}, kKeep,
          path + e + "||||106 " + e + "|107 (Empty) grayed|" + empty);
    lists({q}, {"C:\\n"}, kKeep,
          "C:\\n|" + q + "|||106 n|107 (Empty) grayed|" + empty); // too long to show
    lists({}, {"C:\\x"}, kNoKey, none);
    lists({"C:\\a"}, {"C:\\x"}, kKeyGoesAfterStart,
          "-|-|-|-|106 (Empty) grayed|107 (Empty) grayed|" + empty);
}

TEST_F(Document, TheLayoutComesFromTheNameHoweverTheFileIsReached) {
    SetCurrentDirectoryA(folder.c_str());
    for (std::string way : {"command line", "recent entry", "drop"})
        for (auto [name, bytes, saved] :
             {std::tuple{"lvl.inf", "\x11\0\0\0abc\0"s, "\x11\0\0\0abc!\0"s},
              {"UP.INF", "\x11\0\0\0abc\0"s, "\x11\0\0\0abc!\0"s},
              {"credits.txt", "abc"s, "abc!"s}}) {
            WriteBytes(Path(name), bytes);
            SetValue(kOwnKey, "a", Path(name));
            Editor editor(way == "command line" ? "scribane.exe "s + name
                                                : "scribane.exe"); // relative
            way == "recent entry" ? Command(CMD_RECENT_1) : void();
            way == "drop" ? void(DropFiles(Path(name) + '\0' + Path("other.txt") + '\0')) : void();
            const std::string look = Look();
            Put("abc!", true);
            Command(CMD_SAVE);
            EXPECT_EQ(look + ReadBytes(Path(name)),
                      "abc|saved|" + Path(name) + (saved.size() > 4 ? "|2|" : "|0|") + name +
                          " - Scribane| " + Path(name) + "|\t|" + Path(name) + "|-|-|-" + saved);
        }
    // A failed load by name is reported and changes nothing.
    CreateDirectoryA(Path("folder.txt").c_str(), nullptr);
    SetValue(kOwnKey, "b", Path("gone.txt"));
    Editor editor;
    Put("unsaved", false);
    const std::string before = Look();
    Command(CMD_RECENT_1 + 1);
    EXPECT_EQ(GlobalSize(DropFiles(Path("folder.txt") + '\0')), 0u);
    EXPECT_EQ(Look() + std::to_string(ReportedError(seen.at(0)) * 10 + ReportedError(seen.at(1))),
              before + "25");
}

TEST_F(Document, CommandLineNames) {
    std::string nest = folder; // a folder of 246 characters, holding "name.txt" at 255
    for (size_t room; (room = 246 - nest.size()) > 0; CreateDirectoryA(nest.c_str(), nullptr))
        nest += "\\" + std::string(room - 1 > 100 ? 60 : room - 1, 'f');
    WriteBytes(nest + "\\name.txt", "name"), WriteBytes(nest + "\\abcdefgh.txt", "");
    SetCurrentDirectoryA(nest.c_str());
    std::string looks; // 255 characters load; 256, or as many once made absolute, are refused
    for (std::string name : {"\"" + nest + "\\name.txt\"", "\"" + nest + "\\name.txtx\"",
                             "abcdefgh.txt"s, "\"\" name.txt"s}) {
        Editor editor("scribane.exe " + name);
        looks += Text() + "|" + Status(0) + "|" +
                 std::to_string(seen.size() ? ReportedError(Take()[0]) : 0) + "\n";
    }
    EXPECT_EQ(looks,
              "name| " + nest + "\\name.txt|0\n|(Unsaved)|206\n|(Unsaved)|206\n|(Unsaved)|0\n");
}

TEST_F(Document, TheSavePromptGuardsEveryWayTheTextIsDropped) {
    enum { kNew, kOpen, kRecent, kDrop, kShutdown, kFails = 100, kNotModified };
    const std::string draft = Path("draft.txt"), other = Path("other.txt");
    WriteBytes(other, "other");
    Editor editor;
    const Box prompt("Save text", "Would you like to save this text?",
                     std::vector{-IDYES, IDNO, IDCANCEL}, MainWindow,
                     LoadIconA(nullptr, IDI_QUESTION));
    for (int way : {kNew, kOpen, kRecent, kDrop, kShutdown})
        for (int reply : {IDCANCEL, IDNO, IDYES, int(kFails), int(kNotModified)}) {
            WriteBytes(draft, "draft");
            ASSERT_TRUE(LoadDocument(draft, FileType::Text));
            SetValue(kOwnKey, "b", other);
            Put("changed", reply != kNotModified);
            SetFileAttributesA(draft.c_str(), reply == kFails ? FILE_ATTRIBUTE_READONLY : 0);
            answers = {Press(reply == kFails ? IDYES : reply), Choose(other, 3)};
            reply == kNotModified ? answers.pop_front() : void();
            HGLOBAL drop = nullptr;
            LRESULT endSession = 0;
            switch (way) {
            case kNew: Command(CMD_NEW); break;
            case kOpen: Command(CMD_OPEN); break;
            case kRecent: Command(CMD_RECENT_1 + 1); break;
            case kDrop: drop = DropFiles(other + '\0' + draft + '\0'); break; // the first file only
            case kShutdown: endSession = SendMessageA(MainWindow, WM_QUERYENDSESSION, 0, 0); break;
            }
            SetFileAttributesA(draft.c_str(), FILE_ATTRIBUTE_NORMAL);
            const bool goesOn = reply != IDCANCEL && reply != kFails,
                       kept = reply == IDYES || reply == kNotModified;
            const std::string text = !goesOn || way == kShutdown ? "changed"
                                     : way == kNew               ? ""
                                                                 : "other";
            std::string boxes; // the prompt, the report of a failed save, the Open dialog
            for (const Box& box : Take())
                boxes +=
                    box.caption + (box.caption == "Save text" && !(box == prompt) ? "?|" : "|");
            EXPECT_EQ(Text() + (Modified() ? "+" : "") + ReadBytes(draft) + "|" + boxes +
                          std::to_string((way != kShutdown || endSession == goesOn) &&
                                         (way != kDrop || !GlobalSize(drop))),
                      text + (text == "changed" && !kept ? "+" : "") +
                          (reply == IDYES ? "changed|" : "draft|") +
                          (reply == kNotModified ? "" : "Save text|") +
                          (reply == kFails ? "Error|" : "") +
                          (way == kOpen && goesOn ? "Open|1" : "1"));
        }
}

TEST_F(Document, FileDialogsStartOnTheirFilterAndChangeOnlyWhatWasChosen) {
    const std::string level = Path("level.inf"), elsewhere = Path("elsewhere"),
                      locked = Path("locked.txt");
    WriteBytes(level, "\x11\0\0\0abc\0"s);
    WriteBytes(locked, "locked");
    SetFileAttributesA(locked.c_str(), FILE_ATTRIBUTE_READONLY);
    CreateDirectoryA(elsewhere.c_str(), nullptr);
    SetCurrentDirectoryA(elsewhere.c_str()); // where the dialogs must leave it
    Editor editor;
    DocumentState.CurrentFileType = FileType::LevelDescription;
    answers = {Choose(level, 2)}; // Open starts on Text whatever the document's type
    Command(CMD_OPEN);
    EXPECT_EQ(Look(),
              "abc|saved|" + level + "|2|level.inf - Scribane| " + level + "|\t|" + level + "|||");
    for (int type : {0, 1, 2, 3, 4}) { // Save as starts on the document's type, or on Text
        DocumentState.CurrentFileType = FileType(type);
        answers.push_back(Choose("", 0, IDCANCEL));
        Command(CMD_SAVE_AS);
    }
    // Cancelled after choosing a filter and a name, a dialog changes nothing; a missing or a
    // read-only file is refused with a box, and the document stays.
    DocumentState.CurrentFileType = FileType::LevelDescription;
    Put("edited", true);
    const std::string before = Look();
    answers = {Choose(Path("other.txt"), 4, IDCANCEL),
               Press(IDNO),
               Choose(Path("missing.txt"), 3),
               [](HWND box) { Press(IDOK)(box), Press(IDCANCEL)(GetWindow(box, GW_OWNER)); },
               Choose(locked, 3),
               Press(IDYES)};
    Command(CMD_SAVE_AS);
    Command(CMD_OPEN);
    Command(CMD_SAVE_AS);
    // The dialogs' starting filters, the prompt, the refusals' owners, the report.
    std::string boxes = Look();
    for (const Box& box : seen)
        boxes += box.text.substr(0, 2) + (box.owner == MainWindow ? " " : "? ");
    EXPECT_EQ(boxes + std::to_string(ReportedError(Take().back())),
              before + "3| 3| 1| 2| 3| 4| 2| Wo 3| Fi? 2| Fi? Ru? 5");
    EXPECT_EQ(FolderContents(folder),
              (std::vector<std::string>{"elsewhere", "level.inf", "locked.txt"}));
    // A name without extension gets ".txt"; the title names the file saved, the recent list keeps
    // the loads; the first Save of a new text asks for a file, the next does not.
    answers = {Choose(Path("notes"), 3), Choose(Path("typed.txt"), 3)};
    Command(CMD_SAVE_AS);
    const std::string saved = Look() + "|" + ReadBytes(Path("notes.txt"));
    Command(CMD_NEW);
    const std::string fresh = Look();
    Put("typed", true);
    Command(CMD_SAVE);
    Put("again", true);
    Command(CMD_SAVE);
    EXPECT_EQ(saved + "\n" + fresh + "|" + ReadBytes(Path("typed.txt")) + "|" + Title() + "|" +
                  std::filesystem::current_path().string() + std::to_string(Take().size()),
              "edited|saved|" + Path("notes.txt") + "|3|notes.txt - Scribane| " +
                  Path("notes.txt") + "|\t|" + level +
                  "||||edited\n|saved|(Unsaved)|3|Scribane| (Unsaved)|\t|" + level +
                  "||||again|typed.txt - Scribane|" + elsewhere + "2");
}

TEST_F(Document, WhileTheEndOfSessionPromptIsUpWindowsKnowsWhyAndASecondQueryIsRefused) {
    Editor editor;
    Put("changed", true);
    ShutdownReason = {RecordReason, RecordReasonGone};
    shutdownReasons.clear();
    std::vector<std::string> reasonsAtThePrompt;
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
    EXPECT_EQ(reasonsAtThePrompt,
              std::vector<std::string>{"main window: Unsaved text in Scribane"});
    EXPECT_EQ(shutdownReasons, (std::vector<std::string>{"main window: Unsaved text in Scribane",
                                                         "main window: gone"}));
}
