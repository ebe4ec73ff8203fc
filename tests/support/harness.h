#pragma once
// What the Windows tests share: the registry and files they set up, the editor started in the
// test's own process, and the boxes it shows, answered as a user would.
#include <windows.h>
#include <commctrl.h>
#include <shlobj.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <deque>
#include <filesystem>
#include <fstream>

#include "app/date_time_text.h"
#include "app/startup.h"
#include "dialogs/dialogs.h"
#include "document/document.h"
#include "document/document_file.h"
#include "document/recent_files.h"
#include "platform/app_state.h"
#include "resources/resource_ids.h"
#include "suite/suite_settings.h"
#include "suite/suite_table.h"

using namespace std::string_literals;

inline constexpr char kSuiteKey[] = "SOFTWARE\\Velkaro", kOwnKey[] = "SOFTWARE\\Velkaro\\Tessarine";

// A box or dialog as the user saw it. Its text is a message box's text, a file dialog's starting
// filter and name field ("3|name"), or its controls' texts; a default button's id is negative.
struct Box {
    std::string caption, text;
    std::vector<int> buttons;
    HWND owner = nullptr;
    HICON icon = nullptr;
    bool mainWindowEnabled = false;
    bool operator==(const Box&) const = default;
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

// A Windows test with a clean installed suite (C:\Velkaro) and a new folder of its own. The boxes
// shown take `answers` in order and land in `seen`; one without an answer is cancelled, and one
// its answer leaves open fails the test.
struct Suite : ::testing::Test {
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
    static std::string Text() {
        std::string text(GetWindowTextLengthA(EditorControl) + 1, '\0');
        return text.substr(0, GetWindowTextA(EditorControl, text.data(), int(text.size())));
    }
    static std::string Title() { return Describe(MainWindow).caption; }
    static std::string Status(int part) {
        char text[1024] = "";
        return SendMessageA(StatusBar, SB_GETTEXTA, part, LPARAM(text)), text;
    }
    static std::string Look() {
        std::string look = Text() + (Modified() ? "|modified|" : "|saved|") +
                           DocumentState.CurrentFileName + "|" +
                           std::to_string(int(DocumentState.CurrentFileType)) + "|" + Title() +
                           "|" + Status(0) + "|" + Status(1);
        for (const char* entry : {"a", "b", "c", "d"})
            look += "|" + Value(kOwnKey, entry);
        return look;
    } // what a failed command must leave as it was, in one line
    // "101 &New|" for an item, "100 (Recent files) grayed|", "---|", "&File{...}" for a popup.
    static std::string MenuText(HMENU menu) {
        std::string text;
        for (int item = 0; item < GetMenuItemCount(menu); ++item) {
            char caption[512] = "";
            GetMenuStringA(menu, item, caption, sizeof caption, MF_BYPOSITION);
            const UINT state = GetMenuState(menu, item, MF_BYPOSITION);
            if (HMENU popup = GetSubMenu(menu, item))
                text += caption + ("{" + MenuText(popup) + "}");
            else
                text += state & MF_SEPARATOR ? "---|"s
                                             : std::to_string(GetMenuItemID(menu, item)) + " " +
                                                   caption + (state & MF_GRAYED ? " grayed|" : "|");
        }
        return text;
    }
    static HGLOBAL DropFiles(const std::vector<std::string>& paths) {
        std::string names(sizeof(DROPFILES), '\0');
        for (const std::string& path : paths)
            names += path + '\0';
        reinterpret_cast<DROPFILES*>(names.data())->pFiles = sizeof(DROPFILES);
        HGLOBAL drop = GlobalAlloc(GHND, names.size() + 1);
        memcpy(GlobalLock(drop), names.data(), names.size()), GlobalUnlock(drop);
        SendMessageA(MainWindow, WM_DROPFILES, WPARAM(drop), 0);
        return drop;
    } // freed by the editor
    static void SetValue(const char* key, const char* name, const std::string& text,
                         HKEY root = HKEY_LOCAL_MACHINE) {
        RegSetKeyValueA(root, key, name, REG_SZ, text.c_str(), DWORD(text.size()));
    }
    static std::string Value(const char* key, const char* name, HKEY root = HKEY_LOCAL_MACHINE) {
        char text[4096] = "";
        DWORD size = sizeof text;
        return RegGetValueA(root, key, name, RRF_RT_REG_SZ, nullptr, text, &size) ? "-" : text;
    }
    static std::string ReadBytes(std::string path) {
        return {std::istreambuf_iterator<char>(std::ifstream(path, std::ios::binary).rdbuf()), {}};
    }
    static void WriteBytes(std::string path, std::string d) {
        std::ofstream(path, std::ios::binary) << d;
    }
    static std::vector<std::string> FolderContents(const std::string& folder) {
        std::vector<std::string> names;
        std::error_code missing;
        for (const auto& entry : std::filesystem::directory_iterator(folder, missing))
            names.push_back(entry.path().filename().string());
        return std::ranges::sort(names), names;
    } // sorted
    static std::string ProgramFolder() {
        char path[MAX_PATH] = "";
        GetModuleFileNameA(nullptr, path, sizeof path);
        return std::string(path, strrchr(path, '\\') + 1);
    } // the test program's, with a closing backslash
    std::string folder;
    std::deque<Answer> answers;
    std::vector<Box> seen;
};
