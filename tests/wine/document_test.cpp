// The document commands against the real window: what lands on disk, in the editor,
// in the status bar and the title, and the save prompt that guards modified text.
#include <gtest/gtest.h>
#include <windows.h>
#include "document/search.h"
#include "suite/suite_table.h"

#include "platform/app_state.h"
#include "document/document.h"
#include "resources/resource_ids.h"
#include "suite/suite_settings.h"
#include "support/box_watcher.h"
#include "support/editor_session.h"
#include "support/file_dialog_answers.h"
#include "support/suite_fixture.h"
#include "support/test_files.h"

namespace {

using namespace std::string_literals;

const std::string kLevelAbc = "\x11\0\0\0abc\0"s;

using Document = InstalledSuiteTest;

// Saves the editor's text with Save as if it were the current file of type `type`.
void SaveAs(const std::string& path, FileType type) {
    DocumentState.CurrentFileName = path;
    DocumentState.CurrentFileType = type;
    SendCommand(CMD_SAVE);
}

void ExpectSavePrompt(const SeenBox& box) {
    EXPECT_EQ(box.caption, "Save text");
    EXPECT_EQ(box.text, "Would you like to save this text?");
    EXPECT_EQ(box.buttons, (std::vector<int>{IDYES, IDNO, IDCANCEL}));
    EXPECT_EQ(box.owner, MainWindow);
    EXPECT_EQ(box.icon, LoadIconA(nullptr, IDI_QUESTION));
}

} // namespace

TEST_F(Document, SaveWritesTheLayoutOfTheFileType) {
    EditorSession session;
    SetEditorText("abc", true);
    SaveAs(Path("level.inf"), FileType::LevelDescription);
    EXPECT_EQ(ReadFileBytes(Path("level.inf")), kLevelAbc);
    SetEditorText("abc", true);
    SaveAs(Path("plain.txt"), FileType::Credits);
    EXPECT_EQ(ReadFileBytes(Path("plain.txt")), "abc");
    SetEditorText("line 1\r\nline 2\r\n", true);
    SaveAs(Path("level.inf"), FileType::LevelDescription);
    EXPECT_EQ(ReadFileBytes(Path("level.inf")), "\x11\0\0\0line 1\r\nline 2\r\n\0"s);
}

TEST_F(Document, AnEmptyTextSavesAsAnEmptyFile) {
    EditorSession session;
    for (FileType type : {FileType::LevelDescription, FileType::Text}) {
        WriteFileBytes(Path("empty"), "old");
        SetEditorText("", true);
        SaveAs(Path("empty"), type);
        EXPECT_TRUE(FileExists(Path("empty")));
        EXPECT_EQ(ReadFileBytes(Path("empty")), "");
    }
}

TEST_F(Document, SaveMarksTheTextSavedButKeepsTitleAndRecentList) {
    WriteFileBytes(Path("first.txt"), "first");
    EditorSession session;
    ASSERT_TRUE(LoadDocument(Path("first.txt"), FileType::Text));
    SetEditorText("second", true);
    RefreshModifiedIndicator();
    EXPECT_EQ(StatusText(1), "\tModified");

    BoxWatcher watcher;
    watcher.Expect(ChooseInFileDialog(Path("second.txt"), 3));
    SendCommand(CMD_SAVE_AS);
    EXPECT_EQ(ReadFileBytes(Path("second.txt")), "second");
    EXPECT_EQ(ReadFileBytes(Path("first.txt")), "first");
    EXPECT_EQ(DocumentState.CurrentFileName, Path("second.txt"));
    EXPECT_EQ(StatusText(0), " "s + Path("second.txt"));
    EXPECT_EQ(StatusText(1), "\t");
    EXPECT_FALSE(EditorModified());
    EXPECT_EQ(MainWindowTitle(), "first.txt - Scribane");
    EXPECT_EQ(RecentEntry("a"), Path("first.txt"));
    EXPECT_EQ(RecentEntry("b"), "");
}

