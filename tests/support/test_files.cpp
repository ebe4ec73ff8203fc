#include "support/test_files.h"

#include <algorithm>
#include <fstream>
#include <iterator>
#include <vector>

void DeleteRegistryTree(HKEY root, const char* path) {
    RegDeleteTreeA(root, path);
    RegDeleteKeyA(root, path);
}

void SetRegistryBytes(HKEY root, const char* path, const char* name, const std::string& data) {
    HKEY key = nullptr;
    if (RegCreateKeyExA(root, path, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr) != 0)
        return;
    RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(data.data()),
                   static_cast<DWORD>(data.size()));
    RegCloseKey(key);
}

std::optional<std::string> GetRegistryBytes(HKEY root, const char* path, const char* name) {
    // The registry keeps texts as UTF-16; the wide query shows whether a NUL was stored,
    // which the narrow one hides by adding its own.
    HKEY key = nullptr;
    if (RegOpenKeyExA(root, path, 0, KEY_QUERY_VALUE, &key) != 0)
        return std::nullopt;
    std::wstring wideName(name, name + lstrlenA(name));
    DWORD size = 0;
    std::optional<std::string> value;
    if (RegQueryValueExW(key, wideName.c_str(), nullptr, nullptr, nullptr, &size) == 0) {
        std::vector<wchar_t> data(size / sizeof(wchar_t) + 1);
        if (RegQueryValueExW(key, wideName.c_str(), nullptr, nullptr,
                             reinterpret_cast<BYTE*>(data.data()), &size) == 0) {
            const int chars = static_cast<int>(size / sizeof(wchar_t));
            std::string narrow(chars * 2 + 1, '\0');
            const int length =
                WideCharToMultiByte(CP_ACP, 0, data.data(), chars, narrow.data(),
                                    static_cast<int>(narrow.size()), nullptr, nullptr);
            narrow.resize(length);
            value = narrow;
        }
    }
    RegCloseKey(key);
    return value;
}

void InstallSuite(const std::string& programDirectory) {
    UninstallSuite();
    SetRegistryText(HKEY_LOCAL_MACHINE, kTestSuiteKey, "Tessarine", programDirectory);
    HKEY own = nullptr;
    RegCreateKeyExA(HKEY_LOCAL_MACHINE, kTestProgramKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                    &own, nullptr);
    RegCloseKey(own);
}

void UninstallSuite() {
    DeleteRegistryTree(HKEY_LOCAL_MACHINE, kTestSuiteKey);
}

std::string FreshFolder(const std::string& name) {
    char temp[MAX_PATH] = "";
    GetTempPathA(sizeof temp, temp);
    const std::string folder = std::string(temp) + "scribane-" + name;
    // Empty it from an earlier run.
    WIN32_FIND_DATAA found;
    HANDLE find = FindFirstFileA((folder + "\\*").c_str(), &found);
    if (find != INVALID_HANDLE_VALUE) {
        do {
            const std::string item = folder + "\\" + found.cFileName;
            SetFileAttributesA(item.c_str(), FILE_ATTRIBUTE_NORMAL);
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                RemoveDirectoryA(item.c_str());
            else
                DeleteFileA(item.c_str());
        } while (FindNextFileA(find, &found));
        FindClose(find);
    }
    CreateDirectoryA(folder.c_str(), nullptr);
    return folder;
}

std::string ReadFileBytes(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

void WriteFileBytes(const std::string& path, const std::string& bytes) {
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

bool FileExists(const std::string& path) {
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::string TestProgramFolder() {
    char path[MAX_PATH] = "";
    GetModuleFileNameA(nullptr, path, sizeof path);
    std::string folder(path);
    return folder.substr(0, folder.rfind('\\') + 1);
}

std::vector<std::string> FolderContents(const std::string& folder) {
    std::vector<std::string> names;
    WIN32_FIND_DATAA found;
    HANDLE find = FindFirstFileA((folder + "\\*").c_str(), &found);
    if (find == INVALID_HANDLE_VALUE)
        return names;
    do {
        if (std::string(found.cFileName) != "." && std::string(found.cFileName) != "..")
            names.push_back(found.cFileName);
    } while (FindNextFileA(find, &found));
    FindClose(find);
    std::sort(names.begin(), names.end());
    return names;
}

std::optional<std::string> RecentEntry(const char* name) {
    auto bytes = GetRegistryBytes(HKEY_LOCAL_MACHINE, kTestProgramKey, name);
    if (bytes)
        bytes = bytes->c_str();
    return bytes;
}
