// File errors: each one shows the error report and abandons its command, and the
// document, the file on disk and the recent list stay exactly as they were.
#include <gtest/gtest.h>
#include <windows.h>
#include "document/search.h"
#include "suite/suite_table.h"

#include <algorithm>
#include <cstdlib>

#include "platform/app_state.h"
#include "document/document.h"
#include "resources/resource_ids.h"
#include "support/box_watcher.h"
#include "support/editor_session.h"
#include "support/file_dialog_answers.h"
#include "support/suite_fixture.h"
#include "support/test_files.h"

namespace {

using namespace std::string_literals;

const std::string kLevelAbc = "\x11\0\0\0abc\0"s;

using FileErrors = InstalledSuiteTest;

// Everything a failed command must leave as it was.
struct DocumentLook {
    std::string text, fileName, title, status0, status1;
    bool modified;
    FileType fileType;
    std::optional<std::string> recent[4];

    bool operator==(const DocumentLook&) const = default;
};

DocumentLook LookAtDocument() {
    return {EditorText(),
            DocumentState.CurrentFileName,
            MainWindowTitle(),
            StatusText(0),
            StatusText(1),
            EditorModified(),
            DocumentState.CurrentFileType,
            {RecentEntry("a"), RecentEntry("b"), RecentEntry("c"), RecentEntry("d")}};
}

void PrintTo(const DocumentLook& look, std::ostream* out) {
    *out << "text \"" << look.text << "\", file \"" << look.fileName << "\" type "
         << static_cast<int>(look.fileType) << (look.modified ? " modified" : "") << ", title \""
         << look.title << "\", status \"" << look.status0 << "\" \"" << look.status1 << "\"";
}

// Whether the low 32 bits of `address` fall inside the test program's own code.
bool IsOwnCodeAddress(std::uint32_t address) {
    auto* base = reinterpret_cast<const BYTE*>(GetModuleHandleA(nullptr));
    auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
    auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
    const std::uint32_t start = static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(base));
    return address - start < nt->OptionalHeader.SizeOfImage;
}

// Checks that `box` is the report of error `number`: caption "Error", OK only, no owner,
// the first line with the failing address, that address again, the callers' return
// addresses, and an empty line.
void ExpectErrorReport(const SeenBox& box, int number, const char* file, int line) {
    SCOPED_TRACE(testing::Message() << "called from " << file << ":" << line);
    EXPECT_EQ(box.caption, "Error");
    EXPECT_EQ(box.buttons, std::vector<int>{IDOK});
    EXPECT_EQ(box.owner, nullptr);
    const std::string head = "Runtime error " + std::to_string(number) + " at 0x";
    ASSERT_EQ(box.text.substr(0, head.size()), head) << box.text;
    const std::string address = box.text.substr(head.size(), 8);
    EXPECT_EQ(address.find_first_not_of("0123456789ABCDEF"), std::string::npos) << address;
    EXPECT_TRUE(
        IsOwnCodeAddress(static_cast<std::uint32_t>(std::strtoul(address.c_str(), nullptr, 16))))
        << address;
    EXPECT_EQ(box.text.substr(head.size() + 8, 2 + 14), "\r\n  0x" + address + "\r\n");
    ASSERT_GE(box.text.size(), 4u);
    EXPECT_EQ(box.text.substr(box.text.size() - 4), "\r\n\r\n");
    // Every line after the first is an address line, up to the empty one.
    size_t at = box.text.find("\r\n") + 2;
    for (size_t end; (end = box.text.find("\r\n", at)) != at && end != std::string::npos;
         at = end + 2)
        EXPECT_EQ(end - at, 12u) << box.text.substr(at, end - at);
}
#define EXPECT_ERROR_REPORT(box, number) ExpectErrorReport(box, number, __FILE__, __LINE__)

// Runs `command`, answers the one report it should show, and checks the report.
template <typename Command>
void ExpectFailure(Command command, int number, const char* file, int line) {
    BoxWatcher watcher;
    watcher.ExpectButton(IDOK);
    command();
    const auto seen = watcher.Seen();
    ASSERT_EQ(seen.size(), 1u) << "called from " << file << ":" << line;
    ExpectErrorReport(seen[0], number, file, line);
}
#define EXPECT_FAILURE(command, number) ExpectFailure([&] { command; }, number, __FILE__, __LINE__)

class HeldOpen {
  public:
    HeldOpen(const std::string& path, DWORD access, DWORD sharing)
        : file_(CreateFileA(path.c_str(), access, sharing, nullptr, OPEN_EXISTING, 0, nullptr)) {}
    ~HeldOpen() { CloseHandle(file_); }
    bool IsOpen() const { return file_ != INVALID_HANDLE_VALUE; }

