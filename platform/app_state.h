#pragma once
// The editor's process-wide windows. Created once during start-up and alive until
// the process ends; every layer above reaches the editor's windows through these.
#include <windows.h>

extern HINSTANCE ModuleInstance;
extern HWND MainWindow;
extern HMENU FileMenu; // the File popup, whose recent entries change after each load
extern HWND StatusBar; // part 0: the file name; part 1: the modified indicator
extern HWND EditorControl;

// Forgets every handle, as before start-up; for a second start-up in one process.
void ResetAppState();
