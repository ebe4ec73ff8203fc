// Faults: every way a load or a save can fail, what stands in the folder afterwards byte for byte,
// and what the report says in words.
#include "support/harness.h"

// Stand-ins for system calls, each failing as the system does.
namespace {

BOOL Refused(DWORD code) {
    SetLastError(code);
    return FALSE;
}

BOOL WINAPI ReplaceCannotRemove(LPCSTR, LPCSTR, LPCSTR, DWORD, LPVOID, LPVOID) {
    return Refused(ERROR_UNABLE_TO_REMOVE_REPLACED); // nothing has changed
}

// The old file stands under the backup name, the new one under its own.
BOOL WINAPI ReplaceMovedAside(LPCSTR target, LPCSTR, LPCSTR backup, DWORD, LPVOID, LPVOID) {
    MoveFileExA(target, backup, 0);
    return Refused(ERROR_UNABLE_TO_MOVE_REPLACEMENT_2);
}

// A system that replaces a read-only file as it replaces any other.
BOOL WINAPI ReplaceReadOnly(LPCSTR target, LPCSTR replacement, LPCSTR, DWORD, LPVOID, LPVOID) {
    SetFileAttributesA(target, FILE_ATTRIBUTE_NORMAL);
    return MoveFileExA(replacement, target, MOVEFILE_REPLACE_EXISTING);
}

// Another program deleted the target just before the replace.
BOOL WINAPI ReplaceTargetGone(LPCSTR target, LPCSTR, LPCSTR, DWORD, LPVOID, LPVOID) {
    DeleteFileA(target);
    return Refused(ERROR_FILE_NOT_FOUND);
}

int refusals = 0; // how many more calls the stand-ins below refuse, or buffers they give

BOOL WINAPI MoveRefusedAtFirst(LPCSTR from, LPCSTR to, DWORD flags) {
    return refusals-- > 0 ? Refused(ERROR_ACCESS_DENIED) : MoveFileExA(from, to, flags);
}

BOOL WINAPI DeleteRefusedAtFirst(LPCSTR path) {
    return refusals-- > 0 ? Refused(ERROR_ACCESS_DENIED) : DeleteFileA(path);
}

BOOL WINAPI RefuseText(HWND, LPCWSTR) {
    return FALSE;
}

void* MemoryForSomeBuffers(size_t size) {
    return refusals-- > 0 ? AllocateTextMemory(size) : nullptr;
}

// What is done to a file before the load or the save.
enum class Target { Kept, Missing, ReadOnly, HeldUnshared, HeldUnwritable, HeldShared, Folder };

} // namespace

struct Faults : Suite {
    HANDLE held = INVALID_HANDLE_VALUE; // another program's handle on a file
    void TearDown() override {
        CloseHandle(held);
        Suite::TearDown();
    }
    // x.txt, holding "old", loaded into the editor and changed to "new", in a folder of its own.
    std::string LoadOldAndTypeNew(const std::string& name) {
        CreateDirectoryA(Path(name).c_str(), nullptr);
        const std::string target = Path(name) + "\\x.txt";
        WriteBytes(target, "old");
        EXPECT_TRUE(LoadDocument(target, FileType::Text));
        Put("new", true);
        return target;
    }
    void Prepare(const std::string& file, Target target) {
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
        if (target >= Target::HeldUnshared && target <= Target::HeldShared)
            held =
                CreateFileA(file.c_str(), GENERIC_READ, share, nullptr, OPEN_EXISTING, 0, nullptr);
    }
};

// The stand-ins a row puts in place.
const DocumentFileCalls kSystem{};
const DocumentFileCalls kReplacingReadOnly{.Replace = ReplaceReadOnly};
const DocumentFileCalls kShortOfMemory{.Allocate = MemoryForSomeBuffers};
const DocumentFileCalls kCannotRemove{.Replace = ReplaceCannotRemove};
const DocumentFileCalls kMovedAside{.Replace = ReplaceMovedAside};
const DocumentFileCalls kMovedAsideStuck{.Replace = ReplaceMovedAside, .Move = MoveRefusedAtFirst};
const DocumentFileCalls kTargetGone{.Replace = ReplaceTargetGone};
const DocumentFileCalls kDeleteRefused{.Delete = DeleteRefusedAtFirst};
const DocumentFileCalls kTextRefused{.SetEditorText = RefuseText};

