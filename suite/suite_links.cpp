#include "suite/suite_links.h"

#include "platform/registry.h"
#include "suite/suite_settings.h"
#include "suite/suite_table.h"

namespace {
const DWORD kToolCommandCapacity = 1000;

// A bare program name is looked for beside the editor, in the system's folders and on the
// PATH, never in the current folder: a level opened from a downloaded folder may have brought
// a program named like a tool or the help viewer with it.
void StartProgram(const std::string& commandLine) {
    SetEnvironmentVariableA("NoDefaultCurrentDirectoryInExePath", "1");
    WinExec(commandLine.c_str(), SW_SHOW);
}
} // namespace

void BuildProgrammesMenu(HMENU menu) {
    const RegistryKey suite(HKEY_LOCAL_MACHINE, kSuiteKeyPath, KEY_QUERY_VALUE);
    for (const SuiteTool& tool : kSuiteTools) {
        if (SuiteSettings.SuiteName == tool.SuiteName)
            continue;
        // Only whether the value can be read counts; one too long to read leaves the
        // tool out.
        if (ReadRegistryText(suite, tool.SuiteName, kSettingCapacity).Result == ERROR_SUCCESS)
            AppendMenuA(menu, MF_STRING, tool.Command, tool.Caption);
    }
}

void LaunchSuiteTool(unsigned short command) {
    const SuiteTool* tool = FindSuiteTool(command);
    if (!tool)
        return;
    const RegistryKey suite(HKEY_LOCAL_MACHINE, kSuiteKeyPath, KEY_QUERY_VALUE);
    const std::string commandLine =
        ReadRegistryText(suite, tool->PathValue, kToolCommandCapacity).Text;
    if (!commandLine.empty())
        StartProgram(commandLine);
}

void ShowHelp(const char* topic) {
    StartProgram(HelpCommandLine(SuiteSettings.ProgramDirectory, topic));
}

void OpenWebSite() {
    StartProgram(WebSiteCommandLine());
}
