// Faults: every way a load or a save can fail, what stands in the folder afterwards byte for byte,
// and what the user is told; and a soak of saves with faults at random.
#include "support/harness.h"

#include <map>
#include <random>

// Stand-ins for the file calls, each refusing as the system does when a row asks it to.
namespace {

// The calls a row can have refused: the `nth` call of its kind, counted from 1 in each save or
// load, fails with `code`.
enum class Call { Allocate, Create, Write, Flush, Replace, Move, Delete, SetText };

struct Fault {
    Call call;
    int nth;
    DWORD code;
};

std::vector<Fault> faults;
std::map<Call, int> calls;

// The code this call of `call` is refused with, or 0.
DWORD Refusal(Call call) {
    const int nth = ++calls[call];
    for (const Fault& fault : faults)
        if (fault.call == call && fault.nth == nth)
            return fault.code;
    return 0;
}

BOOL Refused(DWORD code) {
    SetLastError(code);
    return FALSE;
}

void* Allocate(size_t size) {
    return Refusal(Call::Allocate) ? nullptr : AllocateTextMemory(size);
}

HANDLE WINAPI Create(LPCSTR name, DWORD access, DWORD share, LPSECURITY_ATTRIBUTES security,
                     DWORD disposition, DWORD flags, HANDLE model) {
    if (const DWORD code = Refusal(Call::Create)) {
        SetLastError(code);
        return INVALID_HANDLE_VALUE;
    }
    return CreateFileA(name, access, share, security, disposition, flags, model);
}

BOOL WINAPI Write(HANDLE file, LPCVOID bytes, DWORD size, LPDWORD written, LPOVERLAPPED at) {
    if (const DWORD code = Refusal(Call::Write))
        return Refused(code);
    return WriteFile(file, bytes, size, written, at);
}

BOOL WINAPI Flush(HANDLE file) {
    if (const DWORD code = Refusal(Call::Flush))
        return Refused(code);
    return FlushFileBuffers(file);
}

// 1175 and 1176 change nothing; with 1177 the old file already stands under the backup name;
// with 2 another program deleted the target just before.
BOOL WINAPI Replace(LPCSTR target, LPCSTR replacement, LPCSTR backup, DWORD flags, LPVOID, LPVOID) {
    const DWORD code = Refusal(Call::Replace);
    if (code == ERROR_UNABLE_TO_MOVE_REPLACEMENT_2)
        MoveFileExA(target, backup, 0);
    if (code == ERROR_FILE_NOT_FOUND)
        DeleteFileA(target);
    if (code)
        return Refused(code);
    return ReplaceFileA(target, replacement, backup, flags, nullptr, nullptr);
}

BOOL WINAPI Move(LPCSTR from, LPCSTR to, DWORD flags) {
    if (const DWORD code = Refusal(Call::Move))
        return Refused(code);
    return MoveFileExA(from, to, flags);
}

BOOL WINAPI Delete(LPCSTR path) {
    if (const DWORD code = Refusal(Call::Delete))
        return Refused(code);
    return DeleteFileA(path);
}

BOOL WINAPI SetText(HWND editor, LPCWSTR text) {
    if (Refusal(Call::SetText))
        return FALSE;
    return SetWindowTextW(editor, text);
}

const DocumentFileCalls kStandIns{.Allocate = Allocate,
                                  .Create = Create,
                                  .Write = Write,
                                  .Flush = Flush,
                                  .Replace = Replace,
                                  .Move = Move,
                                  .Delete = Delete,
                                  .SetEditorText = SetText};

// What is done to a file before the load or the save.
enum class Target {
    Kept,
    Missing,
    ReadOnly,
    HeldUnshared,
    HeldUnwritable,
    HeldShared,
    Folder,
    Huge
};

const char kLeftover[] = "Scribane: The text is saved, but the old copy of the file could not be "
                         "deleted. It is still there as ~?????.tmp.";

} // namespace