struct SaveFault {
    const char* name;
    Target target;
    const DocumentFileCalls& calls;
    int refusals;
    int error; // the number reported, or 0 for none
    std::vector<std::string> folderAfter;
};

const SaveFault kSaveFaults[] = {
    {"read-only, where the system would replace it",
     Target::ReadOnly,
     kReplacingReadOnly,
     0,
     5,
     {"x.txt=old"}},
    {"held open without sharing", Target::HeldUnshared, kSystem, 0, 5, {"x.txt=old"}},
    {"held by a program that lets nobody write it",
     Target::HeldUnwritable,
     kSystem,
     0,
     5,
     {"x.txt=old"}},
    {"held open and shared", Target::HeldShared, kSystem, 0, 0, {"x.txt=new"}},
    {"a folder", Target::Folder, kSystem, 0, 5, {"x.txt="}},
    {"no memory for the text", Target::Kept, kShortOfMemory, 0, 8, {"x.txt=old"}},
    {"the target cannot be moved away", Target::Kept, kCannotRemove, 0, 1175, {"x.txt=old"}},
    {"the old file moved aside goes back", Target::Kept, kMovedAside, 0, 1177, {"x.txt=old"}},
    {"the old file cannot go back: the new one takes the name",
     Target::Kept,
     kMovedAsideStuck,
     1,
     1177,
     {"x.txt=new"}},
    {"neither file can take the name: both stay",
     Target::Kept,
     kMovedAsideStuck,
     2,
     1177,
     {"~?????.tmp=new", "~?????.tmp=old"}},
    {"a target deleted meanwhile is written anew", Target::Kept, kTargetGone, 0, 0, {"x.txt=new"}},
    {"the old copy is deleted at the second try",
     Target::Kept,
     kDeleteRefused,
     1,
     0,
     {"x.txt=new"}},
};

TEST_F(Faults, ASaveLeavesTheTargetWholeAndTheFolderAsItWas) {
    Editor editor;
    for (const SaveFault& row : kSaveFaults) {
        SCOPED_TRACE(row.name);
        const std::string target = LoadOldAndTypeNew(row.name);
        Prepare(target, row.target);
        FileCalls = row.calls;
        refusals = row.refusals;
        const std::vector<std::string> before = Look();

        Command(CMD_SAVE);

        CloseHandle(std::exchange(held, INVALID_HANDLE_VALUE));
        FileCalls = {};
        SetFileAttributesA(target.c_str(), FILE_ATTRIBUTE_NORMAL);
        EXPECT_EQ(FolderContents(Path(row.name), true), row.folderAfter);
        if (row.error == 0) {
            EXPECT_EQ(Take(), std::vector<Box>{});
        } else {
            ASSERT_EQ(seen.size(), 1u);
            EXPECT_EQ(ReportedError(Take()[0]), row.error);
            EXPECT_EQ(Look(), before);
        }
    }
}

TEST_F(Faults, WhenNeitherCopyCanTakeTheNameTheReportSaysWhereBothAre) {
    Editor editor;
    const std::string target = LoadOldAndTypeNew("stranded");
    FileCalls = {.Replace = ReplaceMovedAside, .Move = MoveRefusedAtFirst};
    refusals = 2;

    Command(CMD_SAVE);

    const std::vector<std::string> files = FolderContents(Path("stranded"));
    ASSERT_EQ(files.size(), 2u);
    const bool oldFirst = ReadBytes(Path("stranded\\" + files[0])) == "old";
    ASSERT_EQ(seen.size(), 1u);
    const std::vector<std::string> lines = ReportLines(seen[0].text);
    EXPECT_EQ(std::vector<std::string>(lines.end() - 4, lines.end()),
              (std::vector<std::string>{
                  "x.txt is missing from the folder " + Path("stranded") + ".",
                  "Its old content is in " + files[oldFirst ? 0 : 1] + ".",
                  "Its new content is in " + files[oldFirst ? 1 : 0] + ".",
                  target + ": Moving the replacement file failed.",
              }));
}

