#pragma once
// Reads a menu back item by item, so a test can compare a whole menu at once.
#include <windows.h>
#include <string>
#include <vector>

// One line per item, by position: "101 &New" for a command, "107 (Empty) grayed" for
// a grayed one, "---" for a separator and "popup &File" for a popup.
std::vector<std::string> MenuLayout(HMENU menu);

// The popup of the main window's menu bar captioned `caption`, or nullptr.
HMENU MenuBarPopup(const char* caption);
