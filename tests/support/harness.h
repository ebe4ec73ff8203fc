#pragma once
// The editor started in the test's own process, in a set-up suite, its boxes answered as a user
// would.
#include <windows.h>
#include <commctrl.h>
#include <dlgs.h>
#include <shlobj.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <deque>
#include <filesystem>
#include <fstream>
#include <functional>
#include <regex>

#include "app/startup.h"
#include "dialogs/dialogs.h"
#include "document/document.h"
#include "document/file_calls.h"
#include "document/recent_files.h"
#include "document/search.h"
#include "platform/app_state.h"
#include "resources/resource_ids.h"
#include "suite/suite_settings.h"
#include "suite/suite_table.h"

using namespace std::string_literals;

inline constexpr char kSuiteKey[] = "SOFTWARE\\Velkaro";
inline constexpr char kOwnKey[] = "SOFTWARE\\Velkaro\\Tessarine";
inline constexpr FileType kText = FileType::Text;
inline constexpr FileType kLevel = FileType::LevelDescription;

inline std::string TextOf(HWND window) {
    std::string text(GetWindowTextLengthA(window) + 1, '\0');
    text.resize(GetWindowTextA(window, text.data(), int(text.size())));
    return text;
}

// A box as the user saw it: "caption: text", a file dialog's text its filter and name ("3|name"),
// a dialog's its controls' ("*" marks the bold font). A file error's report, which has no owner
// and an OK button alone, is "Runtime error N" and its lines after the code addresses.
inline std::string Summary(HWND dialog) {
    std::string text;
    for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        const bool bold = SendMessageA(child, WM_GETFONT, 0, 0) == LRESULT(SuiteSettings.BoldFont);
        text += (text.empty() ? "" : "|") + (bold ? "*"s : ""s) + TextOf(child);
    }
    if (HWND message = GetDlgItem(dialog, 0xFFFF))
        text = TextOf(message);
    if (HWND filters = GetDlgItem(dialog, cmb1))
        text = std::to_string(SendMessageA(filters, CB_GETCURSEL, 0, 0) + 1) + "|" +
               TextOf(GetDlgItem(dialog, cmb13));
    const bool report = TextOf(dialog) == "Error" && !GetWindow(dialog, GW_OWNER) &&
                        GetDlgItem(dialog, IDOK) && !GetDlgItem(dialog, IDCANCEL) &&
                        text.starts_with("Runtime error ");
    if (!report)
        return TextOf(dialog) + ": " + text;
    std::string summary = text.substr(0, text.find(" at 0x"));
    for (size_t start = text.find("\r\n") + 2, end; // up to the empty line that ends it
         (end = text.find("\r\n", start)) != std::string::npos && end > start; start = end + 2)
        if (!text.substr(start, end - start).starts_with("  0x"))
            summary += "\n" + text.substr(start, end - start);
    return summary;
}

using Answer = std::function<void(HWND)>;

inline Answer Press(int id) {
    return [id](HWND box) { PostMessageA(box, WM_COMMAND, id, 0); };
}

// Picks filter `filter` (1-4; 0 leaves it) of a file dialog, types `name` and presses `button`.
inline Answer Choose(const std::string& name, int filter, int button = IDOK) {
    return [=](HWND dialog) {
        HWND filters = GetDlgItem(dialog, cmb1);
        if (filter != 0) {
            SendMessageA(filters, CB_SETCURSEL, filter - 1, 0);
            for (WORD notice : {CBN_SELCHANGE, CBN_SELENDOK}) // dialogs differ in which they read
                SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(cmb1, notice), LPARAM(filters));
        }
        SetWindowTextA(GetDlgItem(dialog, cmb13), name.c_str());
        PostMessageA(dialog, WM_COMMAND, button, 0);
    };
}

// The editor started in this process as the program starts it, and taken down again.
struct Editor {
    explicit Editor(const std::string& commandLine = "scribane.exe") {
        ModuleInstance = GetModuleHandleA(nullptr);
        DocumentState = {};
        SuiteSettings = {};
        SearchState = {};
        StartEditor(commandLine.c_str());
        if (!MainWindow) // every failure after this one only follows from it
            ADD_FAILURE() << "the editor made no window: is there a display?";
    }
    ~Editor() {
        DestroyWindow(MainWindow);
        UnregisterClassA(kProgramName, ModuleInstance);
        DeleteObject(SuiteSettings.NormalFont);
        DeleteObject(SuiteSettings.BoldFont);
        ResetAppState();
        for (MSG message; PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE);) // WM_QUIT among them
            DispatchMessageA(&message);
    }
};

