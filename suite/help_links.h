#pragma once
// The suite's help file and web page, opened in the help viewer and the shell.

// The quick introduction inside the help file.
inline constexpr char kQuickStartTopic[] = "INF/QuickStart.htm";

// Opens the suite's help file on `topic`, or on its default page when it is empty.
void ShowHelp(const char* topic);

// Opens the suite's web page.
void OpenWebSite();
