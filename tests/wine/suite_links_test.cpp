// The editor's links to the rest of its suite: the Programmes menu built from the
// registry, and the programs the editor starts for a sibling tool, the help and the
// web page. Recording programs stand in for those, where WinExec finds them first.
#include <gtest/gtest.h>
#include <windows.h>
#include "document/search.h"
#include "suite/suite_table.h"

#include <string>
#include <vector>

#include "platform/app_state.h"
#include "resources/resource_ids.h"
#include "suite/suite_links.h"
#include "suite/suite_settings.h"
#include "support/box_watcher.h"
#include "support/editor_session.h"
#include "support/menu_layout.h"
#include "support/test_files.h"

namespace {

using Layout = std::vector<std::string>;

const Layout kBarWithoutProgrammes{"popup &File", "popup &Edit", "popup &Help"};
const Layout kBarWithProgrammes{"popup &File", "popup &Edit", "popup &Programmes", "popup &Help"};

// The names the recording program is copied to: the help viewer, the shell and a
// sibling tool.
const char* const kStandIns[] = {"Hh.exe", "Explorer.exe", "huevellan.exe"};

std::string LaunchLog() {
    return TestProgramFolder() + "launches.txt";
}

class SuiteLinks : public ::testing::Test {
  protected:
    void SetUp() override {
        InstallSuite("C:\\Velkaro");
        DeleteFileA(LaunchLog().c_str());
    }
    void TearDown() override {
        UninstallSuite();
        // A stand-in may still be on its way out; give it a moment to let go.
        for (const char* name : kStandIns) {
            const std::string copy = TestProgramFolder() + name;
            for (int attempt = 0; attempt < 50 && FileExists(copy); ++attempt)
                if (!DeleteFileA(copy.c_str()))
                    Sleep(100);
        }
        DeleteFileA(LaunchLog().c_str());
    }
};

void RegisterTool(const char* suiteName, const std::string& value) {
    SetRegistryText(HKEY_LOCAL_MACHINE, kTestSuiteKey, suiteName, value);
}

void InstallStandIns() {
    const std::string recorder = TestProgramFolder() + "launch_recorder.exe";
    for (const char* name : kStandIns)
        ASSERT_TRUE(CopyFileA(recorder.c_str(), (TestProgramFolder() + name).c_str(), FALSE))
            << name;
}

std::vector<std::string> LoggedLaunches() {
    std::vector<std::string> lines;
    const std::string log = ReadFileBytes(LaunchLog());
    size_t start = 0;
    for (size_t end; (end = log.find("\r\n", start)) != std::string::npos; start = end + 2)
        lines.push_back(log.substr(start, end - start));
    return lines;
}

// The command lines the stand-ins were started with, once `count` of them have been
// logged (or after ten seconds), and after a short wait for any unexpected extra one.
std::vector<std::string> WaitForLaunches(size_t count) {
    for (int waited = 0; waited < 100 && LoggedLaunches().size() < count; ++waited)
        PumpMessages(100);
    PumpMessages(300);
    return LoggedLaunches();
}

} // namespace

TEST_F(SuiteLinks, NoSiblingToolsLeavesTheProgrammesMenuOff) {
    EditorSession session;
    EXPECT_EQ(MenuLayout(GetMenu(MainWindow)), kBarWithoutProgrammes);
}

TEST_F(SuiteLinks, RowsTwoAndFourRegisteredListTheirToolsInOrder) {
    RegisterTool("Lexorith", "C:\\Velkaro\\Lexorith");
    RegisterTool("Huevellan", "C:\\Velkaro\\Huevellan");
    EditorSession session;
    EXPECT_EQ(MenuLayout(GetMenu(MainWindow)), kBarWithProgrammes);
    EXPECT_EQ(MenuLayout(MenuBarPopup("&Programmes")), (Layout{"592 Huevellan", "594 Lexorith"}));
}

TEST_F(SuiteLinks, EveryToolButTheEditorItselfIsListed) {
    for (const char* name : {"Terracant", "Huevellan", "Brasquel", "Lexorith"})
        RegisterTool(name, "");
    EditorSession session;
    // "Tessarine" is set too, by the installation, and never lists the editor.
    EXPECT_EQ(MenuLayout(MenuBarPopup("&Programmes")),
              (Layout{"591 Terracant", "592 Huevellan", "593 Brasquel", "594 Lexorith"}));

    // The row skipped is the one named like the suite name the editor runs under.
    SuiteSettings.SuiteName = "Huevellan";
    HMENU menu = CreatePopupMenu();
    BuildProgrammesMenu(menu);
    EXPECT_EQ(MenuLayout(menu),
              (Layout{"591 Terracant", "593 Brasquel", "594 Lexorith", "595 Scribane"}));
    DestroyMenu(menu);
}