// A clean installed suite (C:\Velkaro) and a new folder; boxes take `answers` in order, or Cancel.
struct EditorTest : ::testing::Test {
    void SetUp() override {
        static int tests = 0;
        const std::string name = std::to_string(GetTickCount()) + "-" + std::to_string(++tests);
        folder = (std::filesystem::temp_directory_path() / name).string();
        CreateDirectoryA(folder.c_str(), nullptr);
        RegDeleteTreeA(HKEY_LOCAL_MACHINE, kSuiteKey);
        SetValue(kSuiteKey, "Tessarine", "C:\\Velkaro");
        SetValue(kOwnKey, "EersteKeer", ""); // the editor's key, without a greeting
        Running = this;
        Timer = SetTimer(nullptr, 0, 1, AnswerBoxes);
    }
    void TearDown() override {
        KillTimer(nullptr, Timer);
        Running = nullptr;
        FileCalls = {};
        SetCurrentDirectoryA(ProgramFolder().c_str());
        RegDeleteTreeA(HKEY_LOCAL_MACHINE, kSuiteKey);
    }
    std::string Path(const std::string& name) const { return folder + "\\" + name; }
    // The boxes shown since the last call, masked, the test's folder left out of names in them.
    std::vector<std::string> Take() {
        std::vector<std::string> boxes;
        for (std::string box : std::exchange(seen, {})) {
            for (size_t at; (at = box.find(folder + "\\")) != std::string::npos;)
                box.erase(at, folder.size() + 1);
            boxes.push_back(Masked(box));
        }
        return boxes;
    }
    // `text` with the editor's temporary names shown as "~?????.tmp".
    static std::string Masked(const std::string& text) {
        return std::regex_replace(text, std::regex("~[0-9A-F]{5}\\.tmp"), "~?????.tmp");
    }
    static void Command(unsigned id) { SendMessageA(MainWindow, WM_COMMAND, id, 0); }
    static bool Modified() { return SendMessageA(EditorControl, EM_GETMODIFY, 0, 0) != 0; }
    static void Put(const std::string& text, bool modified) {
        SetWindowTextA(EditorControl, text.c_str());
        SendMessageA(EditorControl, EM_SETMODIFY, modified, 0);
    }
    static std::string Text() { return TextOf(EditorControl); }
    static std::wstring WideText() {
        std::wstring text(GetWindowTextLengthW(EditorControl) + 1, L'\0');
        text.resize(GetWindowTextW(EditorControl, text.data(), int(text.size())));
        return text;
    }
    static std::string Selection() {
        DWORD start = 0;
        DWORD end = 0;
        SendMessageW(EditorControl, EM_GETSEL, WPARAM(&start), LPARAM(&end));
        return std::to_string(start) + "-" + std::to_string(end);
    }
    // Types `text` at `position` (-1: the end) in the editor, as the keyboard would.
    static void Type(int position, std::wstring_view text) {
        if (position < 0)
            position = GetWindowTextLengthW(EditorControl);
        SendMessageW(EditorControl, EM_SETSEL, position, position);
        for (wchar_t character : text)
            SendMessageW(EditorControl, WM_CHAR, character, 0);
    }
    static std::string Title() { return TextOf(MainWindow); }
    static std::string Status(int part) {
        char text[1024] = "";
        SendMessageA(StatusBar, SB_GETTEXTA, part, LPARAM(text));
        return text;
    }
    static std::vector<std::string> RecentValues() { // "a" to "d"
        return {Value(kOwnKey, "a"), Value(kOwnKey, "b"), Value(kOwnKey, "c"), Value(kOwnKey, "d")};
    }
    // All the user sees of the document and the editor keeps of it.
    static std::vector<std::string> Look() {
        std::vector<std::string> look{Text(),
                                      Modified() ? "modified" : "saved",
                                      DocumentState.CurrentFileName,
                                      std::to_string(int(DocumentState.CurrentFileType)),
                                      Title(),
                                      Status(0),
                                      Status(1)};
        for (const std::string& value : RecentValues())
            look.push_back(value);
        return look;
    }
    // The menu's items: "101 &New", "100 (Recent files) grayed", "---", or a popup's caption.
    static std::vector<std::string> MenuItems(HMENU menu) {
        std::vector<std::string> items;
        for (int item = 0; item < GetMenuItemCount(menu); ++item) {
            char caption[512] = "";
            GetMenuStringA(menu, item, caption, sizeof caption, MF_BYPOSITION);
            const UINT state = GetMenuState(menu, item, MF_BYPOSITION);
            if (GetSubMenu(menu, item)) // whose state holds its item count
                items.push_back(caption);
            else if (state & MF_SEPARATOR)
                items.push_back("---");
            else
                items.push_back(std::to_string(GetMenuItemID(menu, item)) + " " + caption +
                                (state & MF_GRAYED ? " grayed" : ""));
        }
        return items;
    }
    // Drops the files named, each name ending in a NUL, on the window.
    static void DropFiles(std::string names) {
        names.insert(0, sizeof(DROPFILES), '\0');
        reinterpret_cast<DROPFILES*>(names.data())->pFiles = sizeof(DROPFILES);
        HGLOBAL drop = GlobalAlloc(GHND, names.size() + 1);
        memcpy(GlobalLock(drop), names.data(), names.size());
        GlobalUnlock(drop);
        SendMessageA(MainWindow, WM_DROPFILES, WPARAM(drop), 0);
    }
    static void SetValue(const char* key, const char* name, const std::string& text) {
        RegSetKeyValueA(HKEY_LOCAL_MACHINE, key, name, REG_SZ, text.c_str(), DWORD(text.size()));
    }
    // A registry value's text, or "-" when there is none.
    static std::string Value(const char* key, const char* name) {
        char text[4096] = "";
        DWORD size = sizeof text;
        if (RegGetValueA(HKEY_LOCAL_MACHINE, key, name, RRF_RT_REG_SZ, nullptr, text, &size))
            return "-";
        return text;
    }
    static std::string ReadBytes(const std::string& path) {
        std::ifstream file(path, std::ios::binary);
        return {std::istreambuf_iterator<char>(file), {}};
    }
    static void WriteBytes(const std::string& path, const std::string& bytes) {
        std::ofstream(path, std::ios::binary) << bytes;
    }
    // The names in `folder`, sorted; with `bytes`, each as "name=bytes", masked.
    static std::vector<std::string> FolderContents(const std::string& folder, bool bytes = false) {
        std::vector<std::string> files;
        std::error_code missing;
        for (const auto& entry : std::filesystem::directory_iterator(folder, missing)) {
            const std::string name = entry.path().filename().string();
            files.push_back(bytes ? Masked(name) + "=" + ReadBytes(entry.path().string()) : name);
        }
        std::ranges::sort(files);
        return files;
    }
    // The test program's, with a closing backslash.
    static std::string ProgramFolder() {
        char path[MAX_PATH] = "";
        GetModuleFileNameA(nullptr, path, sizeof path);
        return std::string(path, strrchr(path, '\\') + 1);
    }