TEST_F(Faults, AnOldCopyThatCannotBeDeletedIsLeftAndNamed) {
    Editor editor;
    LoadOldAndTypeNew("leftover");
    FileCalls = {.Delete = DeleteRefusedAtFirst};
    refusals = 2;

    Command(CMD_SAVE);

    const std::vector<std::string> files = FolderContents(Path("leftover"));
    ASSERT_EQ(files.size(), 2u);
    EXPECT_EQ(FolderContents(Path("leftover"), true),
              (std::vector<std::string>{"x.txt=new", "~?????.tmp=old"}));
    EXPECT_EQ(Take(), std::vector{Box("Scribane",
                                      "The text is saved, but the old copy of the file could not "
                                      "be deleted. It is still there as " +
                                          Path("leftover\\" + files[1]) + ".",
                                      {-IDOK}, MainWindow, LoadIconA(nullptr, IDI_WARNING))});
}

TEST_F(Faults, AFullDiskLeavesTheOldFile) {
    const char* drive = std::getenv("SCRIBANE_SMALL_DRIVE"); // 64 KiB, mounted by scripts/test
    if (!drive)
        GTEST_SKIP() << "no small drive (mounting one needs root)";
    Editor editor;
    const std::string target = std::string(drive) + "\\x.txt";
    WriteBytes(target, "old");
    ASSERT_TRUE(LoadDocument(target, FileType::Text));
    Put(std::string(200000, 'z'), true);

    Command(CMD_SAVE);

    ASSERT_EQ(seen.size(), 1u);
    const int error = ReportedError(Take()[0]);
    EXPECT_TRUE(error == 112 || error == 101) << error; // disk full, or written short
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
    ASSERT_TRUE(LoadDocument(nest + "\\name01.txt", FileType::Text));
    Put("new", true);

    Command(CMD_SAVE);

    EXPECT_EQ(Take(), std::vector<Box>{});
    EXPECT_EQ(FolderContents(nest, true), std::vector<std::string>{"name01.txt=new"});
}

struct LoadFault {
    const char* name;
    std::string bytes;
    FileType type;
    Target target;
    const DocumentFileCalls& calls;
    int buffers; // how many the stand-in for memory gives
    int error;
    std::string words; // what the report's last line says after the file's name
};

const FileType kText = FileType::Text;
const FileType kLevel = FileType::LevelDescription;

const LoadFault kLoadFaults[] = {
    {"missing file", "", kText, Target::Missing, kSystem, 0, 2, "File not found."},
    {"a folder", "", kText, Target::Folder, kSystem, 0, 5, "Access denied."},
    {"held open without sharing", "", kText, Target::HeldUnshared, kSystem, 0, 5,
     "Sharing violation."},
    {"a level description of two bytes", "\x11\x11", kLevel, Target::Kept, kSystem, 0, 204,
     "The file is too short for a level description."},
    {"a level description of three bytes", "\x11\x11\x11", kLevel, Target::Kept, kSystem, 0, 100,
     "The file is shorter than its size."},
    {"text the control refuses", "abc", kText, Target::Kept, kTextRefused, 0, 8,
     "Not enough memory."},
    {"no memory for the file", "abc", kText, Target::Kept, kShortOfMemory, 0, 8,
     "Not enough memory."},
    {"no memory for its text", "abc", kText, Target::Kept, kShortOfMemory, 1, 8,
     "Not enough memory."},
    {"a file of 2.5 GB", "", kText, Target::Kept, kSystem, 0, 8, "Not enough memory."},
};

TEST_F(Faults, AFailedLoadIsReportedInWordsAndChangesNothing) {
    WriteBytes(Path("kept.inf"), "\x11\0\0\0kept\0"s);
    SetValue(kOwnKey, "b", "C:\\older.txt");
    Editor editor;
    ASSERT_TRUE(LoadDocument(Path("kept.inf"), FileType::LevelDescription));
    Put("kept, edited", true);
    const std::vector<std::string> before = Look();
    for (const LoadFault& row : kLoadFaults) {
        SCOPED_TRACE(row.name);
        const std::string file = Path(row.name);
        WriteBytes(file, row.bytes);
        if (row.error == 8 && row.bytes.empty()) // a sparse file of 2.5 GB
            std::filesystem::resize_file(file, 2560ULL << 20);
        Prepare(file, row.target);
        FileCalls = row.calls;
        refusals = row.buffers;

        EXPECT_FALSE(LoadDocument(file, row.type));

        CloseHandle(std::exchange(held, INVALID_HANDLE_VALUE));
        FileCalls = {};
        ASSERT_EQ(seen.size(), 1u);
        EXPECT_EQ(ReportedError(seen[0]), row.error);
        EXPECT_EQ(ReportLines(Take()[0].text).back(), file + ": " + row.words);
        EXPECT_EQ(Look(), before);
    }
}