struct Faults : EditorTest {
    HANDLE held = INVALID_HANDLE_VALUE; // another program's handle on a file
    void SetUp() override {
        EditorTest::SetUp();
        FileCalls = kStandIns;
    }
    void TearDown() override {
        CloseHandle(held);
        faults = {};
        EditorTest::TearDown();
    }
    // Brings `file` into the state `target` names, with `plan` for the calls that follow.
    void Prepare(const std::string& file, Target target, const std::vector<Fault>& plan) {
        const DWORD share = target == Target::HeldShared
                                ? FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE
                            : target == Target::HeldUnwritable ? FILE_SHARE_READ | FILE_SHARE_DELETE
                                                               : 0;
        if (target == Target::Missing || target == Target::Folder)
            DeleteFileA(file.c_str());
        if (target == Target::Folder)
            CreateDirectoryA(file.c_str(), nullptr);
        if (target == Target::ReadOnly)
            SetFileAttributesA(file.c_str(), FILE_ATTRIBUTE_READONLY);
        if (target == Target::Huge) // sparse, so the disk need not hold it
            std::filesystem::resize_file(file, 2560ULL << 20);
        if (target >= Target::HeldUnshared && target <= Target::HeldShared)
            held =
                CreateFileA(file.c_str(), GENERIC_READ, share, nullptr, OPEN_EXISTING, 0, nullptr);
        faults = plan;
        calls = {};
    }
    // Undoes what Prepare did.
    void Release(const std::string& file) {
        CloseHandle(std::exchange(held, INVALID_HANDLE_VALUE));
        faults = {};
        SetFileAttributesA(file.c_str(), FILE_ATTRIBUTE_NORMAL);
    }
    void ClearFolder() {
        for (const std::string& name : FolderContents(folder)) {
            DeleteFileA(Path(name).c_str());
            RemoveDirectoryA(Path(name).c_str());
        }
    }
};

struct SaveFault {
    const char* name;
    Target target = Target::Kept;
    std::vector<Fault> faults{};
    std::vector<std::string> boxes{}; // what the user is told
    bool saved = false;               // the text shows as saved afterwards
    std::vector<std::string> folderAfter{};
};

const SaveFault kSaveFaults[] = {
    {.name = "read-only",
     .target = Target::ReadOnly,
     .boxes = {"Runtime error 5\nx.txt: Access denied."},
     .folderAfter = {"x.txt=old"}},
    {.name = "held open without sharing",
     .target = Target::HeldUnshared,
     .boxes = {"Runtime error 5\nx.txt: Sharing violation."},
     .folderAfter = {"x.txt=old"}},
    {.name = "held by a program that lets nobody write it",
     .target = Target::HeldUnwritable,
     .boxes = {"Runtime error 5\nx.txt: Sharing violation."},
     .folderAfter = {"x.txt=old"}},
    {.name = "held open and shared",
     .target = Target::HeldShared,
     .saved = true,
     .folderAfter = {"x.txt=new"}},
    {.name = "a folder",
     .target = Target::Folder,
     .boxes = {"Runtime error 5\nx.txt: Access denied."},
     .folderAfter = {"x.txt="}},
    {.name = "no memory for the text",
     .faults = {{Call::Allocate, 1, ERROR_NOT_ENOUGH_MEMORY}},
     .boxes = {"Runtime error 8\nx.txt: Not enough memory."},
     .folderAfter = {"x.txt=old"}},
    {.name = "the new file cannot be created",
     .faults = {{Call::Create, 1, ERROR_ACCESS_DENIED}},
     .boxes = {"Runtime error 5\nx.txt: Access denied."},
     .folderAfter = {"x.txt=old"}},
    {.name = "the disk is full",
     .faults = {{Call::Write, 1, ERROR_DISK_FULL}},
     .boxes = {"Runtime error 112\nx.txt: Disk full."},
     .folderAfter = {"x.txt=old"}},
    {.name = "the target cannot be moved away",
     .faults = {{Call::Replace, 1, ERROR_UNABLE_TO_REMOVE_REPLACED}},
     .boxes = {"Runtime error 1175\nx.txt: Unable to remove the file to be replaced."},
     .folderAfter = {"x.txt=old"}},
    {.name = "the new file cannot take the name",
     .faults = {{Call::Replace, 1, ERROR_UNABLE_TO_MOVE_REPLACEMENT}},
     .boxes = {"Runtime error 1176\nx.txt: Unable to move the replacement file into place."},
     .folderAfter = {"x.txt=old"}},
    {.name = "the old file moved aside goes back",
     .faults = {{Call::Replace, 1, ERROR_UNABLE_TO_MOVE_REPLACEMENT_2}},
     .boxes = {"Runtime error 1177\nx.txt: Moving the replacement file failed."},
     .folderAfter = {"x.txt=old"}},
    {.name = "the old file cannot go back: the new one takes the name, the old one is kept",
     .faults = {{Call::Replace, 1, ERROR_UNABLE_TO_MOVE_REPLACEMENT_2}, {Call::Move, 1, 5}},
     .boxes = {kLeftover},
     .saved = true,
     .folderAfter = {"x.txt=new", "~?????.tmp=old"}},
    {.name = "a target deleted meanwhile is written anew",
     .faults = {{Call::Replace, 1, ERROR_FILE_NOT_FOUND}},
     .saved = true,
     .folderAfter = {"x.txt=new"}},
    {.name = "the old copy is deleted at the second try",
     .faults = {{Call::Delete, 1, ERROR_ACCESS_DENIED}},
     .saved = true,
     .folderAfter = {"x.txt=new"}},
    {.name = "the old copy resists deletion twice: it is left and named",
     .faults = {{Call::Delete, 1, ERROR_ACCESS_DENIED}, {Call::Delete, 2, ERROR_ACCESS_DENIED}},
     .boxes = {kLeftover},
     .saved = true,
     .folderAfter = {"x.txt=new", "~?????.tmp=old"}},
};

