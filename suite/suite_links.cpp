#include "suite/suite_links.h"

#include "platform/registry.h"
#include "suite/suite_settings.h"
#include "suite/suite_table.h"

namespace {
const DWORD kToolCommandCapacity = 1000;
}

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
        WinExec(commandLine.c_str(), SW_SHOW);
}

void ShowHelp(const char* topic) {
    WinExec(HelpCommandLine(SuiteSettings.ProgramDirectory, topic).c_str(), SW_SHOW);
}

void OpenWebSite() {
    WinExec(WebSiteCommandLine().c_str(), SW_SHOW);
}
