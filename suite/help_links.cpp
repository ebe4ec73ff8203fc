#include "suite/help_links.h"

#include <windows.h>

#include "suite/suite_settings.h"
#include "suite/suite_table.h"

void ShowHelp(const char* topic) {
    WinExec(HelpCommandLine(SuiteSettings.ProgramDirectory, topic).c_str(), SW_SHOW);
}

void OpenWebSite() {
    WinExec(WebSiteCommandLine().c_str(), SW_SHOW);
}
