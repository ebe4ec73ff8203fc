// Stands in for a program the editor starts: writes the environment it was given to
// "environment.txt" beside itself, a variable a line, then appends the command line it was
// given to "launches.txt".
#include <windows.h>

#include <fstream>
#include <string>

int main() {
    char path[MAX_PATH] = "";
    GetModuleFileNameA(nullptr, path, sizeof path);
    const std::string folder(path, strrchr(path, '\\') + 1);
    std::ofstream environment(folder + "environment.txt", std::ios::binary);
    const char* block = GetEnvironmentStringsA();
    for (const char* variable = block; *variable; variable += strlen(variable) + 1)
        environment << variable << "\r\n";
    FreeEnvironmentStringsA(const_cast<char*>(block));
    environment.close();
    std::ofstream(folder + "launches.txt", std::ios::app | std::ios::binary)
        << GetCommandLineA() << "\r\n";
}
