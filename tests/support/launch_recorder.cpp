// Stands in for a program the editor starts: appends "<its own path>|<its command line>" to the
// file that SCRIBANE_LAUNCHES names, which it finds only in the environment the editor gave it.
#include <windows.h>

#include <fstream>

int main() {
    char log[MAX_PATH] = "";
    char self[MAX_PATH] = "";
    if (!GetEnvironmentVariableA("SCRIBANE_LAUNCHES", log, sizeof log) ||
        !GetModuleFileNameA(nullptr, self, sizeof self))
        return 1;
    std::ofstream(log, std::ios::app | std::ios::binary)
        << self << "|" << GetCommandLineA() << "\r\n";
}
