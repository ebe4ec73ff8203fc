#include "support/program_process.h"

#include "support/test_files.h"

ProgramProcess::ProgramProcess(const std::string& arguments, std::string program) {
    if (program.empty())
        program = TestProgramFolder() + "..\\scribane.exe";
    std::string commandLine = "\"" + program + "\"";
    if (!arguments.empty())
        commandLine += " " + arguments;
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    CreateProcessA(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                   nullptr, &startup, &info_);
}

ProgramProcess::~ProgramProcess() {
    if (!info_.hProcess)
        return;
    if (WaitForSingleObject(info_.hProcess, 0) == WAIT_TIMEOUT) {
        TerminateProcess(info_.hProcess, 1);
        WaitForSingleObject(info_.hProcess, 5000);
    }
    CloseHandle(info_.hThread);
    CloseHandle(info_.hProcess);
}

namespace {
struct Search {
    DWORD processId;
    HWND found;
};

BOOL CALLBACK FindMainWindow(HWND window, LPARAM lParam) {
    auto* search = reinterpret_cast<Search*>(lParam);
    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    char className[64] = "";
    GetClassNameA(window, className, sizeof className);
    if (processId == search->processId && lstrcmpA(className, "Scribane") == 0 &&
        IsWindowVisible(window) && GetWindow(window, GW_CHILD)) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}
} // namespace

HWND ProgramProcess::WaitForMainWindow(DWORD timeoutMs) const {
    for (DWORD waited = 0; waited <= timeoutMs; waited += 50) {
        Search search{info_.dwProcessId, nullptr};
        EnumWindows(FindMainWindow, reinterpret_cast<LPARAM>(&search));
        // Ready once the editor exists and holds the focus, the last step before the loop.
        if (search.found && EditorOf(search.found) && WaitForInputIdle(info_.hProcess, 0) == 0)
            return search.found;
        if (WaitForSingleObject(info_.hProcess, 50) == WAIT_OBJECT_0)
            return nullptr;
    }
    return nullptr;
}

DWORD ProgramProcess::WaitForExit(DWORD timeoutMs) const {
    WaitForSingleObject(info_.hProcess, timeoutMs);
    DWORD code = STILL_ACTIVE;
    GetExitCodeProcess(info_.hProcess, &code);
    return code;
}

HWND EditorOf(HWND mainWindow) {
    return FindWindowExA(mainWindow, nullptr, "Edit", nullptr);
}
