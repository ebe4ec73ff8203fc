// Saving over a file: what stands in its folder afterwards, byte for byte, whatever the file
// system or the system calls do on the way, and what the editor says about it.
#include "support/harness.h"

// Stand-ins for the system calls, each doing what the system does when it fails that way.
namespace {

// The target could not be moved away: nothing changed.
BOOL WINAPI ReplaceUnableToRemove(LPCSTR, LPCSTR, LPCSTR, DWORD, LPVOID, LPVOID) {
    SetLastError(ERROR_UNABLE_TO_REMOVE_REPLACED);
    return FALSE;
}

// The new file could not take the name; given a backup name, both files keep their own names.
BOOL WINAPI ReplaceUnableToMove(LPCSTR, LPCSTR, LPCSTR, DWORD, LPVOID, LPVOID) {
    SetLastError(ERROR_UNABLE_TO_MOVE_REPLACEMENT);
    return FALSE;
}

// The old file stands under the backup name, the new one under its own.
BOOL WINAPI ReplaceMovedAside(LPCSTR target, LPCSTR, LPCSTR backup, DWORD, LPVOID, LPVOID) {
    MoveFileExA(target, backup, 0);
    SetLastError(ERROR_UNABLE_TO_MOVE_REPLACEMENT_2);
    return FALSE;
}

// Another program deleted the target just before the replace.
BOOL WINAPI ReplaceTargetGone(LPCSTR target, LPCSTR, LPCSTR, DWORD, LPVOID, LPVOID) {
    DeleteFileA(target);
    SetLastError(ERROR_FILE_NOT_FOUND);
    return FALSE;
}

BOOL WINAPI MoveRefused(LPCSTR, LPCSTR, DWORD) {
    SetLastError(ERROR_ACCESS_DENIED);
    return FALSE;
}

// Refuses the first move and makes every later one.
int movesRefused = 0;
BOOL WINAPI MoveRefusedOnce(LPCSTR from, LPCSTR to, DWORD flags) {
    if (movesRefused++ == 0)
        return MoveRefused(from, to, flags);
    return MoveFileExA(from, to, flags);
}

BOOL WINAPI DeleteRefused(LPCSTR) {
    SetLastError(ERROR_ACCESS_DENIED);
    return FALSE;
}

int deletesRefused = 0;
BOOL WINAPI DeleteRefusedOnce(LPCSTR path) {
    if (deletesRefused++ == 0)
        return DeleteRefused(path);
    return DeleteFileA(path);
}

void* NoMemory(size_t) {
    return nullptr;
}

HANDLE Hold(const std::string& path, DWORD share) {
    return CreateFileA(path.c_str(), GENERIC_READ, share, nullptr, OPEN_EXISTING,
                       FILE_FLAG_BACKUP_SEMANTICS, nullptr);
}

constexpr DWORD kFullSharing = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

} // namespace

struct Saving : Suite {
    // Another program's handle on a file, closed at the end of the test.
    HANDLE held = INVALID_HANDLE_VALUE;
    void TearDown() override {
        if (held != INVALID_HANDLE_VALUE)
            CloseHandle(held);
        Suite::TearDown();
    }
    // x.txt, holding "old", loaded into the editor and changed to "new", in a folder of its own.
    std::string LoadOldAndTypeNew(const std::string& name) {
        const std::string target = Path(name) + "\\x.txt";
        CreateDirectoryA(Path(name).c_str(), nullptr);
        WriteBytes(target, "old");
        EXPECT_TRUE(LoadDocument(target, FileType::Text));
        Put("new", true);
        return target;
    }
    // The error numbers of the reports shown since the last call.
    std::vector<int> ReportedErrors() {
        std::vector<int> errors;
        for (const Box& box : Take())
            errors.push_back(ReportedError(box));
        return errors;
    }
};

TEST_F(Saving, ASaveLeavesTheFolderAsItWasWithTheNewBytes) {
    Editor editor;
    const std::string target = LoadOldAndTypeNew("plain");

    Command(CMD_SAVE);

    EXPECT_EQ(Listing(Path("plain")), std::vector<std::string>{"x.txt=new"});
    EXPECT_EQ(Take().size(), 0u);
    EXPECT_FALSE(Modified());
}

