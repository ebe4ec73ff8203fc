// Files: what loading and saving leave on disk byte for byte, every way a load or a save can fail,
// files reached by name, the save prompt, the questions before a cut file is saved over, and the
// Open and Save as dialogs.
#include "support/harness.h"

struct Document : Suite {
    // A replace that fails halfway: after deleting the target (1176), or after moving it to the
    // backup name it was given, or elsewhere without one (1177).
    static BOOL WINAPI ReplaceDeleting(LPCSTR target, LPCSTR, LPCSTR, DWORD, LPVOID, LPVOID) {
        return DeleteFileA(target), SetLastError(1176), FALSE;
    }
    static BOOL WINAPI ReplaceMoving(LPCSTR target, LPCSTR, LPCSTR backup, DWORD, LPVOID, LPVOID) {
        MoveFileExA(target, backup ? backup : "C:\\moved away", MOVEFILE_REPLACE_EXISTING);
        return SetLastError(1177), FALSE;
    }
    static BOOL WINAPI RefuseText(HWND, LPCSTR) { return FALSE; }
    static HANDLE Hold(std::string path, DWORD share = 0, DWORD access = GENERIC_READ) {
        return CreateFileA(path.c_str(), access, share, nullptr, OPEN_EXISTING, 0, nullptr);
    }
};

TEST_F(Document, LoadedFilesSaveBackInTheirLayoutAndLeaveNothingOpen) {
    Editor editor;
    const auto saves = [&](std::string bytes, FileType type, std::string saved, size_t warnings) {
        WriteBytes(Path("in"), bytes);
        HANDLE reader = Hold(Path("in"), FILE_SHARE_READ); // another program reading it
        ASSERT_TRUE(LoadDocument(Path("in"), type) && CloseHandle(reader));
        DeleteFileA(Path("out").c_str());
        DocumentState.CurrentFileName = Path("out"); // a file that is not there yet: nothing to ask
        Command(CMD_SAVE);
        EXPECT_EQ(ReadBytes(Path("out")) + std::to_string(Take().size()) + Status(0) + Status(1) +
                      (Modified() ? "+" : ""),
                  saved + std::to_string(warnings) + " " + Path("out") + "\t");
        for (const char* name : {"in", "out"}) // opened unshared, as nobody holds them
            EXPECT_TRUE(CloseHandle(Hold(Path(name))));
    };
    std::string binary = "\r\n";
    for (int i = 0; i < 70000; ++i)
        binary += char(i % 255 + 1);
    saves(binary, FileType::Text, binary, 0);
    saves("one\rtwo\n", FileType::Credits, "one\rtwo\n", 0);
    saves("\x11\0\0\0l 1\r\nl 2\0"s, FileType::LevelDescription, "\x11\0\0\0l 1\r\nl 2\0"s, 0);
    saves("\x11\0\0\0A"s, FileType::LevelDescription, "\x11\0\0\0A\0"s, 0);
    saves("\x11\0\0\0"s, FileType::LevelDescription, "", 0);
    saves("level\r\ntext", FileType::LevelDescription, "\x11\0\0\0l\r\ntext\0"s, 1);
    saves("before\0after"s, FileType::None, "before", 1);
    DeleteFileA(Path("out").c_str()); // a file deleted since it was loaded is written anew
    Command(CMD_SAVE);
    EXPECT_EQ(ReadBytes(Path("out")) + std::to_string(Take().size()), "before0");
    EXPECT_EQ(FolderContents(folder), (std::vector<std::string>{"in", "out"}));
}