  private:
    HANDLE file_;
};

} // namespace

TEST_F(FileErrors, TheReportNamesTheErrorAndWhereItHappened) {
    EditorSession session;
    DocumentState.CurrentFileName = Path("missing\\x.txt");
    SetEditorText("text", true);
    BoxWatcher watcher;
    bool mainWindowEnabled = true;
    watcher.Expect([&](HWND box) {
        mainWindowEnabled = IsWindowEnabled(MainWindow) != FALSE;
        PressButton(IDOK)(box);
    });
    SendCommand(CMD_SAVE);
    ASSERT_EQ(watcher.Seen().size(), 1u);
    EXPECT_ERROR_REPORT(watcher.Seen()[0], 3);
    // Without an owner the box still keeps the user out of the main window.
    EXPECT_FALSE(mainWindowEnabled);
    EXPECT_TRUE(IsWindowEnabled(MainWindow));
}

TEST_F(FileErrors, SavingOverAReadOnlyFileFailsAndChangesNothing) {
    const std::string target = Path("level.inf");
    WriteFileBytes(target, kLevelAbc);
    EditorSession session;
    ASSERT_TRUE(LoadDocument(target, FileType::LevelDescription));
    SetEditorText("edited", true);
    RefreshModifiedIndicator();
    ASSERT_TRUE(SetFileAttributesA(target.c_str(), FILE_ATTRIBUTE_READONLY));
    const DocumentLook before = LookAtDocument();

    EXPECT_FAILURE(SendCommand(CMD_SAVE), 5);
    EXPECT_EQ(LookAtDocument(), before);
    EXPECT_EQ(ReadFileBytes(target), kLevelAbc);
    EXPECT_EQ(FolderContents(folder_), std::vector<std::string>{"level.inf"});
    EXPECT_EQ(GetFileAttributesA(target.c_str()) & FILE_ATTRIBUTE_READONLY,
              static_cast<DWORD>(FILE_ATTRIBUTE_READONLY));

    // Once writable again it saves.
    SetFileAttributesA(target.c_str(), FILE_ATTRIBUTE_NORMAL);
    SendCommand(CMD_SAVE);
    EXPECT_EQ(ReadFileBytes(target), "\x11\0\0\0edited\0"s);
    EXPECT_EQ(FolderContents(folder_), std::vector<std::string>{"level.inf"});
}

TEST_F(FileErrors, SavingOverAFileHeldOpenByAnotherProgramFailsAndChangesNothing) {
    const std::string target = Path("held.txt");
    WriteFileBytes(target, "before");
    EditorSession session;
    ASSERT_TRUE(LoadDocument(target, FileType::Text));
    SetEditorText("after", true);
    const DocumentLook before = LookAtDocument();
    {
        HeldOpen held(target, GENERIC_READ, 0);
        ASSERT_TRUE(held.IsOpen());
        EXPECT_FAILURE(SendCommand(CMD_SAVE), 5);
    }
    EXPECT_EQ(LookAtDocument(), before);
    EXPECT_EQ(ReadFileBytes(target), "before");
    EXPECT_EQ(FolderContents(folder_), std::vector<std::string>{"held.txt"});
    SendCommand(CMD_SAVE);
    EXPECT_EQ(ReadFileBytes(target), "after");
}

TEST_F(FileErrors, SavingIntoAFolderThatIsGoneFailsWithError3) {
    CreateDirectoryA(Path("sub").c_str(), nullptr);
    const std::string target = Path("sub\\x.txt");
    WriteFileBytes(target, "x");
    EditorSession session;
    ASSERT_TRUE(LoadDocument(target, FileType::Text));
    ASSERT_TRUE(DeleteFileA(target.c_str()));
    ASSERT_TRUE(RemoveDirectoryA(Path("sub").c_str()));
    SetEditorText("lost?", true);
    const DocumentLook before = LookAtDocument();
    EXPECT_FAILURE(SendCommand(CMD_SAVE), 3);
    EXPECT_EQ(LookAtDocument(), before);
    EXPECT_TRUE(FolderContents(folder_).empty());
}

TEST_F(FileErrors, SavingAFileDeletedSinceItWasLoadedWritesItAgain) {
    const std::string target = Path("gone.inf");
    WriteFileBytes(target, kLevelAbc);
    EditorSession session;
    ASSERT_TRUE(LoadDocument(target, FileType::LevelDescription));
    ASSERT_TRUE(DeleteFileA(target.c_str()));
    SetEditorText("back", true);
    BoxWatcher watcher;
    SendCommand(CMD_SAVE);
    EXPECT_TRUE(watcher.Seen().empty());
    EXPECT_EQ(ReadFileBytes(target), "\x11\0\0\0back\0"s);
    EXPECT_EQ(FolderContents(folder_), std::vector<std::string>{"gone.inf"});
    EXPECT_FALSE(EditorModified());
}

