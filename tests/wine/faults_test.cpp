// Faults of the machine around the editor: a full disk, a recent file turned into a
// folder, a registry key that is gone, and many loads and saves in a row. The program
// keeps running, says what went wrong, and loses nothing.
#include <gtest/gtest.h>
#include <windows.h>
#include "document/search.h"
#include "suite/suite_table.h"

#include <cstdlib>

#include "platform/app_state.h"
#include "document/document.h"
#include "resources/resource_ids.h"
#include "support/box_watcher.h"
#include "support/editor_session.h"
#include "support/suite_fixture.h"
#include "support/test_files.h"

namespace {

using Faults = InstalledSuiteTest;

// Whether nothing holds `path` open: an open that shares nothing succeeds.
bool NobodyHolds(const std::string& path) {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    CloseHandle(file);
    return true;
}

} // namespace

TEST_F(Faults, AFullDiskLeavesTheOldFileAndTheTextAsTheyWere) {
    // scripts/test maps a 64 KiB file system (a tmpfs it mounts as root) to this drive.
    const char* drive = std::getenv("SCRIBANE_SMALL_DRIVE");
    if (!drive || !*drive)
        GTEST_SKIP() << "no small drive: scripts/test mounts one when run as root";
    const std::string folder = std::string(drive) + "\\";
    for (const std::string& name : FolderContents(folder))
        DeleteFileA((folder + name).c_str());
    const std::string target = folder + "level.txt";
    WriteFileBytes(target, "the level as it was");

    EditorSession session;
    ASSERT_TRUE(LoadDocument(target, FileType::Text));
    const std::string text(200 * 1024, 'z'); // more than the drive holds
    SetEditorText(text, true);
    const std::string status0 = StatusText(0), status1 = StatusText(1);
    BoxWatcher watcher;
    watcher.ExpectButton(IDOK);
    SendCommand(CMD_SAVE);

    ASSERT_EQ(watcher.Seen().size(), 1u);
    EXPECT_EQ(watcher.Seen()[0].caption, "Error");
    // Disk full (112), or a write that comes up short (101), as the file system reports it.
    const std::string report = watcher.Seen()[0].text;
    EXPECT_TRUE(report.rfind("Runtime error 112 at 0x", 0) == 0 ||
                report.rfind("Runtime error 101 at 0x", 0) == 0)
        << report;
    EXPECT_EQ(ReadFileBytes(target), "the level as it was");
    EXPECT_EQ(FolderContents(folder), std::vector<std::string>{"level.txt"});
    EXPECT_EQ(EditorText(), text);
    EXPECT_TRUE(EditorModified());
    EXPECT_EQ(StatusText(0), status0);
    EXPECT_EQ(StatusText(1), status1);
    DeleteFileA(target.c_str());
}

TEST_F(Faults, ARecentFileReplacedByAFolderIsReportedAndChangesNothing) {
    const std::string entry = Path("was a file.txt");
    CreateDirectoryA(entry.c_str(), nullptr);
    SetRegistryText(HKEY_LOCAL_MACHINE, kTestProgramKey, "a", entry);
    EditorSession session;
    SetEditorText("kept", false);
    BoxWatcher watcher;
    watcher.ExpectButton(IDOK);
    SendCommand(CMD_RECENT_1);

    ASSERT_EQ(watcher.Seen().size(), 1u);
    EXPECT_EQ(watcher.Seen()[0].caption, "Error");
    EXPECT_EQ(watcher.Seen()[0].text.rfind("Runtime error 5 at 0x", 0), 0u)
        << watcher.Seen()[0].text;
    EXPECT_EQ(EditorText(), "kept");
    EXPECT_EQ(DocumentState.CurrentFileName, "(Unsaved)");
    EXPECT_EQ(MainWindowTitle(), "Scribane");
    EXPECT_EQ(GetRegistryBytes(HKEY_LOCAL_MACHINE, kTestProgramKey, "a")->c_str(), entry);
}

TEST_F(Faults, AMissingKeyKeepsTheRecentListAndFirstRunFlagSilent) {
    DeleteRegistryTree(HKEY_LOCAL_MACHINE, kTestProgramKey);
    const std::string file = Path("plain.txt");
    WriteFileBytes(file, "loads anyway");
    BoxWatcher watcher;
    EditorSession session;
    ASSERT_TRUE(LoadDocument(file, FileType::Text));
    EXPECT_EQ(EditorText(), "loads anyway");
    EXPECT_EQ(MainWindowTitle(), "plain.txt - Scribane");
    EXPECT_TRUE(watcher.Seen().empty());
    // Keys are opened, never created.
    EXPECT_FALSE(GetRegistryBytes(HKEY_LOCAL_MACHINE, kTestProgramKey, "a").has_value());
    HKEY key = nullptr;
    EXPECT_NE(RegOpenKeyExA(HKEY_LOCAL_MACHINE, kTestProgramKey, 0, KEY_READ, &key), 0);
}

TEST_F(Faults, FiveHundredLoadsAndSavesLeaveNothingBehind) {
    const std::string file = Path("cycle.inf");
    WriteFileBytes(file, std::string("\x11\0\0\0", 4) + "start" + '\0');
    EditorSession session;
    const DWORD gdiBefore = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
    const DWORD userBefore = GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS);
    for (int cycle = 0; cycle < 500; ++cycle) {
        ASSERT_TRUE(LoadDocument(file, FileType::LevelDescription)) << cycle;
        SetEditorText("cycle " + std::to_string(cycle), true);
        SendCommand(CMD_SAVE);
        ASSERT_TRUE(NobodyHolds(file)) << "a handle to the file was left open in cycle " << cycle;
    }
    EXPECT_EQ(ReadFileBytes(file), std::string("\x11\0\0\0", 4) + "cycle 499" + '\0');
    EXPECT_EQ(FolderContents(folder_), std::vector<std::string>{"cycle.inf"});
    EXPECT_EQ(GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS), gdiBefore);
    EXPECT_EQ(GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS), userBefore);
}