TEST_F(Document, AFailedSaveLeavesTheFileAndTheDocument) {
    HANDLE held = INVALID_HANDLE_VALUE;
    const std::string text(200000, 'z');
    Editor editor;
    const auto fails = [&](std::string folder, int error, std::function<void(std::string)> fault) {
        const std::string target = folder + "\\x.txt";
        CreateDirectoryA(folder.c_str(), nullptr);
        WriteBytes(target, "old");
        ASSERT_TRUE(LoadDocument(target, FileType::Text));
        Put(text, true);
        fault(target);
        const std::string before = Look();
        Command(CMD_SAVE);
        EXPECT_EQ(Look(), before) << folder;
        CloseHandle(std::exchange(held, INVALID_HANDLE_VALUE));
        ASSERT_EQ(seen.size(), 1u);
        EXPECT_TRUE(ReportedError(seen[0]) == error ||
                    (error == 112 && ReportedError(Take()[0]) == 101)); // or short
        const std::string bytes = ReadBytes(target); // never neither the old nor the new
        EXPECT_TRUE(bytes == (error == 3 ? "" : "old") || (error > 1000 && bytes == text));
        EXPECT_EQ(FolderContents(folder), std::vector<std::string>(error != 3, "x.txt"));
        SetFileAttributesA(target.c_str(), FILE_ATTRIBUTE_NORMAL);
        FileCalls = {};
        Command(CMD_SAVE); // without the fault the same save goes through
        EXPECT_EQ(ReadBytes(target) == text, error != 3 && error != 112) << folder;
        DeleteFileA(target.c_str()), Take();
    };
    fails(Path("read-only"), 5,
          [](auto path) { SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_READONLY); });
    fails(Path("held"), 5, [&](auto path) { held = Hold(path); });
    fails(Path("gone"), 3,
          [this](auto path) { DeleteFileA(path.c_str()), RemoveDirectoryA(Path("gone").c_str()); });
    fails(Path("deleting"), 1176, [](auto) { FileCalls.Replace = ReplaceDeleting; });
    fails(Path("moving"), 1177, [](auto) { FileCalls.Replace = ReplaceMoving; });
    if (const char* drive = std::getenv("SCRIBANE_SMALL_DRIVE")) // 64 KiB, mounted by scripts/test
        fails(drive, 112, [](auto) {});
    // The report: the failing place on a line of its own, then its callers' and an empty line; the
    // box keeps the user out of the main window, and afterwards the editor has the keys.
    DocumentState.CurrentFileName = Path("missing\\x.txt");
    SetFocus(nullptr);
    Command(CMD_SAVE);
    ASSERT_EQ(seen.size(), 1u);
    const std::string report = seen[0].text, place = report.substr(report.find("0x") + 2, 8);
    EXPECT_EQ(report.substr(report.find("\r\n"), 20) + report.substr(report.size() - 4),
              "\r\n  0x" + place + "\r\n  0x\r\n\r\n");
    EXPECT_TRUE(ReportedError(seen[0]) == 3 && !seen[0].mainWindowEnabled);
    EXPECT_TRUE(GetActiveWindow() == MainWindow && GetFocus() == EditorControl);
}

TEST_F(Document, AFailedLoadChangesNothing) {
    HANDLE held = INVALID_HANDLE_VALUE;
    WriteBytes(Path("kept.inf"), "\x11\0\0\0kept\0"s);
    SetValue(kOwnKey, "b", "C:\\older.txt");
    Editor editor;
    ASSERT_TRUE(LoadDocument(Path("kept.inf"), FileType::LevelDescription));
    Put("kept, edited", true);
    const std::string before = Look();
    const auto fails = [&](std::string bytes, FileType type, int error,
                           std::function<void(std::string)> fault) {
        const std::string file =
            Path("load " + std::to_string(error * 100 + bytes.size() * 10 + int(type)));
        WriteBytes(file, bytes);
        fault(file);
        EXPECT_FALSE(LoadDocument(file, type));
        CloseHandle(std::exchange(held, INVALID_HANDLE_VALUE));
        FileCalls = {};
        EXPECT_EQ(std::to_string(seen.size() == 1 ? ReportedError(Take()[0]) : -2) + Look(),
                  std::to_string(error) + before);
    };
    fails("x", FileType::Text, 2, [](auto file) { DeleteFileA(file.c_str()); });
    fails("y", FileType::Text, 5,
          [](auto file) { DeleteFileA(file.c_str()), CreateDirectoryA(file.c_str(), nullptr); });
    fails("z", FileType::Credits, 5, [&](auto file) { held = Hold(file); });
    fails("\x11\x11", FileType::LevelDescription, 204, [](auto) {});
    fails("\x11\x11\x11", FileType::LevelDescription, 100, [](auto) {});
    fails("abc", FileType::AllFiles, 8, [](auto) { FileCalls.SetEditorText = RefuseText; });
    fails("", FileType::Text, 8, [](auto file) { // a sparse file of 2.5 GB
        HANDLE sparse = Hold(file, 0, GENERIC_WRITE);
        SetFilePointerEx(sparse, LARGE_INTEGER{.QuadPart = 2560LL << 20}, nullptr, FILE_BEGIN);
        SetEndOfFile(sparse), CloseHandle(sparse);
    });
}

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