TEST_F(Faults, ASaveLeavesTheTargetWholeAndTheFolderAsItWas) {
    Editor editor;
    const std::string target = Path("x.txt");
    for (const SaveFault& row : kSaveFaults) {
        SCOPED_TRACE(row.name);
        WriteBytes(target, "old");
        ASSERT_TRUE(LoadDocument(target, kText));
        Put("new", true);
        Prepare(target, row.target, row.faults);
        std::vector<std::string> lookAfter = Look(); // all stays as it was, but "Modified"
        lookAfter[1] = row.saved ? "saved" : "modified";

        Command(CMD_SAVE);

        Release(target);
        EXPECT_EQ(Seen(), row.boxes);
        EXPECT_EQ(Look(), lookAfter);
        EXPECT_EQ(FolderContents(folder, true), row.folderAfter);
        ClearFolder();
    }
}

TEST_F(Faults, WhenNeitherCopyCanTakeTheNameTheReportSaysWhereBothAre) {
    Editor editor;
    WriteBytes(Path("x.txt"), "old");
    ASSERT_TRUE(LoadDocument(Path("x.txt"), kText));
    Put("new", true);
    Prepare(Path("x.txt"), Target::Kept,
            {{Call::Replace, 1, ERROR_UNABLE_TO_MOVE_REPLACEMENT_2},
             {Call::Move, 1, 5},
             {Call::Move, 2, 5}});

    Command(CMD_SAVE);

    const std::vector<std::string> files = FolderContents(folder);
    ASSERT_EQ(files.size(), 2u);
    const bool oldFirst = ReadBytes(Path(files[0])) == "old";
    const std::string& old = files[oldFirst ? 0 : 1];
    const std::string& fresh = files[oldFirst ? 1 : 0];
    EXPECT_EQ(ReadBytes(Path(fresh)), "new");
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(Summary(Take()[0]), "Runtime error 1177\nx.txt is missing from the folder " + folder +
                                      ".\nIts old content is in " + old +
                                      ".\nIts new content is in " + fresh + ".\n" + Path("x.txt") +
                                      ": Moving the replacement file failed.");
}

TEST_F(Faults, AFullDiskLeavesTheOldFile) {
    const char* drive = std::getenv("SCRIBANE_SMALL_DRIVE"); // 64 KiB, mounted by scripts/test
    if (!drive)
        GTEST_SKIP() << "no small drive (mounting one needs root)";
    Editor editor;
    const std::string target = std::string(drive) + "\\x.txt";
    WriteBytes(target, "old");
    ASSERT_TRUE(LoadDocument(target, kText));
    Put(std::string(200000, 'z'), true);

    Command(CMD_SAVE);

    const std::vector<std::string> boxes = Seen();
    const std::vector<std::string> diskFull{"Runtime error 112\n" + target + ": Disk full."};
    const std::vector<std::string> writtenShort{"Runtime error 101\n" + target +
                                                ": Not every byte could be written."};
    EXPECT_TRUE(boxes == diskFull || boxes == writtenShort) << testing::PrintToString(boxes);
    EXPECT_EQ(FolderContents(drive, true), std::vector<std::string>{"x.txt=old"});
    DeleteFileA(target.c_str());
}

