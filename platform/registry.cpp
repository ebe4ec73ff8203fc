#include "platform/registry.h"

#include <vector>

RegistryKey::RegistryKey(HKEY root, const char* path, REGSAM access) {
    HKEY key = nullptr;
    if (RegOpenKeyExA(root, path, 0, access, &key) == ERROR_SUCCESS)
        Reset(key);
}

RegistryText ReadRegistryText(const RegistryKey& key, const char* name, DWORD capacity) {
    RegistryText read;
    if (!key)
        return read;
    std::vector<char> buffer(capacity, '\0');
    DWORD size = capacity;
    read.Result = RegQueryValueExA(key.Get(), name, nullptr, nullptr,
                                   reinterpret_cast<BYTE*>(buffer.data()), &size);
    if (read.Result == ERROR_SUCCESS) {
        size = size < capacity ? size : capacity;
        read.Text.assign(buffer.data(), size);
        if (auto nul = read.Text.find('\0'); nul != std::string::npos)
            read.Text.resize(nul);
    }
    return read;
}

void WriteRegistryText(const RegistryKey& key, const char* name, std::string_view text) {
    if (!key)
        return;
    std::string data(text); // RegSetValueExA wants a pointer; the NUL is not stored
    RegSetValueExA(key.Get(), name, 0, REG_SZ, reinterpret_cast<const BYTE*>(data.c_str()),
                   static_cast<DWORD>(data.size()));
}
