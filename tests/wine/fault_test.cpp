// Every way a load or a save can fail: the folder afterwards, byte for byte, and the boxes.
#include "support/harness.h"

#include <map>
#include <random>

namespace {

// A refused call: the `nth` of its kind (from 1 in each save or load) fails with `code`.
enum class Call { Allocate, Create, Write, Flush, Replace, Move, Delete, EditorBuffer };

struct Fault {
    Call call;
    int nth;
    DWORD code;
};

std::vector<Fault> plan;
std::map<Call, int> calls;

// The code this call of `call` is refused with, or 0.
DWORD Refusal(Call call) {
    const int nth = ++calls[call];
    for (const Fault& fault : plan)
        if (fault.call == call && fault.nth == nth)
            return fault.code;
    return 0;
}

// Stand-ins for the file calls: each refuses as the plan says, and otherwise is the system's.
template <Call call, auto system, typename... Arguments>
auto WINAPI Refusable(Arguments... arguments) -> decltype(system(arguments...)) {
    if (const DWORD code = Refusal(call)) {
        SetLastError(code);
        return {};
    }
    return system(arguments...);
}

void* Allocate(size_t size) {
    return Refusal(Call::Allocate) ? nullptr : AllocateTextMemory(size);
}

HANDLE WINAPI Create(LPCSTR name, DWORD access, DWORD share, LPSECURITY_ATTRIBUTES security,
                     DWORD disposition, DWORD flags, HANDLE model) {
    const HANDLE file = Refusable<Call::Create, CreateFileA>(name, access, share, security,
                                                             disposition, flags, model);
    return file ? file : INVALID_HANDLE_VALUE;
}

// 1175 and 1176 change nothing; with 1177 the old file stands under the backup name; with 2 the
// target was deleted meanwhile. Otherwise it replaces a read-only file, as some systems do.
BOOL WINAPI Replace(LPCSTR target, LPCSTR replacement, LPCSTR backup, DWORD flags, LPVOID, LPVOID) {
    const DWORD code = Refusal(Call::Replace);
    if (!code)
        SetFileAttributesA(target, FILE_ATTRIBUTE_NORMAL);
    if (code == ERROR_UNABLE_TO_MOVE_REPLACEMENT_2)
        MoveFileExA(target, backup, 0);
    if (code == ERROR_FILE_NOT_FOUND)
        DeleteFileA(target);
    SetLastError(code);
    return !code && ReplaceFileA(target, replacement, backup, flags, nullptr, nullptr);
}

// What is done to a file before the load or the save.
enum class Target { Kept, Missing, ReadOnly, Unshared, Unwritable, Shared, Folder, Huge };

} // namespace

struct Faults : EditorTest {
    HANDLE held = INVALID_HANDLE_VALUE; // another program's handle on a file
    void SetUp() override {
        EditorTest::SetUp();
        FileCalls = {.Allocate = Allocate,
                     .Create = Create,
                     .Write = Refusable<Call::Write, WriteFile>,
                     .Flush = Refusable<Call::Flush, FlushFileBuffers>,
                     .Replace = Replace,
                     .Move = Refusable<Call::Move, MoveFileExA>,
                     .Delete = Refusable<Call::Delete, DeleteFileA>,
                     .AllocateEditorBuffer = Refusable<Call::EditorBuffer, LocalAlloc>};
    }
    void TearDown() override {
        Release(Path("x.txt"));
        EditorTest::TearDown();
    }
    // Brings `file` into the state `target` names, with `faults` for the calls that follow.
    void Prepare(const std::string& file, Target target, const std::vector<Fault>& faults) {
        const DWORD share = target == Target::Shared       ? FILE_SHARE_READ | FILE_SHARE_WRITE
                            : target == Target::Unwritable ? FILE_SHARE_READ
                                                           : 0;
        if (target == Target::Missing || target == Target::Folder)
            DeleteFileA(file.c_str());
        if (target == Target::Folder)
            CreateDirectoryA(file.c_str(), nullptr);
        if (target == Target::ReadOnly)
            SetFileAttributesA(file.c_str(), FILE_ATTRIBUTE_READONLY);
        if (target == Target::Huge) // sparse, so the disk need not hold it
            std::filesystem::resize_file(file, 2560ULL << 20);
        if (target >= Target::Unshared && target <= Target::Shared)
            held = CreateFileA(file.c_str(), GENERIC_READ, share | FILE_SHARE_DELETE, nullptr,
                               OPEN_EXISTING, 0, nullptr);
        plan = faults;
        calls = {};
    }
    // Undoes what Prepare did.
    void Release(const std::string& file) {
        CloseHandle(std::exchange(held, INVALID_HANDLE_VALUE));
        plan = {};
        SetFileAttributesA(file.c_str(), FILE_ATTRIBUTE_NORMAL);
    }
};

