#pragma once
// The Programmes menu: the other tools of the suite that are installed, and
// starting them.
#include <windows.h>

// Appends an item for each installed sibling tool to `menu`; never the editor itself.
void BuildProgrammesMenu(HMENU menu);

// Starts the tool whose menu item carries `command` with the command line the
// suite's installer registered for it.
void LaunchSuiteTool(unsigned short command);
