#pragma once
// What the Windows tests share: the registry and files they set up, the editor started in the
// test's own process, and the boxes it shows, answered as a user would.
#include <windows.h>
#include <gtest/gtest.h>

#include <deque>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "platform/app_state.h"

inline constexpr char kSuiteKey[] = "SOFTWARE\\Velkaro", kOwnKey[] = "SOFTWARE\\Velkaro\\Tessarine";

// A box or dialog as the user saw it. Its text is a message box's text, a file dialog's starting
// filter and name field ("3|name"), or the texts of a dialog's controls; a default button's
// identifier is negative.
struct Box {
    std::string caption, text;
    std::vector<int> buttons;
    HWND owner = nullptr;
    HICON icon = nullptr;
    bool mainWindowEnabled = false;
};
using Answer = std::function<void(HWND)>;
Box Describe(HWND box);
int ReportedError(const Box& box); // the error number of a file-error report, or -1
// Picks filter `filter` (1-4; 0 leaves it) of a file dialog, types `name` and presses `button`.
Answer Choose(const std::string& name, int filter, int button = IDOK);

// The editor started in this process as the program starts it, and taken down again.
struct Editor {
    explicit Editor(const std::string& commandLine = "scribane.exe");
    ~Editor();
};

// A Windows test with a clean installed suite (folder C:\Velkaro) and a new folder of its own. The
// boxes shown meanwhile take `answers` in order and land in `seen`; one without an answer is
// cancelled, and one its answer leaves open fails the test.
class Suite : public ::testing::Test {
  protected:
    void SetUp() override;
    void TearDown() override;
    std::string Path(const std::string& name) const { return folder + "\\" + name; }
    std::vector<Box> Take() { return std::exchange(seen, {}); }
    static Answer Press(int id) {
        return [id](HWND box) { PostMessageA(box, WM_COMMAND, id, 0); };
    }
    static void Command(unsigned id) { SendMessageA(MainWindow, WM_COMMAND, id, 0); }
    static bool Modified() { return SendMessageA(EditorControl, EM_GETMODIFY, 0, 0) != 0; }
    static void Put(const std::string& text, bool modified) {
        SetWindowTextA(EditorControl, text.c_str());
        SendMessageA(EditorControl, EM_SETMODIFY, modified, 0);
    }
    static std::string Text();
    static std::string Title() { return Describe(MainWindow).caption; }
    static std::string Status(int part);
    static std::string Look(); // what a failed command must leave as it was, in one line
    // "101 &New|" for an item, "100 (Recent files) grayed|", "---|", "&File{...}" for a popup.
    static std::string MenuText(HMENU menu);
    static HGLOBAL DropFiles(const std::vector<std::string>& paths); // freed by the editor
    static void SetValue(const char* key, const char* name, const std::string& text,
                         HKEY root = HKEY_LOCAL_MACHINE) {
        RegSetKeyValueA(root, key, name, REG_SZ, text.c_str(), DWORD(text.size()));
    }
    static std::string Value(const char* key, const char* name,
                             HKEY root = HKEY_LOCAL_MACHINE); // "-": missing
    static std::string ReadBytes(const std::string& path) {
        std::ifstream file(path, std::ios::binary);
        return {std::istreambuf_iterator<char>(file), {}};
    }
    static void WriteBytes(const std::string& path, const std::string& data) {
        std::ofstream(path, std::ios::binary) << data;
    }
    static std::vector<std::string> FolderContents(const std::string& folder); // sorted
    static std::string ProgramFolder(); // the test program's, with a closing backslash
    static void CALLBACK AnswerBoxes(HWND, UINT, UINT_PTR, DWORD);
    std::string folder;
    std::deque<Answer> answers;
    std::vector<Box> seen;
};
