// Files on disk: what loading and saving leave there byte for byte, and every way a load or a save
// can fail, each reported, with the file and the document left as they were.
#include "support/harness.h"

#include "document/document.h"
#include "document/document_file.h"
#include "resources/resource_ids.h"

using namespace std::string_literals;
using Document = Suite;

TEST_F(Document, LoadedFilesSaveBackInTheirLayoutAndLeaveNothingOpen) {
    Editor editor;
    const auto saves = [&](std::string bytes, FileType type, std::string saved, size_t warnings) {
        SCOPED_TRACE(testing::PrintToString(bytes.substr(0, 16)) + " as " +
                     std::to_string(int(type)));
        WriteBytes(Path("in"), bytes);
        ASSERT_TRUE(LoadDocument(Path("in"), type));
        DeleteFileA(Path("out").c_str());
        DocumentState.CurrentFileName = Path("out"); // a file that is not there yet: nothing to ask
        Command(CMD_SAVE);
        EXPECT_EQ(ReadBytes(Path("out")) + std::to_string(Take().size()) + Status(0) + Status(1) +
                      (Modified() ? "+" : ""),
                  saved + std::to_string(warnings) + " " + Path("out") + "\t");
        for (const char* name : {"in", "out"}) // opened unshared, as nobody holds them
            EXPECT_TRUE(CloseHandle(CreateFileA(Path(name).c_str(), GENERIC_WRITE, 0, nullptr,
                                                OPEN_EXISTING, 0, nullptr)));
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

// A replace that fails halfway: after deleting the target (1176), or after moving it to the backup
// name it was given, or elsewhere without one (1177).
static BOOL WINAPI ReplaceDeletingTarget(LPCSTR target, LPCSTR, LPCSTR, DWORD, LPVOID, LPVOID) {
    DeleteFileA(target);
    SetLastError(1176);
    return FALSE;
}

static BOOL WINAPI ReplaceMovingTarget(LPCSTR target, LPCSTR, LPCSTR backup, DWORD, LPVOID,
                                       LPVOID) {
    MoveFileExA(target, backup ? backup : "C:\\moved away", MOVEFILE_REPLACE_EXISTING);
    SetLastError(1177);
    return FALSE;
}

static BOOL WINAPI RefuseText(HWND, LPCSTR) {
    return FALSE;
}

TEST_F(Document, AFailedSaveLeavesTheFileAndTheDocument) {
    HANDLE held = INVALID_HANDLE_VALUE;
    const std::string text(200000, 'z');
    Editor editor;
    const auto fails = [&](std::string folder, int error, std::function<void(std::string)> fault) {
        SCOPED_TRACE(folder);
        const std::string target = folder + "\\x.txt";
        CreateDirectoryA(folder.c_str(), nullptr);
        WriteBytes(target, "old");
        ASSERT_TRUE(LoadDocument(target, FileType::Text));
        Put(text, true);
        fault(target);
        const std::string before = Look();
        Command(CMD_SAVE);
        EXPECT_EQ(Look(), before);
        CloseHandle(std::exchange(held, INVALID_HANDLE_VALUE));
        ASSERT_EQ(seen.size(), 1u);
        EXPECT_TRUE(ReportedError(seen[0]) == error ||
                    (error == 112 && ReportedError(Take()[0]) == 101)); // or short
        const std::string bytes = ReadBytes(target); // never neither the old nor the new
        EXPECT_TRUE(bytes == (error == 3 ? "" : "old") || (error > 1000 && bytes == text))
            << bytes.size();
        EXPECT_EQ(FolderContents(folder), std::vector<std::string>(error != 3, "x.txt"));
        SetFileAttributesA(target.c_str(), FILE_ATTRIBUTE_NORMAL);
        FileCalls = {};
        Command(CMD_SAVE); // without the fault the same save goes through
        EXPECT_EQ(ReadBytes(target) == text, error != 3 && error != 112);
        DeleteFileA(target.c_str());
        Take();
    };
    fails(Path("read-only"), 5,
          [](auto path) { SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_READONLY); });
    fails(Path("held"), 5, [&](auto path) {
        held = CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    });
    fails(Path("gone"), 3,
          [this](auto path) { DeleteFileA(path.c_str()), RemoveDirectoryA(Path("gone").c_str()); });
    fails(Path("deleting"), 1176, [](auto) { FileCalls.Replace = ReplaceDeletingTarget; });
    fails(Path("moving"), 1177, [](auto) { FileCalls.Replace = ReplaceMovingTarget; });
    if (const char* drive =
            std::getenv("SCRIBANE_SMALL_DRIVE")) // 64 KiB, mounted by scripts/test as root
        fails(drive, 112, [](auto) {});
    // The report: the failing place, inside the program, on a line of its own, then its callers'
    // and an empty line; the box keeps the user out of the main window, and afterwards the editor
    // has the keys.
    DocumentState.CurrentFileName = Path("missing\\x.txt");
    SetFocus(nullptr);
    Command(CMD_SAVE);
    ASSERT_EQ(seen.size(), 1u);
    const std::string report = seen[0].text, place = report.substr(report.find("0x") + 2, 8);
    const auto* image = reinterpret_cast<const BYTE*>(GetModuleHandleA(nullptr));
    EXPECT_LT(
        std::strtoul(place.c_str(), nullptr, 16) - DWORD(UINT_PTR(image)),
        PIMAGE_NT_HEADERS(image + PIMAGE_DOS_HEADER(image)->e_lfanew)->OptionalHeader.SizeOfImage);
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
        static int row = 0;
        const std::string file = Path("load " + std::to_string(++row));
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
    fails("z", FileType::Credits, 5, [&](auto f) {
        held = CreateFileA(f.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    });
    fails("\x11", FileType::LevelDescription, 204, none);
    fails("\x11\x11", FileType::LevelDescription, 204, none);
    fails("\x11\x11\x11", FileType::LevelDescription, 100, none);
    fails("abc", FileType::AllFiles, 8, [](auto) { FileCalls.SetEditorText = RefuseText; });
    fails("", FileType::Text, 8, [](auto file) { // a sparse file of 2.5 GB
        HANDLE sparse =
            CreateFileA(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        SetFilePointerEx(sparse, LARGE_INTEGER{.QuadPart = 2560LL << 20}, nullptr, FILE_BEGIN);
        SetEndOfFile(sparse);
        CloseHandle(sparse);
    });
    // Read-only files, and files others read with sharing, load.
    WriteBytes(Path("shared.txt"), "shared");
    SetFileAttributesA(Path("shared.txt").c_str(), FILE_ATTRIBUTE_READONLY);
    held = CreateFileA(Path("shared.txt").c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                       OPEN_EXISTING, 0, nullptr);
    EXPECT_TRUE(LoadDocument(Path("shared.txt"), FileType::Text) && CloseHandle(held));
    EXPECT_EQ(Text() + std::to_string(seen.size()), "shared0");
}
