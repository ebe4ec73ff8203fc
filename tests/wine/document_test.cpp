// Files on disk: what loading and saving leave there byte for byte, and every way a load
// or a save can fail, each reported with the file and the document left as they were.
#include <cstdlib>

#include "document/document.h"
#include "document/document_file.h"
#include "platform/app_state.h"
#include "resources/resource_ids.h"
#include "support/harness.h"

namespace {

using namespace std::string_literals;
using Document = Suite;
constexpr FileType kLevel = FileType::LevelDescription;

// Stand-ins for a replace that fails halfway: after deleting the target (1176), or after
// moving it to the backup name it was given, or elsewhere without one (1177).
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

TEST_F(Document, LoadedFilesSaveBackInTheirLayout) {
    std::string binary, line(300000, 'w');
    for (int i = 0; i < 1020; ++i)
        binary += char(i % 255 + 1);
    struct Row { std::string bytes; FileType type; std::string saved; size_t warnings; };
    const Row rows[] = {
        {"one\ntwo\nthree\n", FileType::Text, "one\ntwo\nthree\n", 0},
        {"one\rtwo\rthree", FileType::Credits, "one\rtwo\rthree", 0},
        {"mixed\r\nend\n\r", FileType::None, "mixed\r\nend\n\r", 0},
        {binary, FileType::AllFiles, binary, 0},
        {line, FileType::Text, line, 0},
        {"\x11\0\0\0l 1\r\nl 2\0"s, kLevel, "\x11\0\0\0l 1\r\nl 2\0"s, 0},
        {"\x11\0\0\0A"s, kLevel, "\x11\0\0\0A\0"s, 0},
        {"\x11\0\0\0"s, kLevel, "", 0},
        {"", kLevel, "", 0},
        {"level\r\ntext", kLevel, "\x11\0\0\0l\r\ntext\0"s, 1},
        {"before\0after"s, FileType::AllFiles, "before", 1},
        {"\x11\0\0\0abc\0"s, FileType::None, "\x11", 1},
    };
    Editor editor;
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::PrintToString(row.bytes.substr(0, 16)) + " as " + std::to_string(int(row.type)));
        WriteBytes(Path("in"), row.bytes);
        ASSERT_TRUE(LoadDocument(Path("in"), row.type));
        EXPECT_EQ(boxes.Take().size(), row.warnings);
        DeleteFileA(Path("out").c_str());
        DocumentState.CurrentFileName = Path("out"); // a new file: nothing to ask
        Command(CMD_SAVE);
        EXPECT_EQ(ReadBytes(Path("out")), row.saved);
        EXPECT_EQ(Status(0) + Status(1) + (Modified() ? "modified" : ""), " " + Path("out") + "\t");
    }
    EXPECT_TRUE(boxes.seen.empty());
}

TEST_F(Document, AFailedSaveLeavesTheFileAndTheDocument) {
    HANDLE held = INVALID_HANDLE_VALUE;
    const char* smallDrive = std::getenv("SCRIBANE_SMALL_DRIVE"); // 64 KiB, mounted by scripts/test as root
    struct Row { std::string folder; int error; std::function<void(const std::string&)> fault; };
    const Row rows[] = {
        {Path("read-only"), 5, [](const std::string& t) { SetFileAttributesA(t.c_str(), FILE_ATTRIBUTE_READONLY); }},
        {Path("held"), 5, [&](const std::string& t) { held = CreateFileA(t.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr); }},
        {Path("gone"), 3, [this](const std::string& t) { DeleteFileA(t.c_str()), RemoveDirectoryA(Path("gone").c_str()); }},
        {Path("replace 1176"), 1176, [](const std::string&) { FileCalls.ReplaceFile = ReplaceDeletingTarget; }},
        {Path("replace 1177"), 1177, [](const std::string&) { FileCalls.ReplaceFile = ReplaceMovingTarget; }},
        {smallDrive ? smallDrive : "", 112, [](const std::string&) {}},
    };
    const std::string text(200000, 'z');
    Editor editor;
    for (const Row& row : rows) {
        if (row.folder.empty())
            continue;
        SCOPED_TRACE(row.folder);
        const std::string target = row.folder + "\\x.txt";
        CreateDirectoryA(row.folder.c_str(), nullptr);
        WriteBytes(target, "old");
        ASSERT_TRUE(LoadDocument(target, FileType::Text));
        Put(text, true);
        row.fault(target);
        const std::string before = Look();
        Command(CMD_SAVE);
        const auto seen = boxes.Take();
        ASSERT_EQ(seen.size(), 1u);
        const int error = ReportedError(seen[0]);
        EXPECT_TRUE(error == row.error || (row.error == 112 && error == 101)) << seen[0].text; // disk full, or short
        EXPECT_EQ(Look(), before);
        CloseHandle(std::exchange(held, INVALID_HANDLE_VALUE));
        const std::string bytes = ReadBytes(target);
        EXPECT_TRUE(bytes == (row.error == 3 ? "" : "old") || (row.error > 1000 && bytes == text)) << bytes.size();
        EXPECT_EQ(FolderContents(row.folder), row.error == 3 ? std::vector<std::string>{} : std::vector<std::string>{"x.txt"});
        // Without the fault the same save goes through.
        SetFileAttributesA(target.c_str(), FILE_ATTRIBUTE_NORMAL);
        FileCalls = {};
        Command(CMD_SAVE);
        EXPECT_EQ(ReadBytes(target) == text, row.error != 3 && row.error != 112);
        boxes.Take();
        DeleteFileA(target.c_str());
    }
}

