// The floor of a start-up: a plain window, an EDIT control of the editor's styles and font
// (with -notepad-font, Notepad's default font instead), the file read in one call and given
// to it, and the message loop, which the benchmark ends.
//   scribane_floor.exe [-notepad-font] [FILE]
#include <windows.h>
#include <cstring>
#include <memory>

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    const bool notepadFont = __argc > 1 && std::strcmp(__argv[1], "-notepad-font") == 0;
    const char* path = __argc > 1 + notepadFont ? __argv[1 + notepadFont] : "";
    const HWND window = CreateWindowExA(0, "STATIC", "Floor", WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                                        CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT,
                                        nullptr, nullptr, instance, nullptr);
    RECT client{};
    GetClientRect(window, &client);
    const HWND editor =
        CreateWindowExA(WS_EX_CLIENTEDGE, "EDIT", "",
                        WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_HSCROLL | ES_MULTILINE, 0, 0,
                        client.right, client.bottom, window, nullptr, instance, nullptr);
    const HFONT font = CreateFontA(notepadFont ? -12 : 16, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE,
                                   DEFAULT_CHARSET, 0, 0, 0, notepadFont ? FIXED_PITCH : 0,
                                   notepadFont ? "System" : "Verdana");
    SendMessageA(editor, WM_SETFONT, reinterpret_cast<WPARAM>(font), 0);
    UpdateWindow(window);
    const HANDLE file = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file != INVALID_HANDLE_VALUE) {
        const DWORD size = GetFileSize(file, nullptr);
        std::unique_ptr<char[]> bytes(new char[size + 1]);
        DWORD read = 0;
        ReadFile(file, bytes.get(), size, &read, nullptr);
        CloseHandle(file);
        bytes[read] = '\0';
        SetWindowTextA(editor, bytes.get());
    }
    SetFocus(editor);
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0)
        DispatchMessageA(&message);
    return 0;
}