struct SaveFault {
    const char* name;
    std::function<void(Saving& test, const std::string& target)> inject;
    int error; // the error number reported, or 0 when the save goes through
    std::vector<std::string> folderAfter;
};

const SaveFault kSaveFaults[] = {
    {"read-only target",
     [](Saving&, const std::string& target) {
         SetFileAttributesA(target.c_str(), FILE_ATTRIBUTE_READONLY);
     },
     5,
     {"x.txt=old"}},
    {"target held open without sharing",
     [](Saving& test, const std::string& target) { test.held = Hold(target, 0); },
     5,
     {"x.txt=old"}},
    {"target held open by a program that shares it",
     [](Saving& test, const std::string& target) { test.held = Hold(target, kFullSharing); },
     0,
     {"x.txt=new"}},
    {"target is a folder",
     [](Saving&, const std::string& target) {
         DeleteFileA(target.c_str());
         CreateDirectoryA(target.c_str(), nullptr);
     },
     5,
     {"x.txt="}},
    {"no memory for the text",
     [](Saving&, const std::string&) { FileCalls.Allocate = NoMemory; },
     8,
     {"x.txt=old"}},
    {"replace cannot move the target away",
     [](Saving&, const std::string&) { FileCalls.Replace = ReplaceUnableToRemove; },
     1175,
     {"x.txt=old"}},
    {"replace cannot move the new file, both keep their names",
     [](Saving&, const std::string&) { FileCalls.Replace = ReplaceUnableToMove; },
     1176,
     {"x.txt=old"}},
    {"replace leaves the old file under the backup name: it goes back",
     [](Saving&, const std::string&) { FileCalls.Replace = ReplaceMovedAside; },
     1177,
     {"x.txt=old"}},
    {"old file cannot go back: the new one takes the name",
     [](Saving&, const std::string&) {
         FileCalls.Replace = ReplaceMovedAside;
         movesRefused = 0;
         FileCalls.Move = MoveRefusedOnce;
     },
     1177,
     {"x.txt=new"}},
    {"neither file can take the name: both stay",
     [](Saving&, const std::string&) {
         FileCalls.Replace = ReplaceMovedAside;
         FileCalls.Move = MoveRefused;
     },
     1177,
     {"~?????.tmp=new", "~?????.tmp=old"}},
    {"target deleted just before the replace is written anew",
     [](Saving&, const std::string&) { FileCalls.Replace = ReplaceTargetGone; },
     0,
     {"x.txt=new"}},
    {"old copy cannot be deleted at first: deleted at the second try",
     [](Saving&, const std::string&) {
         deletesRefused = 0;
         FileCalls.Delete = DeleteRefusedOnce;
     },
     0,
     {"x.txt=new"}},
};

TEST_F(Saving, EachFaultLeavesTheTargetWholeAndTheFolderClean) {
    Editor editor;
    for (const SaveFault& row : kSaveFaults) {
        SCOPED_TRACE(row.name);
        const std::string target = LoadOldAndTypeNew(row.name);
        row.inject(*this, target);

        Command(CMD_SAVE);

        if (held != INVALID_HANDLE_VALUE)
            CloseHandle(std::exchange(held, INVALID_HANDLE_VALUE));
        FileCalls = {};
        SetFileAttributesA(target.c_str(), FILE_ATTRIBUTE_NORMAL);
        EXPECT_EQ(Listing(Path(row.name)), row.folderAfter);
        if (row.error == 0)
            EXPECT_EQ(ReportedErrors(), std::vector<int>{});
        else
            EXPECT_EQ(ReportedErrors(), std::vector<int>{row.error});
        EXPECT_EQ(Modified(), row.error != 0);
    }
}

TEST_F(Saving, AFailedSaveKeepsTheDocumentAsItWas) {
    SetValue(kOwnKey, "b", "C:\\older.txt");
    Editor editor;
    const std::string target = LoadOldAndTypeNew("kept");
    SetFileAttributesA(target.c_str(), FILE_ATTRIBUTE_READONLY);
    const DocumentView before = View();

    Command(CMD_SAVE);

    EXPECT_EQ(ReportedErrors(), std::vector<int>{5});
    EXPECT_EQ(View(), before);
}

