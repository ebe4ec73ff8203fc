// The real common Open and Save as dialogs: what they offer, what choosing a filter and
// a name in them does, and what cancelling them leaves alone.
#include <gtest/gtest.h>
#include <windows.h>
#include "document/search.h"
#include "suite/suite_table.h"

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

using FileDialog = InstalledSuiteTest;

std::string CurrentFolder() {
    char folder[MAX_PATH] = "";
    GetCurrentDirectoryA(sizeof folder, folder);
    return folder;
}

const std::vector<std::string> kFilterCaptions = {"Populous Credits", "Level description (*.inf)",
                                                  "Text file (*.txt)", "All files "};

} // namespace

TEST_F(FileDialog, OpenOffersTheFourFiltersStartingOnTextAndLoadsInTheChosenOne) {
    const std::string level = Path("level.inf");
    WriteFileBytes(level, "\x11\0\0\0abc\0"s);
    EditorSession session;
    BoxWatcher watcher;
    auto look = std::make_shared<FileDialogLook>();
    watcher.Expect(ChooseInFileDialog(level, 2, look));
    SendCommand(CMD_OPEN);

    ASSERT_TRUE(look->seen);
    EXPECT_EQ(look->owner, MainWindow);
    EXPECT_EQ(look->fileName, "");
    EXPECT_EQ(look->filterIndex, 3);
    EXPECT_EQ(look->filters, kFilterCaptions);
    EXPECT_FALSE(look->readOnlyBoxVisible);

    EXPECT_EQ(EditorText(), "abc");
    EXPECT_EQ(DocumentState.CurrentFileName, level);
    EXPECT_EQ(DocumentState.CurrentFileType, FileType::LevelDescription);
    EXPECT_EQ(MainWindowTitle(), "level.inf - Scribane");
}

TEST_F(FileDialog, SaveAsStartsEmptyOnTextAndWritesInTheChosenFilter) {
    EditorSession session;
    SetEditorText("abc", true);
    BoxWatcher watcher;
    auto look = std::make_shared<FileDialogLook>();
    watcher.Expect(ChooseInFileDialog(Path("saved.inf"), 2, look));
    SendCommand(CMD_SAVE_AS);

    ASSERT_TRUE(look->seen);
    EXPECT_EQ(look->owner, MainWindow);
    EXPECT_EQ(look->fileName, "");
    EXPECT_EQ(look->filterIndex, 3);
    EXPECT_EQ(look->filters, kFilterCaptions);
    EXPECT_EQ(ReadFileBytes(Path("saved.inf")), "\x11\0\0\0abc\0"s);
    EXPECT_EQ(DocumentState.CurrentFileName, Path("saved.inf"));
    EXPECT_EQ(DocumentState.CurrentFileType, FileType::LevelDescription);
    EXPECT_FALSE(EditorModified());
}

TEST_F(FileDialog, TheDialogStartsOnTextWhateverWasChosenBefore) {
    EditorSession session;
    DocumentState.CurrentFileType = FileType::LevelDescription;
    SetEditorText("abc", true);
    BoxWatcher watcher;
    auto look = std::make_shared<FileDialogLook>();
    watcher.Expect(ChooseInFileDialog(Path("again.txt"), 0, look));
    SendCommand(CMD_SAVE_AS);
    EXPECT_EQ(look->filterIndex, 3);
    EXPECT_EQ(ReadFileBytes(Path("again.txt")), "abc");
    EXPECT_EQ(DocumentState.CurrentFileType, FileType::Text);
}

TEST_F(FileDialog, SaveAsCompletesANameWithoutExtensionWithTxt) {
    EditorSession session;
    SetEditorText("plain", true);
    BoxWatcher watcher;
    watcher.Expect(ChooseInFileDialog(Path("notes"), 0));
    SendCommand(CMD_SAVE_AS);
    EXPECT_EQ(ReadFileBytes(Path("notes.txt")), "plain");
    EXPECT_EQ(DocumentState.CurrentFileName, Path("notes.txt"));
    EXPECT_FALSE(FileExists(Path("notes")));
}

