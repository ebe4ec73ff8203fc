// Start-up against Wine's window system and registry: the window, its children,
// the suite settings, the first-run flag and the installation warning.
#include <gtest/gtest.h>
#include <windows.h>
#include "document/search.h"
#include "suite/suite_table.h"
#include <commctrl.h>

#include "platform/app_state.h"
#include "document/document.h"
#include "suite/suite_settings.h"
#include "suite/suite_table.h"
#include "support/box_watcher.h"
#include "support/editor_session.h"
#include "support/test_files.h"

namespace {

class StartUp : public ::testing::Test {
  protected:
    void SetUp() override { InstallSuite("C:\\Velkaro"); }
    void TearDown() override { UninstallSuite(); }
};

std::string ClassName(HWND window) {
    char name[256] = "";
    GetClassNameA(window, name, sizeof name);
    return name;
}

} // namespace

TEST_F(StartUp, MainWindowClassAndTitle) {
    EditorSession session;
    ASSERT_TRUE(session.Started());
    EXPECT_EQ(ClassName(MainWindow), "Scribane");
    EXPECT_EQ(MainWindowTitle(), "Scribane");
    EXPECT_EQ(static_cast<DWORD>(GetWindowLongA(MainWindow, GWL_STYLE)) & WS_OVERLAPPEDWINDOW,
              static_cast<DWORD>(WS_OVERLAPPEDWINDOW));
    EXPECT_TRUE(IsWindowVisible(MainWindow));

    WNDCLASSA windowClass{};
    ASSERT_TRUE(GetClassInfoA(ModuleInstance, "Scribane", &windowClass));
    EXPECT_EQ(windowClass.style, static_cast<UINT>(CS_HREDRAW | CS_VREDRAW));
    EXPECT_EQ(windowClass.hbrBackground, GetStockObject(GRAY_BRUSH));
    EXPECT_EQ(windowClass.hCursor, LoadCursorA(nullptr, IDC_ARROW));
    EXPECT_NE(windowClass.hIcon, nullptr);
    EXPECT_EQ(windowClass.lpszMenuName, nullptr);
}

TEST_F(StartUp, StatusBarHasTwoPartsAndShowsUnsaved) {
    EditorSession session;
    ASSERT_NE(StatusBar, nullptr);
    EXPECT_EQ(GetDlgCtrlID(StatusBar), 30482);
    EXPECT_EQ(GetParent(StatusBar), MainWindow);
    int edges[4] = {};
    EXPECT_EQ(SendMessageA(StatusBar, SB_GETPARTS, 4, reinterpret_cast<LPARAM>(edges)), 2);
    EXPECT_EQ(edges[0], 400);
    EXPECT_EQ(edges[1], -1);
    EXPECT_EQ(StatusText(0), "(Unsaved)");
    EXPECT_EQ(StatusText(1), "");
    EXPECT_EQ(DocumentState.CurrentFileName, "(Unsaved)");
}

TEST_F(StartUp, EditorIsAMultiLineEditChildWithTheNormalFont) {
    EditorSession session;
    ASSERT_NE(EditorControl, nullptr);
    EXPECT_EQ(ClassName(EditorControl), "Edit");
    EXPECT_EQ(GetParent(EditorControl), MainWindow);
    EXPECT_EQ(GetDlgCtrlID(EditorControl), 0);
    const DWORD style = GetWindowLongA(EditorControl, GWL_STYLE);
    const DWORD wanted = WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_HSCROLL | ES_MULTILINE;
    EXPECT_EQ(style & wanted, wanted);
    EXPECT_EQ(GetWindowLongA(EditorControl, GWL_EXSTYLE) & WS_EX_CLIENTEDGE, WS_EX_CLIENTEDGE);
    EXPECT_EQ(reinterpret_cast<HFONT>(SendMessageA(EditorControl, WM_GETFONT, 0, 0)),
              SuiteSettings.NormalFont);
    EXPECT_EQ(GetFocus(), EditorControl);
    EXPECT_EQ(EditorText(), "");

    RECT editor{}, main{}, status{};
    GetClientRect(MainWindow, &main);
    GetClientRect(StatusBar, &status);
    GetWindowRect(EditorControl, &editor);
    EXPECT_EQ(editor.right - editor.left, main.right);
    EXPECT_EQ(editor.bottom - editor.top, main.bottom - status.bottom);
}

TEST_F(StartUp, EditorTakesTypingInTextsLongerThanTheSystemDefaultLimit) {
    EditorSession session;
    SetEditorText(std::string(100000, 'x'), false);
    SendMessageA(EditorControl, EM_SETSEL, 5, 5);
    SendMessageA(EditorControl, WM_CHAR, 'a', 0);
    EXPECT_EQ(GetWindowTextLengthA(EditorControl), 100001);
    EXPECT_EQ(EditorText().substr(4, 3), "xax");
}

