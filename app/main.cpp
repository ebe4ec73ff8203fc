#include <windows.h>

#include "platform/app_state.h"
#include "app/startup.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    ModuleInstance = instance;
    if (!StartEditor(GetCommandLineA()))
        return 0;
    return RunMessageLoop();
}
