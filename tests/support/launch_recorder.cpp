// Stands in for a program the editor starts: appends "<its own path>|<its command line>" to the
// file that SCRIBANE_LAUNCHES names, and writes the environment it was given beside that file,
// to "environment.txt", a variable a line.
#include <windows.h>

#include <fstream>
#include <string>

int main() {
    char log[MAX_PATH] = "";
    char self[MAX_PATH] = "";
    if (!GetEnvironmentVariableA("SCRIBANE_LAUNCHES", log, sizeof log) ||
        !GetModuleFileNameA(nullptr, self, sizeof self))
        return 1;
    const std::string folder(log, strrchr(log, '\\') + 1);
    std::ofstream environment(folder + "environment.txt", std::ios::binary);
    const char* block = GetEnvironmentStringsA();
    for (const char* variable = block; *variable; variable += strlen(variable) + 1)
        environment << variable << "\r\n";
    FreeEnvironmentStringsA(const_cast<char*>(block));
    environment.close();
    std::ofstream(log, std::ios::app | std::ios::binary)
        << self << "|" << GetCommandLineA() << "\r\n";
}