TEST_F(Document, ACutFileWarnsAndAsksBeforeASaveShortensIt) {
    const std::string file = Path("cut.bin");
    const HICON warning = LoadIconA(nullptr, IDI_WARNING);
    Editor editor;
    const auto asks = [&](std::string bytes, FileType type, LoadLoss loss, size_t nul, size_t left,
                          std::string saved) {
        WriteBytes(file, bytes);
        ASSERT_TRUE(LoadDocument(file, type));
        answers = {Press(IDNO), Choose(file, 0), Press(IDYES), Press(IDYES)}; // Save as asks too
        Command(CMD_SAVE);
        std::string boxes = ReadBytes(file) + "|"; // the warning, and the question before each save
        Command(CMD_SAVE_AS);
        Command(CMD_SAVE);            // once saved, nothing more to ask
        for (const Box& box : Take()) // each in the main window's name, with a warning icon
            if (box.caption == "Scribane")
                boxes += box.text + "|" + std::to_string(box.buttons.back()) +
                         (box.owner == MainWindow && box.icon == warning ? "\n" : "?\n");
        const std::string question = SaveLossQuestion(loss, bytes.size(), left) + "|-7\n";
        EXPECT_EQ(boxes + ReadBytes(file),
                  bytes + "|" + LoadLossWarning(loss, nul) + "|-1\n" + question + question + saved);
    };
    asks("Hello\0world"s, FileType::Text, LoadLoss::CutAtNul, 5, 5, "Hello");
    asks("\x11\0\0\0ab\0cd\0"s, FileType::LevelDescription, LoadLoss::CutAtNul, 6, 7,
         "\x11\0\0\0ab\0"s);
    asks("Hello world", FileType::LevelDescription, LoadLoss::MissingHeader, 0, 12,
         "\x11\0\0\0o world\0"s);
    asks("Hello\0world"s, FileType::LevelDescription, LoadLoss::CutAtNul, 5, 6, "\x11\0\0\0o\0"s);
    // Through the save prompt, No abandons what asked; Save as to another name asks nothing; a load
    // or New forgets the cut.
    ASSERT_TRUE(LoadDocument(file, FileType::Text));
    Put("o", true);
    answers = {Press(IDYES), Press(IDNO), Choose(Path("copy.txt"), 3)};
    Command(CMD_NEW);
    EXPECT_EQ(Text() + (Modified() ? "+" : ""), "o+");
    Command(CMD_SAVE_AS);
    for (unsigned forget : {unsigned(CMD_NEW), 0u}) {
        WriteBytes(file, "Hello\0world"s);
        ASSERT_TRUE(LoadDocument(file, FileType::Text));
        forget ? Command(forget) : void(LoadDocument(Path("copy.txt"), FileType::Text));
        DocumentState.CurrentFileName = file;
        Command(CMD_SAVE);
    }
    EXPECT_EQ(ReadBytes(file) + ReadBytes(Path("copy.txt")) + std::to_string(Take().size()),
              "oo6"); // 3 warnings
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