TEST_F(Faults, BesideANameOf259CharactersTheTemporaryNameStillFits) {
    std::string nest = folder; // a folder of 248 characters: the longest that can hold files
    while (nest.size() < 248) {
        nest += "\\" + std::string(std::min<size_t>(60, 248 - nest.size() - 1), 'f');
        CreateDirectoryA(nest.c_str(), nullptr);
    }
    ASSERT_EQ((nest + "\\name01.txt").size(), 259u);
    WriteBytes(nest + "\\name01.txt", "old");
    Editor editor;
    ASSERT_TRUE(LoadDocument(nest + "\\name01.txt", kText));
    Put("new", true);

    Command(CMD_SAVE);

    EXPECT_EQ(Seen(), std::vector<std::string>{});
    EXPECT_EQ(FolderContents(nest, true), std::vector<std::string>{"name01.txt=new"});
}

struct LoadFault {
    const char* name; // also the file's
    std::string bytes{};
    FileType type = kText;
    Target target = Target::Kept;
    std::vector<Fault> faults{};
    std::string report{};
};

const LoadFault kLoadFaults[] = {
    {.name = "missing",
     .target = Target::Missing,
     .report = "Runtime error 2\nmissing: File not found."},
    {.name = "a folder",
     .target = Target::Folder,
     .report = "Runtime error 5\na folder: Access denied."},
    {.name = "held open without sharing",
     .target = Target::HeldUnshared,
     .report = "Runtime error 5\nheld open without sharing: Sharing violation."},
    {.name = "two bytes",
     .bytes = "\x11\x11",
     .type = kLevel,
     .report = "Runtime error 204\ntwo bytes: The file is too short for a level description."},
    {.name = "three bytes",
     .bytes = "\x11\x11\x11",
     .type = kLevel,
     .report = "Runtime error 100\nthree bytes: The file is shorter than its size."},
    {.name = "refused by the control",
     .bytes = "abc",
     .faults = {{Call::SetText, 1, ERROR_NOT_ENOUGH_MEMORY}},
     .report = "Runtime error 8\nrefused by the control: Not enough memory."},
    {.name = "no memory for the file",
     .bytes = "abc",
     .faults = {{Call::Allocate, 1, ERROR_NOT_ENOUGH_MEMORY}},
     .report = "Runtime error 8\nno memory for the file: Not enough memory."},
    {.name = "no memory for its text",
     .bytes = "abc",
     .faults = {{Call::Allocate, 2, ERROR_NOT_ENOUGH_MEMORY}},
     .report = "Runtime error 8\nno memory for its text: Not enough memory."},
    {.name = "2.5 GB",
     .target = Target::Huge,
     .report = "Runtime error 8\n2.5 GB: Not enough memory."},
};

// After the report, the keys go to the editor again, and the wait cursor has gone.
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
        const std::string file = Path(row.name);
        WriteBytes(file, row.bytes);
        Prepare(file, row.target, row.faults);
        SetCursor(cross);
        HCURSOR cursorAtTheReport = nullptr;
        answers = {[&](HWND box) {
            cursorAtTheReport = GetCursor();
            Press(IDOK)(box);
        }};

        EXPECT_FALSE(LoadDocument(file, row.type));

        Release(file);
        EXPECT_EQ(Seen(), std::vector{row.report});
        EXPECT_EQ(Look(), before);
        EXPECT_EQ(GetFocus(), EditorControl);
        EXPECT_EQ(cursorAtTheReport, cross);
    }
}

// On some systems "nul.txt" is the null device, which takes every byte and keeps none.
struct DeviceName {
    const char* name;
    bool save; // or load
    std::string report;
};

const DeviceName kDeviceNames[] = {
    {"nul.txt", false, "Runtime error 1200\n\\\\.\\nul: This name is a device, not a file."},
    {"nul.txt", true, "Runtime error 1200\n\\\\.\\nul: This name is a device, not a file."},
    {"con", false, "Runtime error 1200\n\\\\.\\con: This name is a device, not a file."},
    {"con", true, "Runtime error 1200\n\\\\.\\con: This name is a device, not a file."},
};

