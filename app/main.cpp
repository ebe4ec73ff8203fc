#include <windows.h>

#include "app/startup.h"
#include "platform/app_state.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    ModuleInstance = instance;
    if (!StartEditor(GetCommandLineA()))
        return 0;
    return RunMessageLoop();
}
