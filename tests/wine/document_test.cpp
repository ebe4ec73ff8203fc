// Files on disk: what loading and saving leave there byte for byte, every way a load or a save can
// fail, and files reached by name: the recent list, the command line and dropped files.
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
    static HANDLE Hold(std::string path, DWORD share = 0) {
        return CreateFileA(path.c_str(), GENERIC_READ, share, nullptr, OPEN_EXISTING, 0, nullptr);
    }
};

TEST_F(Document, LoadedFilesSaveBackInTheirLayoutAndLeaveNothingOpen) {
    Editor editor;
    const auto saves = [&](std::string bytes, FileType type, std::string saved, size_t warnings) {
        WriteBytes(Path("in"), bytes);
        ASSERT_TRUE(LoadDocument(Path("in"), type));
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
    // The report: the failing place on a line of its own, then its callers'
    // and an empty line; the box keeps the user out of the main window, and afterwards the editor
    // has the keys.
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
    const auto none = [](auto) {};
    fails("x", FileType::Text, 2, [](auto file) { DeleteFileA(file.c_str()); });
    fails("y", FileType::Text, 5,
          [](auto file) { DeleteFileA(file.c_str()), CreateDirectoryA(file.c_str(), nullptr); });
    fails("z", FileType::Credits, 5, [&](auto file) { held = Hold(file); });
    fails("\x11\x11", FileType::LevelDescription, 204, none);
    fails("\x11\x11\x11", FileType::LevelDescription, 100, none);
    fails("abc", FileType::AllFiles, 8, [](auto) { FileCalls.SetEditorText = RefuseText; });
    fails("", FileType::Text, 8, [](auto file) { // a sparse file of 2.5 GB
        HANDLE sparse =
            CreateFileA(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        SetFilePointerEx(sparse, LARGE_INTEGER{.QuadPart = 2560LL << 20}, nullptr, FILE_BEGIN);
        SetEndOfFile(sparse), CloseHandle(sparse);
    });
    // Read-only files, and files others read with sharing, load.
    WriteBytes(Path("shared.txt"), "shared");
    SetFileAttributesA(Path("shared.txt").c_str(), FILE_ATTRIBUTE_READONLY);
    held = Hold(Path("shared.txt"), FILE_SHARE_READ);
    EXPECT_TRUE(LoadDocument(Path("shared.txt"), FileType::Text) && CloseHandle(held));
    EXPECT_EQ(Text() + std::to_string(seen.size()), "shared0");
}

using Names = Suite;

TEST_F(Names, RecentListRows) {
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
    lists({"C:\\x", "C:\\b", "C:\\c", "C:\\d"}, {"C:\\x", "C:\\X"}, kKeep,
          "C:\\X|C:\\x|C:\\b|C:\\c|106 X|107 x|108 b|109 c|");
    lists({"C:\\o", "C:\\p", "C:\\q"}, {"C:\\A", "C:\\B", "C:\\A"}, kKeep,
          "C:\\A|C:\\B|C:\\A|C:\\o|106 A|107 B|108 A|109 o|");
    const std::string e = std::string(51, 'e'), l = std::string(51, 'l'); // 255 characters kept
    lists({}, {path + e, path + l + std::string(45, 'l'), path + l + std::string(45, 'l')}, kKeep,
          path + l + "|" + path + e + "|||106 " + l + "|107 " + e + "|" + empty);
    lists({q}, {"C:\\n"}, kKeep,
          "C:\\n|" + q + "|||106 n|107 (Empty) grayed|" + empty); // too long to show
    lists({}, {"C:\\x"}, kNoKey, none);
    lists({"C:\\a"}, {"C:\\x"}, kKeyGoesAfterStart,
          "-|-|-|-|106 (Empty) grayed|107 (Empty) grayed|" + empty);
}

TEST_F(Names, TheLayoutComesFromTheNameHoweverTheFileIsReached) {
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
            way == "drop" ? void(DropFiles({Path(name), Path("other.txt")})) : void();
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
    EXPECT_EQ(GlobalSize(DropFiles({Path("folder.txt")})), 0u);
    EXPECT_EQ(Look() + std::to_string(ReportedError(seen.at(0)) * 10 + ReportedError(seen.at(1))),
              before + "25");
}

TEST_F(Names, CommandLineNames) {
    std::string nest = folder; // a folder of 246 characters, holding "name.txt" at 255
    for (size_t room; (room = 246 - nest.size()) > 0; CreateDirectoryA(nest.c_str(), nullptr))
        nest += "\\" + std::string(room - 1 > 100 ? 60 : room - 1, 'f');
    for (const char* name : {"name", "abcdefgh"})
        WriteBytes(nest + "\\" + name + ".txt", name);
    const auto starts = [&](std::string arguments, std::string current, std::string look) {
        SetCurrentDirectoryA(current.c_str());
        Editor editor("scribane.exe " + arguments);
        EXPECT_EQ(Text() + "|" + Status(0) + "|" +
                      std::to_string(seen.size() ? ReportedError(Take()[0]) : 0),
                  look);
    };
    starts("\"" + nest + "\\name.txt\"", folder, "name| " + nest + "\\name.txt|0");
    starts("\"" + nest + "\\name.txtx\"", folder, "|(Unsaved)|206"); // its first 255 name a file
    starts("abcdefgh.txt", nest, "|(Unsaved)|206");                  // as long once made absolute
    starts("missing.txt", folder, "|(Unsaved)|2");
    starts("\"\" " + nest + "\\name.txt", folder, "|(Unsaved)|0");
}