TEST_F(FileDialog, SaveAsAsksBeforeReplacingAnExistingFile) {
    const std::string target = Path("old.txt");
    WriteFileBytes(target, "old content");
    EditorSession session;
    SetEditorText("new", true);
    BoxWatcher watcher;
    watcher.Expect(ChooseInFileDialog(target, 3));
    watcher.ExpectButton(IDYES);
    SendCommand(CMD_SAVE_AS);
    const auto seen = watcher.Seen();
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen[1].buttons, (std::vector<int>{IDYES, IDNO}));
    EXPECT_EQ(ReadFileBytes(target), "new");
}

TEST_F(FileDialog, OpenAcceptsOnlyAnExistingFile) {
    EditorSession session;
    SetEditorText("kept", false);
    BoxWatcher watcher;
    watcher.Expect(ChooseInFileDialog(Path("missing.txt"), 3));
    // The dialog refuses the name with a box of its own; after it, cancel the dialog.
    watcher.Expect([](HWND box) {
        HWND fileDialog = GetWindow(box, GW_OWNER);
        PressButton(IDOK)(box);
        PostMessageA(fileDialog, WM_COMMAND, IDCANCEL, 0);
    });
    SendCommand(CMD_OPEN);
    EXPECT_EQ(watcher.Seen().size(), 2u);
    EXPECT_EQ(EditorText(), "kept");
    EXPECT_EQ(DocumentState.CurrentFileName, "(Unsaved)");
}

// Cancelling leaves the file name and the file type as they were, even after the user
// chose another filter and typed a name before cancelling.
TEST_F(FileDialog, CancelledDialogsChangeNothing) {
    const std::string level = Path("level.inf");
    WriteFileBytes(level, "\x11\0\0\0abc\0"s);
    EditorSession session;
    ASSERT_TRUE(LoadDocument(level, FileType::LevelDescription));
    SetEditorText("edited", true);
    const std::string status0 = StatusText(0);
    {
        BoxWatcher watcher;
        watcher.Expect(CancelFileDialog(4, Path("other.txt")));
        SendCommand(CMD_SAVE_AS);
        EXPECT_EQ(watcher.Seen().size(), 1u);
    }
    EXPECT_EQ(DocumentState.CurrentFileName, level);
    EXPECT_EQ(DocumentState.CurrentFileType, FileType::LevelDescription);
    EXPECT_FALSE(FileExists(Path("other.txt")));
    EXPECT_EQ(ReadFileBytes(level), "\x11\0\0\0abc\0"s);
    EXPECT_TRUE(EditorModified());

    SetEditorText("edited", false);
    {
        BoxWatcher watcher;
        watcher.Expect(CancelFileDialog(1, level));
        SendCommand(CMD_OPEN);
        EXPECT_EQ(watcher.Seen().size(), 1u);
    }
    EXPECT_EQ(DocumentState.CurrentFileName, level);
    EXPECT_EQ(DocumentState.CurrentFileType, FileType::LevelDescription);
    EXPECT_EQ(EditorText(), "edited");
    EXPECT_EQ(StatusText(0), status0);
    EXPECT_EQ(MainWindowTitle(), "level.inf - Scribane");

    // Save goes on writing the document's own file in its own layout.
    SendCommand(CMD_SAVE);
    EXPECT_EQ(ReadFileBytes(level), "\x11\0\0\0edited\0"s);
}

TEST_F(FileDialog, TheCurrentFolderStaysWhereItWas) {
    const std::string level = Path("level.inf");
    WriteFileBytes(level, "\x11\0\0\0abc\0"s);
    const std::string before = CurrentFolder();
    const std::string elsewhere = FreshFolder("file-dialog-elsewhere");
    ASSERT_TRUE(SetCurrentDirectoryA(elsewhere.c_str()));
    EditorSession session;
    BoxWatcher watcher;
    watcher.Expect(ChooseInFileDialog(level, 2));
    SendCommand(CMD_OPEN);
    EXPECT_EQ(EditorText(), "abc");
    EXPECT_EQ(CurrentFolder(), elsewhere);

    SetEditorText("xyz", true);
    watcher.Expect(ChooseInFileDialog(Path("copy.txt"), 3));
    SendCommand(CMD_SAVE_AS);
    EXPECT_EQ(ReadFileBytes(Path("copy.txt")), "xyz");
    EXPECT_EQ(CurrentFolder(), elsewhere);
    SetCurrentDirectoryA(before.c_str());
}
