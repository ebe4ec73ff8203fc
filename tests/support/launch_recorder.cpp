// Stands in for a started program: appends "<its path>|<its command line>" to SCRIBANE_LAUNCHES.
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