TEST_F(StartUp, SharedFontsAreVerdanaAndTahomaAtCellHeight16) {
    EditorSession session;
    LOGFONTA normal{}, bold{};
    ASSERT_TRUE(GetObjectA(SuiteSettings.NormalFont, sizeof normal, &normal));
    ASSERT_TRUE(GetObjectA(SuiteSettings.BoldFont, sizeof bold, &bold));
    EXPECT_EQ(normal.lfHeight, 16);
    EXPECT_EQ(normal.lfWeight, 400);
    EXPECT_EQ(normal.lfCharSet, DEFAULT_CHARSET);
    EXPECT_STREQ(normal.lfFaceName, "Verdana");
    EXPECT_EQ(bold.lfHeight, 16);
    EXPECT_EQ(bold.lfWeight, 700);
    EXPECT_STREQ(bold.lfFaceName, "Tahoma");
}

TEST_F(StartUp, ReadsTheSuiteSettings) {
    SetRegistryText(HKEY_LOCAL_MACHINE,
                    "SOFTWARE\\Bullfrog Productions Ltd\\Populous: The Beginning", "InstallPath",
                    "C:\\Games\\Populous");
    {
        EditorSession session;
        EXPECT_EQ(SuiteSettings.SuiteName, "Tessarine");
        EXPECT_EQ(SuiteSettings.ProgramKeyPath, "SOFTWARE\\Velkaro\\Tessarine");
        EXPECT_EQ(SuiteSettings.ProgramDirectory, "C:\\Velkaro");
        EXPECT_EQ(SuiteSettings.GameDirectory, "C:\\Games\\Populous");
        EXPECT_FALSE(SuiteSettings.DocumentsDirectory.empty());
        EXPECT_FALSE(SuiteSettings.FirstRun);
    }
    DeleteRegistryTree(HKEY_LOCAL_MACHINE, "SOFTWARE\\Bullfrog Productions Ltd");
    EditorSession session;
    EXPECT_EQ(SuiteSettings.GameDirectory, "");
    EXPECT_EQ(SuiteSettings.ProgramDirectory, "C:\\Velkaro");
}

TEST_F(StartUp, ValuesThatDoNotFitTheirBuffersReadAsEmpty) {
    SetRegistryText(HKEY_LOCAL_MACHINE, kTestSuiteKey, "Tessarine", std::string(255, 'p'));
    {
        EditorSession session;
        EXPECT_EQ(SuiteSettings.ProgramDirectory, std::string(255, 'p'));
    }
    BoxWatcher watcher;
    watcher.ExpectButton(IDOK);
    SetRegistryText(HKEY_LOCAL_MACHINE, kTestSuiteKey, "Tessarine", std::string(256, 'p'));
    EditorSession session;
    EXPECT_EQ(SuiteSettings.ProgramDirectory, "");
    EXPECT_EQ(watcher.Seen().size(), 1u); // the installation warning
}

TEST_F(StartUp, FirstRunFlagIsReadAndClearedBeforeTheGreeting) {
    SetRegistryText(HKEY_LOCAL_MACHINE, kTestProgramKey, "EersteKeer", "1");
    BoxWatcher watcher;
    watcher.ExpectButton(IDCANCEL); // No, in the greeting
    EditorSession session;
    EXPECT_TRUE(SuiteSettings.FirstRun);
    EXPECT_EQ(GetRegistryBytes(HKEY_LOCAL_MACHINE, kTestProgramKey, "EersteKeer"),
              std::string(1, '\0'));
}

TEST_F(StartUp, FirstRunFlagEmptyMissingOrTooLongIsNoFirstRun) {
    for (const char* flag : {"", "12345"}) {
        SetRegistryText(HKEY_LOCAL_MACHINE, kTestProgramKey, "EersteKeer", flag);
        EditorSession session;
        EXPECT_FALSE(SuiteSettings.FirstRun) << "flag \"" << flag << "\"";
        // Reading leaves the flag alone.
        EXPECT_EQ(GetRegistryBytes(HKEY_LOCAL_MACHINE, kTestProgramKey, "EersteKeer")->c_str(),
                  std::string(flag));
    }
    SetRegistryText(HKEY_LOCAL_MACHINE, kTestProgramKey, "EersteKeer", "123");
    BoxWatcher watcher;
    watcher.ExpectButton(IDCANCEL); // No, in the greeting
    EditorSession session;
    EXPECT_TRUE(SuiteSettings.FirstRun);
}

TEST_F(StartUp, WarnsWhenTheProgramDirectoryIsMissingAndRunsOn) {
    UninstallSuite();
    BoxWatcher watcher;
    watcher.ExpectButton(IDOK);
    EditorSession session;
    ASSERT_TRUE(session.Started());
    const auto seen = watcher.Seen();
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].caption, "Error");
    EXPECT_EQ(seen[0].text, std::string("Scribane isn't properly installed. Please run the "
                                        "installation again. If neccessary, you can download "
                                        "the installation programme from ") +
                                kSuiteWebAddress);
    EXPECT_EQ(seen[0].owner, nullptr);
    EXPECT_EQ(seen[0].buttons, std::vector<int>{IDOK});
    EXPECT_EQ(seen[0].icon, LoadIconA(nullptr, IDI_WARNING));
    // Shown before the status bar and the editor exist; both follow once it closes.
    EXPECT_NE(StatusBar, nullptr);
    EXPECT_NE(EditorControl, nullptr);
    EXPECT_EQ(StatusText(0), "(Unsaved)");
}

TEST_F(StartUp, NoWarningWhenInstalled) {
    BoxWatcher watcher;
    EditorSession session;
    EXPECT_TRUE(watcher.Seen().empty());
}