TEST_F(SuiteLinks, OnlyTheSuiteNameValueMarksAToolAsInstalled) {
    RegisterTool("Huevellan Prog", "huevellan.exe");
    EditorSession session;
    EXPECT_EQ(MenuLayout(GetMenu(MainWindow)), kBarWithoutProgrammes);
}

TEST_F(SuiteLinks, AValueTooLongToReadLeavesItsToolOut) {
    RegisterTool("Huevellan", "C:\\" + std::string(297, 'h'));
    RegisterTool("Lexorith", "C:\\" + std::string(252, 'l')); // 255 characters still fit
    {
        EditorSession session;
        EXPECT_EQ(MenuLayout(MenuBarPopup("&Programmes")), (Layout{"594 Lexorith"}));
    }
    RegisterTool("Lexorith", "C:\\" + std::string(297, 'l'));
    EditorSession session;
    EXPECT_EQ(MenuLayout(GetMenu(MainWindow)), kBarWithoutProgrammes);
}

TEST_F(SuiteLinks, ChoosingAToolStartsItsRegisteredCommandLine) {
    InstallStandIns();
    RegisterTool("Huevellan", "C:\\Velkaro\\Huevellan");
    RegisterTool("Huevellan Prog", "huevellan.exe --from-suite");
    // Brasquel has no command line, and Lexorith's does not fit in 1000 bytes.
    RegisterTool("Brasquel", "C:\\Velkaro\\Brasquel");
    RegisterTool("Lexorith", "C:\\Velkaro\\Lexorith");
    RegisterTool("Lexorith Prog", "huevellan.exe " + std::string(990, 'x'));
    EditorSession session;
    SendCommand(593);
    SendCommand(594);
    SendCommand(592);
    EXPECT_EQ(WaitForLaunches(1), (Layout{"huevellan.exe --from-suite"}));
}

TEST_F(SuiteLinks, ACommandLineOf999CharactersStillStarts) {
    InstallStandIns();
    const std::string line = "huevellan.exe " + std::string(985, 'x');
    RegisterTool("Huevellan Prog", line);
    EditorSession session;
    LaunchSuiteTool(592);
    EXPECT_EQ(WaitForLaunches(1), (Layout{line}));
}

TEST_F(SuiteLinks, HelpOpensTheHelpFileOnItsDefaultPageOrATopic) {
    InstallStandIns();
    EditorSession session;
    SendCommand(CMD_HELP);
    ASSERT_EQ(WaitForLaunches(1).size(), 1u);
    SendCommand(CMD_QUICK_INTRO);
    EXPECT_EQ(WaitForLaunches(2),
              (Layout{"Hh.exe C:\\Velkaro\\Vellumdoc.chm",
                      "Hh.exe C:\\Velkaro\\Vellumdoc.chm::/INF/QuickStart.htm"}));
}

TEST_F(SuiteLinks, HelpWithoutAProgramDirectoryStartsAtTheRoot) {
    InstallStandIns();
    InstallSuite("");
    BoxWatcher watcher;
    watcher.ExpectButton(IDOK); // the installation warning
    EditorSession session;
    ASSERT_EQ(SuiteSettings.ProgramDirectory, "");
    SendCommand(CMD_HELP);
    ASSERT_EQ(WaitForLaunches(1).size(), 1u);
    SendCommand(CMD_QUICK_INTRO);
    EXPECT_EQ(WaitForLaunches(2),
              (Layout{"Hh.exe \\Vellumdoc.chm", "Hh.exe \\Vellumdoc.chm::/INF/QuickStart.htm"}));
}

TEST_F(SuiteLinks, TheWebLinkOpensTheSuitesPageInTheShell) {
    InstallStandIns();
    EditorSession session;
    SendCommand(CMD_WEB_SITE);
    EXPECT_EQ(WaitForLaunches(1), (Layout{"Explorer.exe http://velkaro.example/"}));
}
