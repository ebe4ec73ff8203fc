// Stands in for a program the editor starts: appends the command line it was given to
// "launches.txt" beside itself.
#include <windows.h>

#include <fstream>
#include <string>

int main() {
    char path[MAX_PATH] = "";
    GetModuleFileNameA(nullptr, path, sizeof path);
    std::ofstream(std::string(path, strrchr(path, '\\') + 1) + "launches.txt",
                  std::ios::app | std::ios::binary)
        << GetCommandLineA() << "\r\n";
}