TEST_F(Document, SaveWithoutAFileAsksForOne) {
    EditorSession session;
    SetEditorText("typed", true);
    BoxWatcher watcher;
    watcher.Expect(CancelFileDialog());
    SendCommand(CMD_SAVE);
    ASSERT_EQ(watcher.Seen().size(), 1u);
    EXPECT_TRUE(EditorModified());
    EXPECT_EQ(DocumentState.CurrentFileName, "(Unsaved)");
    EXPECT_EQ(StatusText(0), "(Unsaved)");

    watcher.Expect(ChooseInFileDialog(Path("typed.txt"), 3));
    SendCommand(CMD_SAVE);
    EXPECT_EQ(ReadFileBytes(Path("typed.txt")), "typed");
    EXPECT_FALSE(EditorModified());
    // Now it has a file: Save writes there without asking.
    SetEditorText("again", true);
    SendCommand(CMD_SAVE);
    EXPECT_EQ(watcher.Seen().size(), 2u);
    EXPECT_EQ(ReadFileBytes(Path("typed.txt")), "again");
}

TEST_F(Document, OpenLoadsTheFileAndMakesItCurrent) {
    WriteFileBytes(Path("level.inf"), kLevelAbc);
    EditorSession session;
    SetEditorText("old", false);
    BoxWatcher watcher;
    watcher.Expect(ChooseInFileDialog(Path("level.inf"), 2));
    SendCommand(CMD_OPEN);
    EXPECT_EQ(EditorText(), "abc");
    EXPECT_FALSE(EditorModified());
    EXPECT_EQ(DocumentState.CurrentFileName, Path("level.inf"));
    EXPECT_EQ(DocumentState.CurrentFileType, FileType::LevelDescription);
    EXPECT_EQ(StatusText(0), " "s + Path("level.inf"));
    EXPECT_EQ(StatusText(1), "\t");
    EXPECT_EQ(MainWindowTitle(), "level.inf - Scribane");
    EXPECT_EQ(RecentEntry("a"), Path("level.inf"));
}

TEST_F(Document, NewEmptiesTheDocumentButKeepsTheFileType) {
    WriteFileBytes(Path("level.inf"), kLevelAbc);
    EditorSession session;
    ASSERT_TRUE(LoadDocument(Path("level.inf"), FileType::LevelDescription));
    SendCommand(CMD_NEW);
    EXPECT_EQ(EditorText(), "");
    EXPECT_FALSE(EditorModified());
    EXPECT_EQ(DocumentState.CurrentFileName, "(Unsaved)");
    EXPECT_EQ(DocumentState.CurrentFileType, FileType::LevelDescription);
    EXPECT_EQ(StatusText(0), " (Unsaved)");
    EXPECT_EQ(StatusText(1), "\t");
    EXPECT_EQ(MainWindowTitle(), "Scribane");
}

TEST_F(Document, TypingShowsModifiedUntilTheTextIsSaved) {
    EditorSession session;
    DocumentState.CurrentFileName = Path("typed.txt");
    SendMessageA(EditorControl, WM_CHAR, 'x', 0);
    EXPECT_EQ(StatusText(1), "\tModified");
    SendCommand(CMD_SAVE);
    EXPECT_EQ(StatusText(1), "\t");
    EXPECT_EQ(ReadFileBytes(Path("typed.txt")), "x");
}

TEST_F(Document, NewAsksToSaveModifiedText) {
    EditorSession session;
    DocumentState.CurrentFileName = Path("draft.txt");
    {
        SetEditorText("draft", true);
        BoxWatcher watcher;
        watcher.ExpectButton(IDCANCEL);
        SendCommand(CMD_NEW);
        ASSERT_EQ(watcher.Seen().size(), 1u);
        ExpectSavePrompt(watcher.Seen()[0]);
        EXPECT_EQ(EditorText(), "draft");
        EXPECT_TRUE(EditorModified());
        EXPECT_EQ(DocumentState.CurrentFileName, Path("draft.txt"));
        EXPECT_FALSE(FileExists(Path("draft.txt")));
    }
    {
        BoxWatcher watcher;
        watcher.ExpectButton(IDNO);
        SendCommand(CMD_NEW);
        EXPECT_EQ(watcher.Seen().size(), 1u);
        EXPECT_EQ(EditorText(), "");
        EXPECT_FALSE(FileExists(Path("draft.txt")));
    }
    {
        DocumentState.CurrentFileName = Path("draft.txt");
        SetEditorText("draft", true);
        BoxWatcher watcher;
        watcher.ExpectButton(IDYES);
        SendCommand(CMD_NEW);
        EXPECT_EQ(watcher.Seen().size(), 1u);
        EXPECT_EQ(ReadFileBytes(Path("draft.txt")), "draft");
        EXPECT_EQ(EditorText(), "");
        EXPECT_EQ(DocumentState.CurrentFileName, "(Unsaved)");
    }
    {
        // Unmodified text is dropped without asking.
        SetEditorText("unchanged", false);
        BoxWatcher watcher;
        SendCommand(CMD_NEW);
        for (const SeenBox& box : watcher.Seen())
            ADD_FAILURE() << box.caption << ": " << box.text;
        EXPECT_EQ(EditorText(), "");
    }
}

