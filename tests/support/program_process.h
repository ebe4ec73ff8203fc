#pragma once
// Runs the real scribane.exe as a user would, in a process of its own.
#include <windows.h>
#include <string>

class ProgramProcess {
  public:
    // Starts `program` (by default scribane.exe, built beside the tests' folder) with
    // `arguments`.
    explicit ProgramProcess(const std::string& arguments = "", std::string program = "");
    ~ProgramProcess(); // ends the program if it is still running
    ProgramProcess(const ProgramProcess&) = delete;
    ProgramProcess& operator=(const ProgramProcess&) = delete;

    DWORD Id() const { return info_.dwProcessId; }

    // The program's main window, once it is shown (nullptr after `timeoutMs`).
    HWND WaitForMainWindow(DWORD timeoutMs = 15000) const;

    // Waits for the program to end; returns its exit code, or STILL_ACTIVE.
    DWORD WaitForExit(DWORD timeoutMs = 15000) const;

  private:
    PROCESS_INFORMATION info_{};
};

// The editor control inside a main window of another process.
HWND EditorOf(HWND mainWindow);
