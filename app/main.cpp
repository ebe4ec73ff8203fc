#include <windows.h>

#include "app/app_state.h"
#include "app/startup.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    ModuleInstance = instance;
    if (!StartEditor(GetCommandLineA()))
        return 0;
    return RunMessageLoop();
}
