// The installer, run silently as a user's deployment tool would: what it installs and
// registers, the installed program's first start, and what the uninstaller leaves.
#include <gtest/gtest.h>
#include <windows.h>
#include "document/search.h"
#include "suite/suite_table.h"

#include "resources/resource_ids.h"
#include "support/box_watcher.h"
#include "support/program_process.h"
#include "support/test_files.h"

namespace {

const char kFolder[] = "C:\\Velkaro Test";

std::string Installer() {
    return TestProgramFolder() + "..\\dist\\scribane-2.0.11-setup.exe";
}

DWORD RunAndWait(const std::string& program, const std::string& arguments) {
    std::string commandLine = "\"" + program + "\" " + arguments;
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessA(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        nullptr, &startup, &process))
        return GetLastError();
    WaitForSingleObject(process.hProcess, 60000);
    DWORD code = STILL_ACTIVE;
    GetExitCodeProcess(process.hProcess, &code);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return code;
}

// Starts the installed program, answers what it shows with `answers`, and exits it.
std::vector<SeenBox> StartInstalledProgram(int firstRunAnswer) {
    ProgramProcess program("", std::string(kFolder) + "\\scribane.exe");
    BoxWatcher watcher(0, program.Id());
    if (firstRunAnswer)
        watcher.ExpectButton(firstRunAnswer);
    HWND window = program.WaitForMainWindow();
    EXPECT_NE(window, nullptr);
    PostMessageA(window, WM_COMMAND, CMD_EXIT, 0);
    EXPECT_EQ(program.WaitForExit(), 0u);
    return watcher.Seen();
}

} // namespace

TEST(Installer, InstallsRegistersGreetsOnceAndUninstallsCleanly) {
    if (!FileExists(Installer()))
        GTEST_SKIP() << "no installer was built (makensis or chmcmd missing)";
    UninstallSuite();
    // A sibling tool installed before, whose values must survive our uninstaller.
    SetRegistryText(HKEY_LOCAL_MACHINE, kTestSuiteKey, "Huevellan", "C:\\Velkaro");
    SetRegistryText(HKEY_LOCAL_MACHINE, kTestSuiteKey, "Huevellan Prog", "huevellan.exe");

    ASSERT_EQ(RunAndWait(Installer(), std::string("/S /D=") + kFolder), 0u);
    EXPECT_TRUE(FileExists(std::string(kFolder) + "\\scribane.exe"));
    EXPECT_TRUE(FileExists(std::string(kFolder) + "\\Vellumdoc.chm"));
    EXPECT_EQ(GetRegistryBytes(HKEY_LOCAL_MACHINE, kTestSuiteKey, "Tessarine")->c_str(),
              std::string(kFolder));
    EXPECT_EQ(GetRegistryBytes(HKEY_LOCAL_MACHINE, kTestProgramKey, "EersteKeer")->c_str(),
              std::string("1"));

    // The first start greets once and warns of nothing; the second start is quiet.
    const auto first = StartInstalledProgram(IDCANCEL);
    ASSERT_EQ(first.size(), 1u);
    EXPECT_EQ(first[0].caption, "First time");
    EXPECT_TRUE(StartInstalledProgram(0).empty());

    // The user's recent list lives in the same key and is the user's own.
    SetRegistryText(HKEY_LOCAL_MACHINE, kTestProgramKey, "a", "C:\\Levels\\one.inf");
    ASSERT_EQ(RunAndWait(std::string(kFolder) + "\\Uninstall Scribane.exe",
                         std::string("/S _?=") + kFolder),
              0u);
    EXPECT_FALSE(FileExists(std::string(kFolder) + "\\scribane.exe"));
    EXPECT_FALSE(FileExists(std::string(kFolder) + "\\Vellumdoc.chm"));
    EXPECT_FALSE(GetRegistryBytes(HKEY_LOCAL_MACHINE, kTestSuiteKey, "Tessarine").has_value());
    EXPECT_FALSE(GetRegistryBytes(HKEY_LOCAL_MACHINE, kTestProgramKey, "EersteKeer").has_value());
    EXPECT_EQ(GetRegistryBytes(HKEY_LOCAL_MACHINE, kTestProgramKey, "a")->c_str(),
              std::string("C:\\Levels\\one.inf"));
    EXPECT_EQ(GetRegistryBytes(HKEY_LOCAL_MACHINE, kTestSuiteKey, "Huevellan Prog")->c_str(),
              std::string("huevellan.exe"));
    UninstallSuite();
}
