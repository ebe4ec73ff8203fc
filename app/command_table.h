#pragma once
#include <windows.h>

// WM_COMMAND of the main window: an EN_CHANGE from any child refreshes the modified
// indicator; otherwise the command in the low word runs.
void HandleCommand(WPARAM wParam);

// Runs one menu command; identifiers without an action do nothing.
void RunCommand(unsigned command);
