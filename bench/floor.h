// The floor, shared by the floor program and the benchmark's in-process twin of it: a plain
// window holding a Unicode EDIT control of the editor's styles and font, Verdana 16, and the
// load of a file: one read, the text as UTF-16 in a moveable local block that the control takes
// as its buffer (EM_SETHANDLE), the one it had freed.
#pragma once
#include <windows.h>
#include <string>

inline HWND CreateFloor() {
    const HWND window = CreateWindowExA(0, "STATIC", "Floor", WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                                        CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT,
                                        nullptr, nullptr, nullptr, nullptr);
    RECT client{};
    GetClientRect(window, &client);
    const HWND editor =
        CreateWindowExW(WS_EX_CLIENTEDGE, L"EDIT", L"",
                        WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_HSCROLL | ES_MULTILINE, 0, 0,
                        client.right, client.bottom, window, nullptr, nullptr, nullptr);
    const HFONT font = CreateFontA(16, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, 0,
                                   0, 0, 0, "Verdana");
    SendMessageW(editor, WM_SETFONT, reinterpret_cast<WPARAM>(font), 0);
    return editor;
}

// The load; does nothing when the file cannot be opened.
inline void FloorLoad(HWND editor, const char* path) {
    const HANDLE file =
        CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return;
    std::string bytes(GetFileSize(file, nullptr), '\0');
    DWORD read = 0;
    ReadFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr);
    CloseHandle(file);
    const HLOCAL text = LocalAlloc(LMEM_MOVEABLE, (read + 1) * sizeof(WCHAR));
    auto* const wide = static_cast<WCHAR*>(LocalLock(text));
    wide[MultiByteToWideChar(CP_ACP, 0, bytes.data(), static_cast<int>(read), wide,
                             static_cast<int>(read))] = L'\0';
    LocalUnlock(text);
    LocalFree(reinterpret_cast<HLOCAL>(SendMessageW(editor, EM_GETHANDLE, 0, 0)));
    SendMessageW(editor, EM_SETHANDLE, reinterpret_cast<WPARAM>(text), 0);
}
