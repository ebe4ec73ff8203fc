// Stands in for a program the editor starts: appends the command line it was given to
// "launches.txt" beside itself.
#include <windows.h>
#include <string>

int main() {
    char path[MAX_PATH] = "";
    GetModuleFileNameA(nullptr, path, sizeof path);
    const std::string line = GetCommandLineA() + std::string("\r\n");
    HANDLE log = CreateFileA((std::string(path, strrchr(path, '\\') + 1) + "launches.txt").c_str(),
                             FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                             OPEN_ALWAYS, 0, nullptr);
    DWORD written = 0;
    return !WriteFile(log, line.data(), DWORD(line.size()), &written, nullptr) || !CloseHandle(log);
}
