#pragma once
#include <windows.h>

// Start-up up to the message loop: suite settings and fonts, the window class, the
// main window with its menu bar, the first-run dialog, the installation warning, the
// status bar, the editor and the file named on `commandLine` (the whole command line,
// program name first). Returns false when the class or the main window could not be
// made; the reason has been shown.
bool StartEditor(const char* commandLine);

// Runs the message loop until WM_QUIT and returns the exit code it carries.
int RunMessageLoop();

// Turns a shortcut key pressed in the main window or its editor into the command it
// stands for, sent to the main window. Returns whether `message` was such a key.
bool TranslateEditorAccelerator(MSG& message);

// What the message loop does with each message: shortcut keys become commands, all
// else is translated and dispatched.
void DispatchEditorMessage(MSG& message);

bool RegisterMainClass();
bool CreateMainWindow();
void CreateStatusBar();
void CreateEditorControl();
