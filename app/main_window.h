#pragma once
#include <windows.h>

// The window procedure of the main window.
LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Fits the editor and the status bar to the main window's client area.
void LayOutMainWindow();

// The calls that tell Windows why the session waits for the editor. Some systems that
// run it have them only as stubs that report nothing back, so tests put stand-ins here.
struct ShutdownReasonCalls {
    decltype(&ShutdownBlockReasonCreate) Create = ShutdownBlockReasonCreate;
    decltype(&ShutdownBlockReasonDestroy) Destroy = ShutdownBlockReasonDestroy;
};
extern ShutdownReasonCalls ShutdownReason;