const std::string kDenied = "Runtime error 5\nx.txt: Access denied.";
const std::string kShared = "Runtime error 5\nx.txt: Sharing violation.";
const std::string k1177 = "Runtime error 1177\nx.txt: Moving the replacement file failed.";
const std::string kLeftover = "Scribane: The text is saved, but the old copy of the file could "
                              "not be deleted. It is still there as ~?????.tmp.";
const std::vector<std::string> kOld{"x.txt=old"};
const std::vector<std::string> kNew{"x.txt=new"};
const std::vector<std::string> kNewAndOld{"x.txt=new", "~?????.tmp=old"};

// x.txt holds "old"; the text "new" is saved over it.
struct SaveFault {
    const char* name;
    Target target = Target::Kept;
    std::vector<Fault> faults{};
    std::vector<std::string> boxes{}; // what the user is told
    bool saved = false;               // the window says the text is saved
    std::vector<std::string> after{}; // the folder
};

const SaveFault kSaveFaults[] = {
    {.name = "read-only", .target = Target::ReadOnly, .boxes = {kDenied}, .after = kOld},
    {.name = "held unshared", .target = Target::Unshared, .boxes = {kShared}, .after = kOld},
    {.name = "unwritable", .target = Target::Unwritable, .boxes = {kShared}, .after = kOld},
    {.name = "held and shared", .target = Target::Shared, .saved = true, .after = kNew},
    {.name = "a folder", .target = Target::Folder, .boxes = {kDenied}, .after = {"x.txt="}},
    {.name = "flush refused", .faults = {{Call::Flush, 1, 5}}, .boxes = {kDenied}, .after = kOld},
    {.name = "1177, goes back",
     .faults = {{Call::Replace, 1, 1177}},
     .boxes = {k1177},
     .after = kOld},
    {.name = "1177, no way back: the new file takes the name, the old one is kept",
     .faults = {{Call::Replace, 1, 1177}, {Call::Move, 1, 5}},
     .boxes = {kLeftover},
     .saved = true,
     .after = kNewAndOld},
    {.name = "deleted meanwhile", .faults = {{Call::Replace, 1, 2}}, .saved = true, .after = kNew},
    {.name = "deleted at the 2nd try",
     .faults = {{Call::Delete, 1, 5}},
     .saved = true,
     .after = kNew},
};

TEST_F(Faults, ASaveLeavesTheTargetWholeAndTheFolderAsItWas) {
    Editor editor;
    const std::string target = Path("x.txt");
    for (const SaveFault& row : kSaveFaults) {
        SCOPED_TRACE(row.name);
        std::filesystem::remove_all(target);
        WriteBytes(target, "old");
        ASSERT_TRUE(LoadDocument(target, kText));
        Put("new", true);
        Prepare(target, row.target, row.faults);
        std::vector<std::string> lookAfter = Look(); // all stays as it was, but "Modified"
        lookAfter[1] = row.saved ? "saved" : "modified";

        Command(CMD_SAVE);

        Release(target);
        EXPECT_EQ(Take(), row.boxes);
        EXPECT_EQ(Look(), lookAfter);
        EXPECT_EQ(FolderContents(folder, true), row.after);
        for (const std::string& name : FolderContents(folder))
            DeleteFileA(Path(name).c_str());
    }
}

const std::string kNoMemory = "Runtime error 8\nx.txt: Not enough memory.";

// x.txt, prepared, loaded over an edited level description.
struct LoadFault {
    const char* name;
    std::string bytes{};
    FileType type = kText;
    Target target = Target::Kept;
    std::vector<Fault> faults{};
    std::string box;
};