TEST_F(FileErrors, SaveAsOntoAReadOnlyFileKeepsTheOldNameAndType) {
    const std::string level = Path("level.inf");
    WriteFileBytes(level, kLevelAbc);
    WriteFileBytes(Path("locked.txt"), "locked");
    SetFileAttributesA(Path("locked.txt").c_str(), FILE_ATTRIBUTE_READONLY);
    EditorSession session;
    ASSERT_TRUE(LoadDocument(level, FileType::LevelDescription));
    SetEditorText("edited", true);
    const DocumentLook before = LookAtDocument();

    BoxWatcher watcher;
    watcher.Expect(ChooseInFileDialog(Path("locked.txt"), 3));
    watcher.ExpectButton(IDYES); // replace it?
    watcher.ExpectButton(IDOK);  // the report
    SendCommand(CMD_SAVE_AS);
    const auto seen = watcher.Seen();
    ASSERT_EQ(seen.size(), 3u);
    EXPECT_ERROR_REPORT(seen[2], 5);
    EXPECT_EQ(LookAtDocument(), before);
    EXPECT_EQ(ReadFileBytes(Path("locked.txt")), "locked");
    SetFileAttributesA(Path("locked.txt").c_str(), FILE_ATTRIBUTE_NORMAL);
}

// After Yes in the save prompt, a failed save stops whatever asked: New, Open, a recent
// file and closing the window.
TEST_F(FileErrors, AFailedSaveAfterYesAbortsTheCommandThatAsked) {
    const std::string target = Path("draft.txt");
    WriteFileBytes(target, "draft");
    WriteFileBytes(Path("other.txt"), "other");
    SetRegistryText(HKEY_LOCAL_MACHINE, kTestProgramKey, "a", Path("other.txt"));
    EditorSession session;
    ASSERT_TRUE(LoadDocument(target, FileType::Text));
    SetEditorText("changed", true);
    SetFileAttributesA(target.c_str(), FILE_ATTRIBUTE_READONLY);
    const DocumentLook before = LookAtDocument();

    for (unsigned command : {CMD_NEW, CMD_OPEN, CMD_RECENT_1}) {
        SCOPED_TRACE(command);
        BoxWatcher watcher;
        watcher.ExpectButton(IDYES);
        watcher.ExpectButton(IDOK);
        SendCommand(command);
        ASSERT_EQ(watcher.Seen().size(), 2u); // the prompt and the report: no dialog
        EXPECT_ERROR_REPORT(watcher.Seen()[1], 5);
        EXPECT_EQ(LookAtDocument(), before);
    }
    {
        BoxWatcher watcher;
        watcher.ExpectButton(IDYES);
        watcher.ExpectButton(IDOK);
        EXPECT_FALSE(ConfirmSave());
        // Closing asks, fails to save and goes on running.
        watcher.ExpectButton(IDYES);
        watcher.ExpectButton(IDOK);
        EXPECT_EQ(SendMessageA(MainWindow, WM_CLOSE, 0, 0), 0);
        EXPECT_EQ(watcher.Seen().size(), 4u);
        EXPECT_TRUE(IsWindow(MainWindow));
    }
    EXPECT_EQ(LookAtDocument(), before);
    EXPECT_EQ(ReadFileBytes(target), "draft");
    SetFileAttributesA(target.c_str(), FILE_ATTRIBUTE_NORMAL);
}

TEST_F(FileErrors, ReadOnlyFilesLoad) {
    const std::string path = Path("read-only.txt");
    WriteFileBytes(path, "look, don't touch");
    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_READONLY);
    EditorSession session;
    BoxWatcher watcher;
    EXPECT_TRUE(LoadDocument(path, FileType::Text));
    EXPECT_EQ(EditorText(), "look, don't touch");
    EXPECT_TRUE(watcher.Seen().empty());
    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
}

TEST_F(FileErrors, FilesOpenElsewhereLoadOnlyWhenShared) {
    const std::string path = Path("shared.txt");
    WriteFileBytes(path, "shared");
    EditorSession session;
    {
        HeldOpen reading(path, GENERIC_READ, FILE_SHARE_READ);
        BoxWatcher watcher;
        EXPECT_TRUE(LoadDocument(path, FileType::Text));
        EXPECT_TRUE(watcher.Seen().empty());
        EXPECT_EQ(EditorText(), "shared");
    }
    SendCommand(CMD_NEW);
    const DocumentLook before = LookAtDocument();
    {
        HeldOpen exclusive(path, GENERIC_READ, 0);
        EXPECT_FAILURE(LoadDocument(path, FileType::Text), 5);
    }
    EXPECT_EQ(LookAtDocument(), before);
}

