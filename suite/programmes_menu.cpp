#include "suite/programmes_menu.h"

#include "platform/registry.h"
#include "suite/suite_settings.h"
#include "suite/suite_table.h"

namespace {
const DWORD kToolCommandCapacity = 1000;
}

void BuildProgrammesMenu(HMENU menu) {
    const RegistryKey suite(HKEY_LOCAL_MACHINE, kSuiteKeyPath, KEY_QUERY_VALUE);
    for (const SuiteTool& tool : kSuiteTools) {
        if (SuiteSettings.SuiteName == tool.suiteName)
            continue;
        // Only whether the value can be read counts; one too long to read leaves the
        // tool out.
        if (ReadRegistryText(suite, tool.suiteName, kSettingCapacity).result == ERROR_SUCCESS)
            AppendMenuA(menu, MF_STRING, tool.command, tool.caption);
    }
}

void LaunchSuiteTool(unsigned short command) {
    const SuiteTool* tool = FindSuiteTool(command);
    if (!tool)
        return;
    const RegistryKey suite(HKEY_LOCAL_MACHINE, kSuiteKeyPath, KEY_QUERY_VALUE);
    const std::string commandLine =
        ReadRegistryText(suite, tool->pathValue, kToolCommandCapacity).text;
    if (!commandLine.empty())
        WinExec(commandLine.c_str(), SW_SHOW);
}