const LoadFault kLoadFaults[] = {
    {.name = "missing",
     .target = Target::Missing,
     .box = "Runtime error 2\nx.txt: File not found."},
    {.name = "a folder", .target = Target::Folder, .box = kDenied},
    {.name = "held unshared", .target = Target::Unshared, .box = kShared},
    {.name = "2 bytes",
     .bytes = "\x11\x11",
     .type = kLevel,
     .box = "Runtime error 204\nx.txt: The file is too short for a level description."},
    {.name = "3 bytes",
     .bytes = "\x11\x11\x11",
     .type = kLevel,
     .box = "Runtime error 100\nx.txt: The file is shorter than its size."},
    {.name = "no memory: the control", .faults = {{Call::EditorBuffer, 1, 8}}, .box = kNoMemory},
    {.name = "no memory: the file", .faults = {{Call::Allocate, 1, 8}}, .box = kNoMemory},
    {.name = "no memory: its text", .faults = {{Call::Allocate, 2, 8}}, .box = kNoMemory},
    {.name = "2.5 GB", .target = Target::Huge, .box = kNoMemory},
};

// After the report the keys go to the editor again, and the wait cursor has gone before it.
TEST_F(Faults, AFailedLoadIsReportedInWordsAndChangesNothing) {
    WriteBytes(Path("kept.inf"), "\x11\0\0\0kept\0"s);
    SetValue(kOwnKey, "b", "C:\\older.txt");
    Editor editor;
    ASSERT_TRUE(LoadDocument(Path("kept.inf"), kLevel));
    Put("kept, edited", true);
    const std::vector<std::string> before = Look();
    const HCURSOR cross = LoadCursorA(nullptr, IDC_CROSS);
    SetCursorPos(GetSystemMetrics(SM_CXSCREEN) - 1, 0); // where no box sets a cursor of its own
    for (const LoadFault& row : kLoadFaults) {
        SCOPED_TRACE(row.name);
        std::filesystem::remove_all(Path("x.txt"));
        WriteBytes(Path("x.txt"), row.bytes);
        Prepare(Path("x.txt"), row.target, row.faults);
        SetCursor(cross);
        HCURSOR cursorAtTheReport = nullptr;
        answers = {[&](HWND box) {
            cursorAtTheReport = GetCursor();
            Press(IDOK)(box);
        }};

        EXPECT_FALSE(LoadDocument(Path("x.txt"), row.type));

        Release(Path("x.txt"));
        EXPECT_EQ(Take(), std::vector{row.box});
        EXPECT_EQ(Look(), before);
        EXPECT_EQ(GetFocus(), EditorControl);
        EXPECT_EQ(cursorAtTheReport, cross);
    }
}

// On some systems "nul.txt" is the null device, which takes every byte and keeps none.
TEST_F(Faults, ADeviceNameIsRefusedAsNoFileOnLoadAndSave) {
    Editor editor;
    for (const char* name : {"nul.txt", "con"}) {
        SCOPED_TRACE(name);
        const std::string device = name == "con"s ? "\\\\.\\con" : "\\\\.\\nul";
        const std::string report =
            "Runtime error 1200\n" + device + ": This name is a device, not a file.";
        Put("kept", true);
        const std::vector<std::string> before = Look();
        EXPECT_FALSE(LoadDocument(Path(name), kText));
        EXPECT_EQ(Look(), before);
        DocumentState.CurrentFileName = Path(name);

        Command(CMD_SAVE);

        EXPECT_EQ(Take(), std::vector(2, report));
        EXPECT_TRUE(Modified());
        EXPECT_EQ(FolderContents(folder), std::vector<std::string>{});
    }
}

// Saves of random texts and layouts over an old file or none, up to two file calls refused, random
// answers: the target holds its old bytes or the new, the folder nothing else but an old copy a
// box names, and the window says which. Its seed and step name a failure.
namespace {

// A piece of a soak's text and the bytes the code page stores it as; the last one it lacks.
struct Piece {
    const wchar_t* text;
    const char* bytes;
};

const Piece kPieces[] = {{L"a", "a"}, {L"\r\n", "\r\n"}, {L"\u00E9", "\xE9"}, {L"\u4E00", "?"}};

const Call kCalls[] = {Call::Allocate, Call::Create, Call::Write, Call::Flush,
                       Call::Replace,  Call::Move,   Call::Delete};

// OK for a box that has only that; Yes or No at random for a question.
Answer RandomAnswer(std::mt19937& random) {
    const int choice = random() % 2 ? IDYES : IDNO;
    return [choice](HWND box) { Press(GetDlgItem(box, IDYES) ? choice : IDOK)(box); };
}

// The bytes of the file `path`, or nothing when there is none.
std::optional<std::string> Contents(const std::string& path) {
    if (!std::filesystem::exists(path))
        return std::nullopt;
    return EditorTest::ReadBytes(path);
}

} // namespace

