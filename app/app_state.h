#pragma once
// The editor's process-wide windows. Created once during start-up and alive until
// the process ends.
#include <windows.h>

extern HINSTANCE ModuleInstance;
extern HWND MainWindow;
extern HMENU FileMenu; // the File popup, whose recent entries change after each load
extern HWND StatusBar; // part 0: the file name; part 1: the modified indicator
extern HWND EditorControl;

// The window class name and the title of the main window.
inline constexpr char kProgramName[] = "Scribane";
