// The main window's procedure: layout, the modified indicator, the edit commands,
// the date-and-time stamp, the text colour and the command range.
#include <gtest/gtest.h>
#include <windows.h>
#include "document/search.h"
#include "suite/suite_table.h"

#include <optional>
#include <regex>

#include "platform/app_state.h"
#include "resources/resource_ids.h"
#include "support/box_watcher.h"
#include "support/editor_session.h"
#include "support/test_files.h"

namespace {

class MainWindowProcedure : public ::testing::Test {
  protected:
    void SetUp() override {
        InstallSuite();
        session.emplace();
    }
    void TearDown() override {
        session.reset();
        UninstallSuite();
    }
    std::optional<EditorSession> session;
};

void Select(int start, int end) {
    SendMessageA(EditorControl, EM_SETSEL, start, end);
}

std::pair<DWORD, DWORD> Selection() {
    DWORD start = 0, end = 0;
    SendMessageA(EditorControl, EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                 reinterpret_cast<LPARAM>(&end));
    return {start, end};
}

} // namespace

TEST_F(MainWindowProcedure, TypingShowsModifiedAndClearingTheFlagHidesIt) {
    SendMessageA(EditorControl, WM_CHAR, 'x', 0);
    EXPECT_EQ(EditorText(), "x");
    EXPECT_EQ(StatusText(1), "\tModified");

    // EN_CHANGE from any control refreshes the indicator from the editor's flag.
    SendMessageA(EditorControl, EM_SETMODIFY, FALSE, 0);
    SendMessageA(MainWindow, WM_COMMAND, MAKEWPARAM(7, EN_CHANGE),
                 reinterpret_cast<LPARAM>(StatusBar));
    EXPECT_EQ(StatusText(1), "\t");
    SendMessageA(EditorControl, EM_SETMODIFY, TRUE, 0);
    SendMessageA(MainWindow, WM_COMMAND, MAKEWPARAM(7, EN_CHANGE),
                 reinterpret_cast<LPARAM>(StatusBar));
    EXPECT_EQ(StatusText(1), "\tModified");
}

TEST_F(MainWindowProcedure, CommandsOutsideTheTableDoNothing) {
    BoxWatcher watcher;
    SetEditorText("unchanged", false);
    Select(2, 4);
    for (unsigned command : {0u, 99u, 100u, 110u, 119u, 125u, 130u, 135u, 590u, 596u, 1000u})
        SendCommand(command);
    PumpMessages();
    EXPECT_EQ(EditorText(), "unchanged");
    EXPECT_EQ(Selection(), std::make_pair(DWORD{2}, DWORD{4}));
    EXPECT_FALSE(EditorModified());
    EXPECT_TRUE(watcher.Seen().empty());
    MSG message;
    EXPECT_FALSE(PeekMessageA(&message, MainWindow, WM_CLOSE, WM_CLOSE, PM_NOREMOVE));
}

TEST_F(MainWindowProcedure, LayoutFillsTheClientAreaAboveTheStatusBar) {
    MoveWindow(MainWindow, 10, 10, 640, 480, TRUE);
    PumpMessages();
    RECT client{}, status{}, editor{}, statusWindow{};
    GetClientRect(MainWindow, &client);
    GetClientRect(StatusBar, &status);
    GetWindowRect(EditorControl, &editor);
    GetWindowRect(StatusBar, &statusWindow);
    MapWindowPoints(nullptr, MainWindow, reinterpret_cast<POINT*>(&editor), 2);
    MapWindowPoints(nullptr, MainWindow, reinterpret_cast<POINT*>(&statusWindow), 2);
    const int statusHeight = status.bottom;
    EXPECT_EQ(editor.left, 0);
    EXPECT_EQ(editor.top, 0);
    EXPECT_EQ(editor.right, client.right);
    EXPECT_EQ(editor.bottom, client.bottom - statusHeight);
    EXPECT_EQ(statusWindow.left, 0);
    EXPECT_EQ(statusWindow.top, client.bottom - statusHeight);
    EXPECT_EQ(statusWindow.right, client.right);
}

