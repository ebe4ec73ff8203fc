// The floor of a load, for the floor program and its twin in the benchmark: the file in one
// read, as UTF-16 in a moveable local block that `editor`, a Unicode EDIT control, takes as its
// buffer, the one it had freed. Does nothing when the file cannot be opened.
#pragma once
#include <windows.h>
#include <string>

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