TEST_F(Saving, WhenNeitherCopyCanTakeTheNameTheReportSaysWhereBothAre) {
    Editor editor;
    const std::string target = LoadOldAndTypeNew("stranded");
    FileCalls.Replace = ReplaceMovedAside;
    FileCalls.Move = MoveRefused;

    Command(CMD_SAVE);

    FileCalls = {};
    const std::vector<std::string> files = FolderContents(Path("stranded"));
    ASSERT_EQ(files.size(), 2u);
    const std::string oldCopy =
        ReadBytes(Path("stranded\\" + files[0])) == "old" ? files[0] : files[1];
    const std::string newCopy = oldCopy == files[0] ? files[1] : files[0];
    ASSERT_EQ(seen.size(), 1u);
    const std::vector<std::string> lines = ReportLines(seen[0].text);
    ASSERT_GE(lines.size(), 4u);
    EXPECT_EQ(std::vector<std::string>(lines.end() - 4, lines.end()),
              (std::vector<std::string>{
                  "x.txt is missing from the folder " + Path("stranded") + ".",
                  "Its old content is in " + oldCopy + ".",
                  "Its new content is in " + newCopy + ".",
                  target + ": Moving the replacement file failed.",
              }));
}

TEST_F(Saving, AnOldCopyThatCannotBeDeletedIsLeftAndNamed) {
    Editor editor;
    const std::string target = LoadOldAndTypeNew("leftover");
    FileCalls.Delete = DeleteRefused;

    Command(CMD_SAVE);

    FileCalls = {};
    const std::vector<std::string> files = FolderContents(Path("leftover"));
    ASSERT_EQ(files.size(), 2u);
    EXPECT_EQ(MaskTemporaryNames(files[1]), "~?????.tmp");
    EXPECT_EQ(ReadBytes(target), "new");
    EXPECT_EQ(ReadBytes(Path("leftover\\" + files[1])), "old");
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].caption, "Scribane");
    EXPECT_EQ(seen[0].text, "The text is saved, but the old copy of the file could not be "
                            "deleted. It is still there as " +
                                Path("leftover\\" + files[1]) + ".");
    EXPECT_FALSE(Modified());
}

TEST_F(Saving, AFullDiskLeavesTheOldFile) {
    const char* drive = std::getenv("SCRIBANE_SMALL_DRIVE"); // 64 KiB, mounted by scripts/test
    if (!drive)
        GTEST_SKIP() << "no small drive (mounting one needs root)";
    Editor editor;
    const std::string target = std::string(drive) + "\\x.txt";
    WriteBytes(target, "old");
    ASSERT_TRUE(LoadDocument(target, FileType::Text));
    Put(std::string(200000, 'z'), true);

    Command(CMD_SAVE);

    const std::vector<int> errors = ReportedErrors();
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_TRUE(errors[0] == 112 || errors[0] == 101) << errors[0]; // disk full, or written short
    EXPECT_EQ(Listing(drive), std::vector<std::string>{"x.txt=old"});
    DeleteFileA(target.c_str());
}

TEST_F(Saving, BesideANameOf259CharactersTheTemporaryNameStillFits) {
    std::string nest = folder; // a folder of 248 characters: the longest that can hold files
    while (nest.size() < 248) {
        nest += "\\" + std::string(std::min<size_t>(60, 248 - nest.size() - 1), 'f');
        CreateDirectoryA(nest.c_str(), nullptr);
    }
    ASSERT_EQ(nest.size(), 248u);
    const std::string target = nest + "\\name01.txt";
    ASSERT_EQ(target.size(), 259u);
    WriteBytes(target, "old");
    Editor editor;
    ASSERT_TRUE(LoadDocument(target, FileType::Text));
    Put("new", true);

    Command(CMD_SAVE);

    EXPECT_EQ(ReportedErrors(), std::vector<int>{});
    EXPECT_EQ(Listing(nest), std::vector<std::string>{"name01.txt=new"});
}
