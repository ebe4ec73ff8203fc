// Files on disk: what loading and saving leave there byte for byte, and every way a load
// or a save can fail, each reported, with the file and the document left as they were.
#include "support/harness.h"

#include "document/document.h"
#include "document/document_file.h"
#include "resources/resource_ids.h"

namespace {

using namespace std::string_literals;
using Document = Suite;

// A replace that fails halfway: after deleting the target (1176), or after moving it to the
// backup name it was given, or elsewhere without one (1177).
BOOL WINAPI ReplaceDeletingTarget(LPCSTR target, LPCSTR, LPCSTR, DWORD, LPVOID, LPVOID) {
    DeleteFileA(target);
    SetLastError(1176);
    return FALSE;
}

BOOL WINAPI ReplaceMovingTarget(LPCSTR target, LPCSTR, LPCSTR backup, DWORD, LPVOID, LPVOID) {
    MoveFileExA(target, backup ? backup : "C:\\moved away", MOVEFILE_REPLACE_EXISTING);
    SetLastError(1177);
    return FALSE;
}

BOOL WINAPI RefuseText(HWND, LPCSTR) {
    return FALSE;
}

} // namespace

TEST_F(Document, LoadedFilesSaveBackInTheirLayoutAndLeaveNothingOpen) {
    Editor editor;
    const DWORD objects = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS) * 1000 +
                          GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS);
    const auto saves = [&](std::string bytes, FileType type, std::string saved, size_t warnings) {
        SCOPED_TRACE(testing::PrintToString(bytes.substr(0, 16)) + " as " +
                     std::to_string(int(type)));
        WriteBytes(Path("in"), bytes);
        ASSERT_TRUE(LoadDocument(Path("in"), type));
        DeleteFileA(Path("out").c_str());
        DocumentState.CurrentFileName = Path("out"); // a new file: nothing to ask
        Command(CMD_SAVE);
        EXPECT_EQ(ReadBytes(Path("out")), saved);
        EXPECT_EQ(Take().size(), warnings);
        EXPECT_EQ(Status(0) + Status(1) + (Modified() ? "modified" : ""), " " + Path("out") + "\t");
        for (const char* name : {"in", "out"}) { // an open sharing nothing finds nobody holding it
            HANDLE alone = CreateFileA(Path(name).c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                                       0, nullptr);
            EXPECT_TRUE(CloseHandle(alone)) << name;
        }
    };
    std::string binary, line(300000, 'w');
    for (int i = 0; i < 1020; ++i)
        binary += char(i % 255 + 1);
    saves("one\ntwo\nthree\n", FileType::Text, "one\ntwo\nthree\n", 0);
    saves("one\rtwo\r\nthree\n\r", FileType::Credits, "one\rtwo\r\nthree\n\r", 0);
    saves(binary, FileType::AllFiles, binary, 0);
    saves(line, FileType::None, line, 0);
    saves("\x11\0\0\0l 1\r\nl 2\0"s, FileType::LevelDescription, "\x11\0\0\0l 1\r\nl 2\0"s, 0);
    saves("\x11\0\0\0A"s, FileType::LevelDescription, "\x11\0\0\0A\0"s, 0);
    saves("\x11\0\0\0"s, FileType::LevelDescription, "", 0);
    saves("level\r\ntext", FileType::LevelDescription, "\x11\0\0\0l\r\ntext\0"s, 1);
    saves("before\0after"s, FileType::AllFiles, "before", 1);
    EXPECT_EQ(GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS) * 1000 +
                  GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS),
              objects);
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
        const auto boxes = Take();
        ASSERT_EQ(boxes.size(), 1u);
        EXPECT_TRUE(ReportedError(boxes[0]) == error ||
                    (error == 112 && ReportedError(boxes[0]) == 101))
            << boxes[0].text;                        // a full disk, or a short write
        const std::string bytes = ReadBytes(target); // never neither the old nor the new
        EXPECT_TRUE(bytes == (error == 3 ? "" : "old") || (error > 1000 && bytes == text))
            << bytes.size();
        EXPECT_EQ(FolderContents(folder), std::vector<std::string>(error != 3, "x.txt"));
        SetFileAttributesA(target.c_str(), FILE_ATTRIBUTE_NORMAL);
        FileCalls = {};
        Command(CMD_SAVE); // and without the fault the same save goes through
        EXPECT_EQ(ReadBytes(target) == text, error != 3 && error != 112);
        DeleteFileA(target.c_str());
        Take();
    };
    fails(Path("read-only"), 5,
          [](auto t) { SetFileAttributesA(t.c_str(), FILE_ATTRIBUTE_READONLY); });
    fails(Path("held"), 5, [&](auto t) {
        held = CreateFileA(t.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    });
    fails(Path("gone"), 3,
          [this](auto t) { DeleteFileA(t.c_str()), RemoveDirectoryA(Path("gone").c_str()); });
    fails(Path("deleting"), 1176, [](auto) { FileCalls.Replace = ReplaceDeletingTarget; });
    fails(Path("moving"), 1177, [](auto) { FileCalls.Replace = ReplaceMovingTarget; });
    if (const char* drive =
            std::getenv("SCRIBANE_SMALL_DRIVE")) // 64 KiB, mounted by scripts/test as root
        fails(drive, 112, [](auto) {});

    // The report: the failing place, inside the program's code, again on a line of its own,
    // its callers' and an empty line; the editor gets the keys back after it.
    Put("text", true);
    DocumentState.CurrentFileName = Path("missing\\x.txt");
    SetFocus(nullptr);
    Command(CMD_SAVE);
    ASSERT_EQ(seen.size(), 1u);
    const std::string report = seen[0].text, place = report.substr(report.find("0x") + 2, 8);
    const auto* image = reinterpret_cast<const BYTE*>(GetModuleHandleA(nullptr));
    const auto* nt = PIMAGE_NT_HEADERS(image + PIMAGE_DOS_HEADER(image)->e_lfanew);
    EXPECT_LT(std::strtoul(place.c_str(), nullptr, 16) - DWORD(UINT_PTR(image)),
              nt->OptionalHeader.SizeOfImage);
    EXPECT_EQ(report.substr(report.find("\r\n"), 20) + report.substr(report.size() - 4),
              "\r\n  0x" + place + "\r\n  0x\r\n\r\n");
    EXPECT_EQ(ReportedError(seen[0]), 3);
    EXPECT_FALSE(seen[0].mainWindowEnabled); // kept out of the main window, though it has no owner
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
        ASSERT_EQ(seen.size(), 1u);
        EXPECT_EQ(ReportedError(Take()[0]), error);
        EXPECT_EQ(Look(), before);
    };
    const auto none = [](auto) {};
    fails("x", FileType::Text, 2, [](auto f) { DeleteFileA(f.c_str()); });
    fails("x", FileType::Text, 5,
          [](auto f) { DeleteFileA(f.c_str()), CreateDirectoryA(f.c_str(), nullptr); });
    fails("x", FileType::Credits, 5, [&](auto f) {
        held = CreateFileA(f.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    });
    fails("\x11", FileType::LevelDescription, 204, none);
    fails("\x11\0"s, FileType::LevelDescription, 204, none);
    fails("\x11\0\0"s, FileType::LevelDescription, 100, none);
    fails("abc", FileType::AllFiles, 8, [](auto) { FileCalls.SetEditorText = RefuseText; });
    fails("", FileType::Text, 8, [](auto f) { // a sparse file of 2.5 GB
        HANDLE file = CreateFileA(f.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        SetFilePointerEx(file, LARGE_INTEGER{.QuadPart = 2560LL << 20}, nullptr, FILE_BEGIN);
        SetEndOfFile(file);
        CloseHandle(file);
    });
    // Read-only files, and files others read with sharing, load.
    WriteBytes(Path("shared.txt"), "shared");
    SetFileAttributesA(Path("shared.txt").c_str(), FILE_ATTRIBUTE_READONLY);
    held = CreateFileA(Path("shared.txt").c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                       OPEN_EXISTING, 0, nullptr);
    EXPECT_TRUE(LoadDocument(Path("shared.txt"), FileType::Text));
    CloseHandle(held);
    EXPECT_EQ(Text() + std::to_string(seen.size()), "shared0");
}
