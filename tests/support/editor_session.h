#pragma once
// Runs the editor's start-up inside the test process, so a test can drive the real
// main window, and takes it down again afterwards.
#include <windows.h>
#include <string>

class EditorSession {
  public:
    // `commandLine` is the whole command line, program name first.
    explicit EditorSession(const std::string& commandLine = "scribane.exe");
    ~EditorSession();
    EditorSession(const EditorSession&) = delete;
    EditorSession& operator=(const EditorSession&) = delete;

    bool Started() const { return started_; }

  private:
    bool started_ = false;
};

// Handles the messages waiting for this thread, for about `ms` milliseconds.
void PumpMessages(DWORD ms = 50);

// Sends WM_COMMAND `command` to the main window, as a menu choice does.
void SendCommand(unsigned command);

std::string EditorText();
// Puts `text` into the editor and sets its modified flag to `modified`.
void SetEditorText(const std::string& text, bool modified);
bool EditorModified();
std::string StatusText(int part);
std::string MainWindowTitle();
