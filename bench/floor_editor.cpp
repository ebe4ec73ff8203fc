// The floor of a start-up: a plain window, a Unicode EDIT control of the editor's styles and
// font, Verdana 16 (or Notepad's default font with -notepad-font), the file's text handed to
// the control as its buffer (EM_SETHANDLE), and the message loop, which the benchmark ends.
//   scribane_floor.exe [-notepad-font] [FILE]
#include <windows.h>
#include <string>

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
    const char* const path = __argc > 1 + notepadFont ? __argv[1 + notepadFont] : "";
    const HANDLE file =
        CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file != INVALID_HANDLE_VALUE) {
        std::string bytes(GetFileSize(file, nullptr), '\0');
        DWORD read = 0;
        ReadFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr);
        CloseHandle(file);
        // The text as UTF-16 in a moveable local block, which the control takes as its buffer;
        // the one it had is freed.
        const HLOCAL text = LocalAlloc(LMEM_MOVEABLE, (read + 1) * sizeof(WCHAR));
        auto* const wide = static_cast<WCHAR*>(LocalLock(text));
        wide[MultiByteToWideChar(CP_ACP, 0, bytes.data(), static_cast<int>(read), wide,
                                 static_cast<int>(read))] = L'\0';
        LocalUnlock(text);
        LocalFree(reinterpret_cast<HLOCAL>(SendMessageW(editor, EM_GETHANDLE, 0, 0)));
        SendMessageW(editor, EM_SETHANDLE, reinterpret_cast<WPARAM>(text), 0);
    }
    SetFocus(editor);
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0)
        DispatchMessageA(&message);
    return 0;
}