TEST_F(Document, OpenAsksToSaveModifiedTextBeforeTheDialog) {
    WriteFileBytes(Path("other.txt"), "other");
    EditorSession session;
    DocumentState.CurrentFileName = Path("draft.txt");
    {
        SetEditorText("draft", true);
        BoxWatcher watcher;
        watcher.ExpectButton(IDCANCEL);
        SendCommand(CMD_OPEN);
        EXPECT_EQ(watcher.Seen().size(), 1u); // no file dialog after Cancel
        EXPECT_EQ(EditorText(), "draft");
        EXPECT_TRUE(EditorModified());
    }
    {
        BoxWatcher watcher;
        watcher.ExpectButton(IDNO);
        watcher.Expect(ChooseInFileDialog(Path("other.txt"), 3));
        SendCommand(CMD_OPEN);
        EXPECT_EQ(watcher.Seen().size(), 2u);
        EXPECT_EQ(EditorText(), "other");
        EXPECT_FALSE(FileExists(Path("draft.txt")));
    }
    {
        DocumentState.CurrentFileName = Path("draft.txt");
        SetEditorText("draft", true);
        BoxWatcher watcher;
        watcher.ExpectButton(IDYES);
        watcher.Expect(ChooseInFileDialog(Path("other.txt"), 3));
        SendCommand(CMD_OPEN);
        EXPECT_EQ(watcher.Seen().size(), 2u);
        EXPECT_EQ(ReadFileBytes(Path("draft.txt")), "draft");
        EXPECT_EQ(EditorText(), "other");
    }
}

// ConfirmSave after Yes lets the caller go on only when the text really was saved.
TEST_F(Document, ConfirmSaveResults) {
    EditorSession session;
    {
        SetEditorText("same", false);
        BoxWatcher watcher;
        EXPECT_TRUE(ConfirmSave());
        for (const SeenBox& box : watcher.Seen())
            ADD_FAILURE() << box.caption << ": " << box.text;
    }
    SetEditorText("changed", true);
    {
        BoxWatcher watcher;
        watcher.ExpectButton(IDNO);
        EXPECT_TRUE(ConfirmSave());
        watcher.ExpectButton(IDCANCEL);
        EXPECT_FALSE(ConfirmSave());
        // Yes on a document without a file, then Cancel in the Save as dialog.
        watcher.ExpectButton(IDYES);
        watcher.Expect(CancelFileDialog());
        EXPECT_FALSE(ConfirmSave());
        EXPECT_EQ(watcher.Seen().size(), 4u);
        EXPECT_TRUE(EditorModified());
        // Yes, and a name in the dialog.
        watcher.ExpectButton(IDYES);
        watcher.Expect(ChooseInFileDialog(Path("kept.txt"), 3));
        EXPECT_TRUE(ConfirmSave());
        EXPECT_EQ(ReadFileBytes(Path("kept.txt")), "changed");
        EXPECT_FALSE(EditorModified());
    }
}

