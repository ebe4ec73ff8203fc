#include "platform/app_state.h"

HINSTANCE ModuleInstance = nullptr;
HWND MainWindow = nullptr;
HMENU FileMenu = nullptr;
HWND StatusBar = nullptr;
HWND EditorControl = nullptr;

void ResetAppState() {
    MainWindow = nullptr;
    FileMenu = nullptr;
    StatusBar = nullptr;
    EditorControl = nullptr;
}
