#include "app/app_state.h"

HINSTANCE ModuleInstance = nullptr;
HWND MainWindow = nullptr;
HMENU FileMenu = nullptr;
HWND StatusBar = nullptr;
HWND EditorControl = nullptr;