    std::string folder;
    std::deque<Answer> answers;
    std::vector<std::string> seen; // the boxes shown, as they showed

  private:
    static inline EditorTest* Running = nullptr;
    static inline UINT_PTR Timer = 0;
    static inline std::vector<HWND> Answered; // the boxes still open that have their answer
    static BOOL CALLBACK FindNewBox(HWND window, LPARAM found) { // stops at the first
        char type[16] = "";
        GetClassNameA(window, type, sizeof type);
        if (!IsWindowVisible(window) || type != "#32770"s || std::ranges::count(Answered, window))
            return TRUE;
        *reinterpret_cast<HWND*>(found) = window;
        return FALSE;
    }
    // Runs every millisecond or so inside the modal loop of whatever box shows.
    static void CALLBACK AnswerBoxes(HWND, UINT, UINT_PTR, DWORD) {
        std::erase_if(Answered, [](HWND box) { return !IsWindow(box); });
        HWND box = nullptr;
        EnumThreadWindows(GetCurrentThreadId(), FindNewBox, LPARAM(&box));
        if (!box || !Running)
            return;
        Answered.push_back(box);
        Running->seen.push_back(Summary(box));
        if (Running->answers.empty())
            Running->answers.push_back(Press(IDCANCEL));
        const Answer answer = Running->answers.front();
        Running->answers.pop_front();
        answer(box);
    }
};
