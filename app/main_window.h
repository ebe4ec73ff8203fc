#pragma once
#include <windows.h>

// The window procedure of the main window.
LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Fits the editor and the status bar to the main window's client area.
void LayOutMainWindow();
