// The floor of a start-up: the least a program must do to show a file in an EDIT control
// made like Scribane's editor. One window, the control with the editor's styles and its
// Verdana 16 font, the file named on the command line read in one call and given to the
// control, the focus, the message loop. No menu, no status bar, no registry.
//   scribane_floor.exe [FILE]
#include <windows.h>
#include <memory>

namespace {

constexpr char kClassName[] = "ScribaneFloor";

HWND Editor = nullptr;

LRESULT CALLBACK FloorWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_SIZE: MoveWindow(Editor, 0, 0, LOWORD(lParam), HIWORD(lParam), TRUE); return 0;
    case WM_SETFOCUS: SetFocus(Editor); return 0;
    case WM_DESTROY: PostQuitMessage(0); return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

HFONT EditorFont() {
    LOGFONTA font{};
    font.lfHeight = 16;
    font.lfWeight = FW_NORMAL;
    font.lfCharSet = DEFAULT_CHARSET;
    lstrcpynA(font.lfFaceName, "Verdana", LF_FACESIZE);
    return CreateFontIndirectA(&font);
}

void LoadFile(const char* path) {
    const HANDLE file = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return;
    const DWORD size = GetFileSize(file, nullptr);
    std::unique_ptr<char[]> bytes(new char[size + 1]);
    DWORD read = 0;
    ReadFile(file, bytes.get(), size, &read, nullptr);
    CloseHandle(file);
    bytes[read] = '\0';
    SetWindowTextA(Editor, bytes.get());
}

} // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    const char* file = __argc > 1 ? __argv[1] : nullptr;

    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = FloorWindowProc;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    windowClass.lpszClassName = kClassName;
    RegisterClassA(&windowClass);
    const HWND window =
        CreateWindowExA(0, kClassName, "Floor", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT, CW_USEDEFAULT,
                        CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr, instance, nullptr);
    RECT client{};
    GetClientRect(window, &client);
    Editor = CreateWindowExA(WS_EX_CLIENTEDGE, "EDIT", "",
                             WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_HSCROLL | ES_MULTILINE, 0, 0,
                             client.right, client.bottom, window, nullptr, instance, nullptr);
    SendMessageA(Editor, WM_SETFONT, reinterpret_cast<WPARAM>(EditorFont()), 0);
    ShowWindow(window, SW_SHOW);
    UpdateWindow(window);
    if (file)
        LoadFile(file);
    SetFocus(Editor);

    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return 0;
}