TEST_F(Document, RecentFileCommandsAskToSaveFirst) {
    WriteFileBytes(Path("recent.txt"), "recent");
    SetRegistryText(HKEY_LOCAL_MACHINE, kTestProgramKey, "a", Path("recent.txt"));
    EditorSession session;
    DocumentState.CurrentFileName = Path("draft.txt");
    SetEditorText("draft", true);
    {
        BoxWatcher watcher;
        watcher.ExpectButton(IDCANCEL);
        SendCommand(CMD_RECENT_1);
        ASSERT_EQ(watcher.Seen().size(), 1u);
        ExpectSavePrompt(watcher.Seen()[0]);
        EXPECT_EQ(EditorText(), "draft");
        EXPECT_EQ(DocumentState.CurrentFileName, Path("draft.txt"));
    }
    {
        BoxWatcher watcher;
        watcher.ExpectButton(IDYES);
        SendCommand(CMD_RECENT_1);
        EXPECT_EQ(watcher.Seen().size(), 1u);
        EXPECT_EQ(ReadFileBytes(Path("draft.txt")), "draft");
        EXPECT_EQ(EditorText(), "recent");
        EXPECT_EQ(DocumentState.CurrentFileName, Path("recent.txt"));
        EXPECT_EQ(MainWindowTitle(), "recent.txt - Scribane");
    }
}

TEST_F(Document, RecentFileCommandsReadInTheCurrentFileType) {
    WriteFileBytes(Path("credits.txt"), kLevelAbc);
    SetRegistryText(HKEY_LOCAL_MACHINE, kTestProgramKey, "a", Path("credits.txt"));
    EditorSession session;
    DocumentState.CurrentFileType = FileType::LevelDescription;
    SendCommand(CMD_RECENT_1);
    EXPECT_EQ(EditorText(), "abc");
    EXPECT_EQ(DocumentState.CurrentFileType, FileType::LevelDescription);
    DocumentState.CurrentFileType = FileType::Credits;
    SendCommand(CMD_RECENT_1);
    EXPECT_EQ(EditorText(), "\x11");
}

TEST_F(Document, ACommandLineFileWithSpacesLoadsAsPlainText) {
    CreateDirectoryA("C:\\path with spaces", nullptr);
    WriteFileBytes("C:\\path with spaces\\x.inf", kLevelAbc);
    EditorSession session("scribane.exe \"C:\\path with spaces\\x.inf\"");
    ASSERT_TRUE(session.Started());
    EXPECT_EQ(EditorText(), "\x11");
    EXPECT_FALSE(EditorModified());
    EXPECT_EQ(DocumentState.CurrentFileName, "C:\\path with spaces\\x.inf");
    EXPECT_EQ(DocumentState.CurrentFileType, FileType::None);
    EXPECT_EQ(StatusText(0), " C:\\path with spaces\\x.inf");
    EXPECT_EQ(MainWindowTitle(), "x.inf - Scribane");
    EXPECT_EQ(RecentEntry("a"), "C:\\path with spaces\\x.inf");
    DeleteFileA("C:\\path with spaces\\x.inf");
    RemoveDirectoryA("C:\\path with spaces");
}

TEST_F(Document, LongPathsAreCutTo255CharactersInTheStatusBar) {
    // A path of 259 characters, the most the file dialog returns, in a folder of 248,
    // the longest a folder can have: the temporary file beside it takes a longer path.
    ASSERT_LT(folder_.size(), 200u);
    std::string path = folder_;
    for (size_t room = 248 - folder_.size(); room > 0;) {
        const size_t length = room > 41 ? 40 : room - 1;
        path.append("\\").append(length, 'd');
        room -= length + 1;
        ASSERT_TRUE(CreateDirectoryA(path.c_str(), nullptr) ||
                    GetLastError() == ERROR_ALREADY_EXISTS)
            << path;
    }
    path += "\\nnnnnn.txt";
    ASSERT_EQ(path.size(), 259u);
    EditorSession session;
    BoxWatcher watcher; // dismisses an error box, which would fail the test
    SetEditorText("long", true);
    SaveAs(path, FileType::Text);
    EXPECT_EQ(ReadFileBytes(path), "long");
    EXPECT_EQ(StatusText(0), " "s + path.substr(0, 255));
    EXPECT_TRUE(LoadDocument(path, FileType::Text));
    EXPECT_EQ(EditorText(), "long");
    EXPECT_EQ(StatusText(0), " "s + path.substr(0, 255));
    // The title's name is taken from the first 255 characters.
    EXPECT_EQ(MainWindowTitle(), "nnnnnn - Scribane");
    for (const SeenBox& box : watcher.Seen())
        ADD_FAILURE() << box.caption << ": " << box.text;

    DeleteFileA(path.c_str());
    while ((path = path.substr(0, path.rfind('\\'))).size() > folder_.size())
        RemoveDirectoryA(path.c_str());
}