TEST_F(Faults, ADeviceNameIsRefusedAsNoFile) {
    Editor editor;
    for (const DeviceName& row : kDeviceNames) {
        SCOPED_TRACE(row.name + (row.save ? " saved"s : " loaded"s));
        Put("kept", true);
        if (row.save)
            DocumentState.CurrentFileName = Path(row.name);
        const std::vector<std::string> before = Look();

        if (row.save)
            Command(CMD_SAVE);
        else
            LoadDocument(Path(row.name), kText);

        EXPECT_EQ(Seen(), std::vector{row.report});
        EXPECT_EQ(Look(), before);
        EXPECT_EQ(FolderContents(folder), std::vector<std::string>{});
    }
}

// A soak: saves of random texts in random layouts over an old file or none, each with up to two
// of the file calls refused at random and random answers to the questions. After each save the
// target holds exactly its old bytes or exactly the new ones, the folder nothing else but an
// old copy a box names, and the window says which. SCRIBANE_SOAK_SEED repeats a run.
namespace {

// A piece of a soak's text and the bytes the code page stores it as; the last has none.
struct Piece {
    const wchar_t* text;
    const char* bytes;
};

const Piece kPieces[] = {{L"a", "a"}, {L"\r\n", "\r\n"}, {L"\u00E9", "\xE9"}, {L"\u4E00", "?"}};

const Call kCalls[] = {Call::Allocate, Call::Create, Call::Write, Call::Flush,
                       Call::Replace,  Call::Move,   Call::Delete};

const DWORD kReplaceCodes[] = {ERROR_UNABLE_TO_REMOVE_REPLACED, ERROR_UNABLE_TO_MOVE_REPLACEMENT,
                               ERROR_UNABLE_TO_MOVE_REPLACEMENT_2};

// OK for a box that has only that; Yes or No at random for a question.
Answer RandomAnswer(std::mt19937& random) {
    const int choice = random() % 2 ? IDYES : IDNO;
    return [choice](HWND box) { Press(GetDlgItem(box, IDYES) ? choice : IDOK)(box); };
}

// The bytes of the file `path`, or nothing when there is none.
std::optional<std::string> Contents(const std::string& path) {
    if (GetFileAttributesA(path.c_str()) == INVALID_FILE_ATTRIBUTES)
        return std::nullopt;
    return EditorTest::ReadBytes(path);
}

} // namespace

TEST_F(Faults, ASoakOfSavesWithFaultsNeverLosesTheFileNorHidesWhatItHolds) {
    const char* seedText = std::getenv("SCRIBANE_SOAK_SEED");
    const unsigned seed = seedText ? unsigned(std::atoi(seedText)) : 1;
    std::mt19937 random(seed);
    const std::string target = Path("x.txt");
    WriteBytes(target, "old");
    Editor editor;
    ASSERT_TRUE(LoadDocument(target, kText));
    ShowWindow(MainWindow, SW_HIDE); // a shown control repaints each text, ten times the save
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
        std::vector<Fault> plan;
        for (int fault = random() % 3; fault > 0; --fault) {
            const Call call = kCalls[random() % std::size(kCalls)];
            const DWORD code = call == Call::Replace ? kReplaceCodes[random() % 3] : 5;
            plan.push_back({call, int(random() % 2) + 1, code});
        }
        Prepare(target, Target::Kept, plan);
        answers = {RandomAnswer(random), RandomAnswer(random), RandomAnswer(random)};

        Command(CMD_SAVE);

        const std::optional<std::string> onDisk = Contents(target);
        ASSERT_TRUE(onDisk == fresh || onDisk == old) << testing::PrintToString(onDisk);
        ASSERT_EQ(Modified(), onDisk != fresh);
        ASSERT_EQ(Title(), "x.txt - Scribane");
        std::vector<std::string> named; // the target, and the old copies the boxes name
        if (onDisk)
            named.push_back("x.txt");
        for (const Box& box : Take()) {
            const size_t at = box.text.find("It is still there as " + folder + "\\");
            if (at != std::string::npos) {
                named.push_back(box.text.substr(at + 22 + folder.size()));
                named.back().pop_back(); // the full stop
                ASSERT_EQ(Contents(Path(named.back())), old);
            }
        }
        std::ranges::sort(named);
        ASSERT_EQ(FolderContents(folder), named);
        for (const std::string& name : named)
            if (name != "x.txt")
                DeleteFileA(Path(name).c_str());
        answers.clear();
    }
}