TEST_F(Document, AFailedLoadChangesNothing) {
    HANDLE held = INVALID_HANDLE_VALUE;
    struct Row { std::string bytes; FileType type; int error; std::function<void(const std::string&)> fault; };
    const Row rows[] = {
        {"x", FileType::Text, 2, [](const std::string& f) { DeleteFileA(f.c_str()); }},
        {"x", FileType::Text, 5, [](const std::string& f) { DeleteFileA(f.c_str()), CreateDirectoryA(f.c_str(), nullptr); }},
        {"x", FileType::Text, 5, [&](const std::string& f) { held = CreateFileA(f.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr); }},
        {"\x11", kLevel, 204, nullptr},
        {"\x11\0"s, kLevel, 204, nullptr},
        {"\x11\0\0"s, kLevel, 100, nullptr},
        {"abc", FileType::Text, 8, [](const std::string&) { FileCalls.SetEditorText = RefuseText; }},
        {"", FileType::Text, 8, [](const std::string& f) { // a sparse file of 2.5 GB
             HANDLE file = CreateFileA(f.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
             SetFilePointerEx(file, LARGE_INTEGER{.QuadPart = 2560LL << 20}, nullptr, FILE_BEGIN);
             SetEndOfFile(file);
             CloseHandle(file);
         }},
    };
    WriteBytes(Path("kept.inf"), "\x11\0\0\0kept\0"s);
    SetValue(kOwnKey, "b", "C:\\older.txt");
    Editor editor;
    ASSERT_TRUE(LoadDocument(Path("kept.inf"), kLevel));
    Put("kept, edited", true);
    for (size_t i = 0; i < std::size(rows); ++i) {
        SCOPED_TRACE(i);
        const std::string file = Path(std::to_string(i) + ".inf"), before = Look();
        WriteBytes(file, rows[i].bytes);
        if (rows[i].fault)
            rows[i].fault(file);
        EXPECT_FALSE(LoadDocument(file, rows[i].type));
        CloseHandle(std::exchange(held, INVALID_HANDLE_VALUE));
        FileCalls = {};
        const auto seen = boxes.Take();
        ASSERT_EQ(seen.size(), 1u);
        EXPECT_EQ(ReportedError(seen[0]), rows[i].error) << seen[0].text;
        EXPECT_EQ(Look(), before);
        DeleteFileA(file.c_str());
    }
    // Read-only files, and files others read with sharing, load.
    WriteBytes(Path("shared.txt"), "shared");
    SetFileAttributesA(Path("shared.txt").c_str(), FILE_ATTRIBUTE_READONLY);
    held = CreateFileA(Path("shared.txt").c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    EXPECT_TRUE(LoadDocument(Path("shared.txt"), FileType::Text));
    CloseHandle(held);
    EXPECT_EQ(Text(), "shared");
    EXPECT_TRUE(boxes.seen.empty());
}

TEST_F(Document, TheReportSaysWhereAndGivesTheEditorBack) {
    Editor editor;
    Put("text", true);
    DocumentState.CurrentFileName = Path("missing\\x.txt");
    Command(CMD_SAVE);
    ASSERT_EQ(boxes.seen.size(), 1u);
    const Box& report = boxes.seen[0];
    EXPECT_EQ(ReportedError(report), 3);
    EXPECT_FALSE(report.mainWindowEnabled); // kept out of the main window, though it has no owner
    // The failing address, inside the program's code, again on a line of its own, then
    // its callers' and an empty line.
    const std::string address = report.text.substr(report.text.find("0x") + 2, 8);
    const auto* image = reinterpret_cast<const BYTE*>(GetModuleHandleA(nullptr));
    const auto* headers = reinterpret_cast<const IMAGE_NT_HEADERS*>(image + reinterpret_cast<const IMAGE_DOS_HEADER*>(image)->e_lfanew);
    EXPECT_LT(std::strtoul(address.c_str(), nullptr, 16) - std::uint32_t(std::uintptr_t(image)), headers->OptionalHeader.SizeOfImage);
    EXPECT_EQ(report.text.substr(report.text.find("\r\n"), 20), "\r\n  0x" + address + "\r\n  0x");
    EXPECT_EQ(report.text.substr(report.text.size() - 4), "\r\n\r\n");
    EXPECT_TRUE(IsWindowEnabled(MainWindow));
    EXPECT_EQ(GetActiveWindow(), MainWindow);
    EXPECT_EQ(GetFocus(), EditorControl);
}

TEST_F(Document, LoadsAndSavesLeaveNothingOpenOrBehind) {
    const std::string file = Path("cycle.inf");
    WriteBytes(file, "\x11\0\0\0start\0"s);
    Editor editor;
    const DWORD gdi = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
    const DWORD user = GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS);
    for (int cycle = 0; cycle < 20; ++cycle) {
        ASSERT_TRUE(LoadDocument(file, kLevel));
        Put("cycle " + std::to_string(cycle), true);
        Command(CMD_SAVE);
        HANDLE alone = CreateFileA(file.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
        ASSERT_NE(alone, INVALID_HANDLE_VALUE) << "left open in cycle " << cycle;
        CloseHandle(alone);
    }
    EXPECT_EQ(ReadBytes(file), "\x11\0\0\0cycle 19\0"s);
    EXPECT_EQ(GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS), gdi);
    EXPECT_EQ(GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS), user);
    // A file deleted since it was loaded is written anew.
    DeleteFileA(file.c_str());
    Command(CMD_SAVE);
    EXPECT_EQ(ReadBytes(file), "\x11\0\0\0cycle 19\0"s);
    EXPECT_EQ(FolderContents(folder), std::vector<std::string>{"cycle.inf"});
    EXPECT_TRUE(boxes.seen.empty());
}
