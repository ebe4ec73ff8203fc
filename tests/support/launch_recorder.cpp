// Stands in for a program the editor starts: appends the command line it was given to
// "launches.txt" beside itself, one line per start.
#include <windows.h>
#include <string>

int main() {
    char path[MAX_PATH] = "";
    GetModuleFileNameA(nullptr, path, sizeof path);
    const std::string log = std::string(path, strrchr(path, '\\') + 1) + "launches.txt";
    const std::string line = std::string(GetCommandLineA()) + "\r\n";
    HANDLE file = CreateFileA(log.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE,
                              nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    DWORD written = 0;
    WriteFile(file, line.data(), DWORD(line.size()), &written, nullptr);
    return !CloseHandle(file);
}
