#pragma once
// The editor's links to the rest of its suite: the Programmes menu of installed
// sibling tools and starting them, the suite's help file and its web page.
#include <windows.h>

// The quick introduction inside the help file.
inline constexpr char kQuickStartTopic[] = "INF/QuickStart.htm";

// Appends an item for each installed sibling tool to `menu`; never the editor itself.
void BuildProgrammesMenu(HMENU menu);

// Starts the tool whose menu item carries `command` with the command line the
// suite's installer registered for it.
void LaunchSuiteTool(unsigned short command);

// Opens the suite's help file on `topic`, or on its default page when it is empty.
void ShowHelp(const char* topic);

// Opens the suite's web page.
void OpenWebSite();