TEST_F(MainWindowProcedure, EditCommandsActOnTheEditor) {
    SetEditorText("hello world", false);
    Select(0, 6);
    SendCommand(CMD_CUT);
    EXPECT_EQ(EditorText(), "world");
    Select(5, 5);
    SendCommand(CMD_PASTE);
    EXPECT_EQ(EditorText(), "worldhello ");
    SendCommand(CMD_UNDO);
    EXPECT_EQ(EditorText(), "world");

    Select(0, 3);
    SendCommand(CMD_COPY);
    Select(5, 5);
    SendCommand(CMD_PASTE);
    EXPECT_EQ(EditorText(), "worldwor");

    // Delete with no selection removes nothing; with one it removes the selection.
    Select(2, 2);
    SendCommand(CMD_DELETE);
    EXPECT_EQ(EditorText(), "worldwor");
    Select(0, 5);
    SendCommand(CMD_DELETE);
    EXPECT_EQ(EditorText(), "wor");
    SendCommand(CMD_UNDO);
    EXPECT_EQ(EditorText(), "worldwor");
}

TEST_F(MainWindowProcedure, DateTimeStampReplacesTheSelectionAndCanBeUndone) {
    SetEditorText("[old]", false);
    Select(1, 4);
    SYSTEMTIME before{};
    GetLocalTime(&before);
    SendCommand(CMD_DATE_TIME);
    const std::string text = EditorText();
    std::smatch parts;
    const std::regex stamp(R"(\[([1-9]\d?)-([1-9]\d?)-(\d{4}) (\d{1,2}):(\d{1,2}):(\d{1,2})\])");
    ASSERT_TRUE(std::regex_match(text, parts, stamp)) << text;
    EXPECT_EQ(std::stoi(parts[3]), before.wYear);
    for (int i = 4; i <= 6; ++i) // no leading zeros
        EXPECT_TRUE(parts[i].length() == 1 || parts[i].str()[0] != '0') << parts[i];
    EXPECT_TRUE(EditorModified());
    SendCommand(CMD_UNDO);
    EXPECT_EQ(EditorText(), "[old]");
}

TEST_F(MainWindowProcedure, EditorTextIsDarkGreenOnTheWindowColour) {
    HDC context = GetDC(EditorControl);
    SetTextColor(context, RGB(255, 0, 0));
    const LRESULT brush =
        SendMessageA(MainWindow, WM_CTLCOLOREDIT, reinterpret_cast<WPARAM>(context),
                     reinterpret_cast<LPARAM>(EditorControl));
    EXPECT_EQ(reinterpret_cast<HBRUSH>(brush), GetSysColorBrush(COLOR_WINDOW));
    EXPECT_EQ(GetTextColor(context), RGB(0, 0x44, 0));
    ReleaseDC(EditorControl, context);
}

TEST_F(MainWindowProcedure, BackgroundIsNeverErased) {
    HDC context = GetDC(MainWindow);
    EXPECT_EQ(SendMessageA(MainWindow, WM_ERASEBKGND, reinterpret_cast<WPARAM>(context), 0), 1);
    ReleaseDC(MainWindow, context);
}

TEST_F(MainWindowProcedure, FocusOnTheMainWindowGoesToTheEditor) {
    SetFocus(StatusBar);
    SetFocus(MainWindow);
    EXPECT_EQ(GetFocus(), EditorControl);
}

TEST_F(MainWindowProcedure, ExitPostsCloseToTheMainWindow) {
    SendCommand(CMD_EXIT);
    MSG message{};
    // Taken off the queue undispatched: closing would end this test process.
    ASSERT_TRUE(PeekMessageA(&message, MainWindow, WM_CLOSE, WM_CLOSE, PM_REMOVE));
    EXPECT_EQ(message.wParam, 0u);
    EXPECT_EQ(message.lParam, 0);
}
