// The floor of a start-up: the floor's window, painted, the file's text loaded as the floor
// loads it, and the message loop, which the benchmark ends.
//   scribane_floor.exe [FILE]
#include "floor.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    const HWND editor = CreateFloor();
    UpdateWindow(GetParent(editor));
    FloorLoad(editor, __argc > 1 ? __argv[1] : "");
    SetFocus(editor);
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0)
        DispatchMessageA(&message);
    return 0;
}
