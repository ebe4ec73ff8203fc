// The floor of a start-up: a plain window, a Unicode EDIT control of the editor's styles and
// font, Verdana 16 (or Notepad's default font with -notepad-font), the file's text handed to
// the control as its buffer (EM_SETHANDLE), and the message loop, which the benchmark ends.
//   scribane_floor.exe [-notepad-font] [FILE]
#include "floor_load.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    const bool notepadFont = __argc > 1 && std::string(__argv[1]) == "-notepad-font";
    const HWND window = CreateWindowExA(0, "STATIC", "Floor", WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                                        CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT,
                                        nullptr, nullptr, instance, nullptr);
    RECT client{};
    GetClientRect(window, &client);
    const HWND editor =
        CreateWindowExW(WS_EX_CLIENTEDGE, L"EDIT", L"",
                        WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_HSCROLL | ES_MULTILINE, 0, 0,
                        client.right, client.bottom, window, nullptr, instance, nullptr);
    const HFONT font = CreateFontA(notepadFont ? -12 : 16, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE,
                                   DEFAULT_CHARSET, 0, 0, 0, notepadFont ? FIXED_PITCH : 0,
                                   notepadFont ? "System" : "Verdana");
    SendMessageW(editor, WM_SETFONT, reinterpret_cast<WPARAM>(font), 0);
    UpdateWindow(window);
    FloorLoad(editor, __argc > 1 + notepadFont ? __argv[1 + notepadFont] : "");
    SetFocus(editor);
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0)
        DispatchMessageA(&message);
    return 0;
}