TEST_F(Faults, ASoakOfSavesWithFaultsNeverLosesTheFileNorHidesWhatItHolds) {
    const unsigned seed = 1;
    std::mt19937 random(seed);
    std::string nest = folder;  // of 248 characters, the longest that can hold files: the
    while (nest.size() < 248) { // temporary names beside x.txt must stay short enough
        nest += "\\" + std::string(std::min<size_t>(60, 248 - nest.size() - 1), 'f');
        CreateDirectoryA(nest.c_str(), nullptr);
    }
    const std::string target = nest + "\\x.txt";
    WriteBytes(target, "old");
    Editor editor;
    ASSERT_TRUE(LoadDocument(target, kText));
    ShowWindow(MainWindow, SW_HIDE); // a shown control repaints each text, ten times the save
    int saves = 0;                   // that took the new bytes
    for (int step = 1; step <= 2000; ++step) {
        SCOPED_TRACE("seed " + std::to_string(seed) + ", step " + std::to_string(step));
        if (random() % 10 == 0)
            DeleteFileA(target.c_str());
        const std::optional<std::string> old = Contents(target);
        std::wstring text;
        std::string bytes;
        for (int piece = random() % 6; piece >= 0; --piece) {
            const Piece& chosen = kPieces[random() % (random() % 8 ? 3 : 4)];
            text += chosen.text;
            bytes += chosen.bytes;
        }
        text += std::to_wstring(step); // never what the file held
        bytes += std::to_string(step);
        DocumentState.CurrentFileType = random() % 2 ? kText : kLevel;
        const std::string fresh =
            DocumentState.CurrentFileType == kLevel ? "\x11\0\0\0"s + bytes + '\0' : bytes;
        DocumentState.Loss = random() % 8 ? LoadLoss::None : LoadLoss::CutAtNul;
        SetWindowTextW(EditorControl, text.c_str());
        SendMessageA(EditorControl, EM_SETMODIFY, TRUE, 0);
        std::vector<Fault> faults;
        for (int fault = random() % 3; fault > 0; --fault) {
            const Call call = kCalls[random() % std::size(kCalls)];
            DWORD code = call == Call::Write ? ERROR_DISK_FULL : ERROR_ACCESS_DENIED;
            if (call == Call::Replace)
                code = 1175 + random() % 3; // 1175, 1176 or 1177
            faults.push_back({call, int(random() % 2) + 1, code});
        }
        Prepare(target, Target::Kept, faults);
        answers = {RandomAnswer(random), RandomAnswer(random), RandomAnswer(random)};

        Command(CMD_SAVE);

        const std::optional<std::string> onDisk = Contents(target);
        ASSERT_TRUE(onDisk == fresh || onDisk == old) << testing::PrintToString(onDisk);
        ASSERT_EQ(Modified(), onDisk != fresh);
        if (onDisk == fresh)
            ++saves;
        ASSERT_EQ(Title(), "x.txt - Scribane");
        std::vector<std::string> named; // the target, and the old copies the boxes name
        if (onDisk)
            named.push_back("x.txt");
        for (const std::string& box : std::exchange(seen, {})) {
            const size_t at = box.find("It is still there as " + nest + "\\");
            if (at != std::string::npos)
                named.push_back(box.substr(at + 22 + nest.size(), 10));
        }
        std::ranges::sort(named);
        ASSERT_EQ(FolderContents(nest), named);
        for (const std::string& name : named) {
            if (name != "x.txt") {
                ASSERT_EQ(Contents(nest + "\\" + name), old);
                DeleteFileA((nest + "\\" + name).c_str());
            }
        }
        answers.clear();
    }
    EXPECT_GT(saves, 0);
}
