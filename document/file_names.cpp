#include "document/file_names.h"

#include <windows.h>

#include "platform/file_handle.h"

namespace {

// The volume and the index the system gives the file `path`, which no other file on the
// machine shares; false when it cannot be opened.
bool IdentifyFile(const std::string& path, BY_HANDLE_FILE_INFORMATION& identity) {
    // No access asked, so a file any program holds open can be looked at; the flag lets
    // a folder be opened too.
    UniqueFile file(CreateFileA(path.c_str(), 0,
                                FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    return file && GetFileInformationByHandle(file.Get(), &identity);
}

} // namespace

std::string FullPathOf(const std::string& path) {
    const DWORD needed = GetFullPathNameA(path.c_str(), 0, nullptr, nullptr);
    if (needed == 0)
        return path;
    std::string full(needed, '\0');
    const DWORD length = GetFullPathNameA(path.c_str(), needed, full.data(), nullptr);
    if (length == 0 || length >= needed)
        return path;
    full.resize(length);
    return full;
}

bool PathExists(const std::string& path) {
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool IsSameFile(const std::string& one, const std::string& other) {
    BY_HANDLE_FILE_INFORMATION first{}, second{};
    if (IdentifyFile(one, first) && IdentifyFile(other, second))
        return first.dwVolumeSerialNumber == second.dwVolumeSerialNumber &&
               first.nFileIndexHigh == second.nFileIndexHigh &&
               first.nFileIndexLow == second.nFileIndexLow;
    return lstrcmpiA(FullPathOf(one).c_str(), FullPathOf(other).c_str()) == 0;
}