TEST_F(FileErrors, ARecentFileThatIsGoneFailsWithError2AndKeepsTheList) {
    WriteFileBytes(Path("here.txt"), "here");
    SetRegistryText(HKEY_LOCAL_MACHINE, kTestProgramKey, "a", Path("gone.txt"));
    SetRegistryText(HKEY_LOCAL_MACHINE, kTestProgramKey, "b", Path("here.txt"));
    EditorSession session;
    SetEditorText("unsaved work", false);
    const DocumentLook before = LookAtDocument();
    EXPECT_FAILURE(SendCommand(CMD_RECENT_1), 2);
    EXPECT_EQ(LookAtDocument(), before);
    EXPECT_EQ(RecentEntry("a"), Path("gone.txt"));
    EXPECT_EQ(RecentEntry("b"), Path("here.txt"));
}

TEST_F(FileErrors, ACommandLineFileThatIsMissingLeavesAnUnsavedDocument) {
    BoxWatcher watcher;
    watcher.ExpectButton(IDOK);
    EditorSession session("scribane.exe " + Path("missing.txt"));
    ASSERT_TRUE(session.Started());
    ASSERT_EQ(watcher.Seen().size(), 1u);
    EXPECT_ERROR_REPORT(watcher.Seen()[0], 2);
    EXPECT_EQ(DocumentState.CurrentFileName, "(Unsaved)");
    EXPECT_EQ(StatusText(0), "(Unsaved)");
    EXPECT_EQ(MainWindowTitle(), "Scribane");
    EXPECT_EQ(EditorText(), "");
    EXPECT_EQ(RecentEntry("a"), std::nullopt);
}

TEST_F(FileErrors, ShortLevelDescriptionFiles) {
    EditorSession session;
    // Too short to hold a header: 204 for one or two bytes, 100 for three.
    const std::pair<std::string, int> failures[] = {
        {"\x11"s, 204}, {"\x11\0"s, 204}, {"\x11\0\0"s, 100}};
    for (const auto& [bytes, number] : failures) {
        SCOPED_TRACE(bytes.size());
        WriteFileBytes(Path("short.inf"), bytes);
        SetEditorText("kept", true);
        const DocumentLook before = LookAtDocument();
        EXPECT_FAILURE(LoadDocument(Path("short.inf"), FileType::LevelDescription), number);
        EXPECT_EQ(LookAtDocument(), before);
    }
    // Empty, as an empty level description saves, or a bare header: an empty text.
    for (const std::string& bytes : {""s, "\x11\0\0\0"s}) {
        SCOPED_TRACE(bytes.size());
        WriteFileBytes(Path("empty.inf"), bytes);
        SetEditorText("replaced", true);
        BoxWatcher watcher;
        EXPECT_TRUE(LoadDocument(Path("empty.inf"), FileType::LevelDescription));
        EXPECT_TRUE(watcher.Seen().empty());
        EXPECT_EQ(EditorText(), "");
        EXPECT_EQ(DocumentState.CurrentFileName, Path("empty.inf"));
        EXPECT_EQ(MainWindowTitle(), "empty.inf - Scribane");
    }
    // Saving the empty text writes the empty file again.
    SetEditorText("", true);
    SendCommand(CMD_SAVE);
    EXPECT_EQ(ReadFileBytes(Path("empty.inf")), "");
}

TEST_F(FileErrors, APlainFileLoadsUpToAnEmbeddedNul) {
    WriteFileBytes(Path("embedded.txt"), "before\0after"s);
    EditorSession session;
    EXPECT_TRUE(LoadDocument(Path("embedded.txt"), FileType::Text));
    EXPECT_EQ(EditorText(), "before");
}

TEST_F(FileErrors, AFileTooLargeForTheEditorFailsWithError8) {
    const std::string path = Path("huge.txt");
    {
        // A sparse file of 2.5 GB: only its length matters.
        HANDLE file =
            CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        ASSERT_NE(file, INVALID_HANDLE_VALUE);
        LARGE_INTEGER size;
        size.QuadPart = 2560LL * 1024 * 1024;
        const bool sized = SetFilePointerEx(file, size, nullptr, FILE_BEGIN) && SetEndOfFile(file);
        CloseHandle(file);
        if (!sized) {
            DeleteFileA(path.c_str());
            GTEST_SKIP() << "no room for a sparse file of 2.5 GB";
        }
    }
    EditorSession session;
    SetEditorText("kept", true);
    const DocumentLook before = LookAtDocument();
    EXPECT_FAILURE(LoadDocument(path, FileType::Text), 8);
    EXPECT_EQ(LookAtDocument(), before);
    DeleteFileA(path.c_str());
}
