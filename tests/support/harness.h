#pragma once
// What the Windows tests share: the registry and files they set up, the boxes the editor
// shows answered as a user would, the editor started in the test's own process, and the
// real program in a process of its own.
#include <windows.h>
#include <gtest/gtest.h>

#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

inline constexpr char kSuiteKey[] = "SOFTWARE\\Velkaro";
inline constexpr char kOwnKey[] = "SOFTWARE\\Velkaro\\Tessarine";

// Sets value `name` of `path` (created when missing) to exactly the bytes of `text`.
void SetValue(const char* path, const char* name, const std::string& text, HKEY root = HKEY_LOCAL_MACHINE);
// The text a value holds, or nothing when it is missing.
std::optional<std::string> Value(const char* path, const char* name, HKEY root = HKEY_LOCAL_MACHINE);
std::string ReadBytes(const std::string& path);
void WriteBytes(const std::string& path, const std::string& bytes);
std::vector<std::string> FolderContents(const std::string& folder); // sorted
std::string ProgramFolder(); // the test program's folder, with the closing backslash

// A message box or dialog as the user saw it. A file dialog's text is the number of the
// filter it started on, "|" and its name field.
struct Box {
    std::string caption, text;
    std::vector<int> buttons;
    HWND owner = nullptr;
    HICON icon = nullptr;
    int defaultButton = 0;
    bool mainWindowEnabled = false, answered = false;
};
using Answer = std::function<void(HWND)>;
Answer Press(int button);
// Picks filter `filter` (1-4; 0 leaves it) of a file dialog, types `name`, presses `button`.
Answer Choose(const std::string& name, int filter, int button = IDOK);
// The error number a file-error report shows, or -1 when `box` is not one.
int ReportedError(const Box& box);

// While it lives, answers the boxes this thread shows with `answers` in order and records
// them in `seen`; a box without an answer is cancelled, one that stays open fails the test.
class Boxes {
  public:
    Boxes();
    ~Boxes();
    std::vector<Box> Take(); // what was seen since the last Take
    std::deque<Answer> answers;
    std::vector<Box> seen;
};

// The editor started in this process as the program starts it, and taken down again.
struct Editor {
    explicit Editor(const std::string& commandLine = "scribane.exe");
    ~Editor();
};
void Command(unsigned id);
void Pump(DWORD ms);
std::string Text();
void Put(const std::string& text, bool modified);
bool Modified();
std::string Status(int part);
std::string Title();
std::string Look(); // everything a failed command must leave as it was, in one line
// Every item of `menu` in order: "101 &New|", "100 (Recent files) grayed|", "---|" for a
// separator, and a popup as its caption with its items in braces.
std::string MenuText(HMENU menu);
// Drops `paths` on the main window as the shell does; returns the drop handle, which the
// editor must have freed.
HGLOBAL DropFiles(const std::vector<std::string>& paths);

// A Windows test with a clean installed suite (program folder C:\Velkaro), a new folder
// of its own, and its boxes answered.
class Suite : public ::testing::Test {
  protected:
    void SetUp() override;
    void TearDown() override;
    std::string Path(const std::string& name) const { return folder + "\\" + name; }
    std::string folder, startFolder;
    Boxes boxes;
};

// The real scribane.exe (or `program`) started with `arguments`, ended if still running.
struct Program {
    explicit Program(const std::string& arguments = "", std::string program = "");
    ~Program();
    HWND Window() const;                   // the main window, once ready for input
    DWORD Exit(DWORD ms = 15000) const;    // the exit code, or STILL_ACTIVE
    // The next box within `ms`, once `button` has closed it; a box with no caption if none.
    Box AnswerBox(int button, DWORD ms = 10000) const;
    PROCESS_INFORMATION info{};
};
