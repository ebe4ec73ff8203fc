#pragma once
// What the Windows tests share: the registry and files they set up, the editor started in the
// test's own process, and the boxes it shows, answered as a user would.
#include <windows.h>
#include <commctrl.h>
#include <dlgs.h>
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
#include "document/search.h"
#include "platform/app_state.h"
#include "suite/suite_settings.h"
#include "suite/suite_table.h"

using namespace std::string_literals;

inline constexpr char kSuiteKey[] = "SOFTWARE\\Velkaro", kOwnKey[] = "SOFTWARE\\Velkaro\\Tessarine";

// A box or dialog as the user saw it. Its text is a message box's text, a file dialog's starting
// filter and name field ("3|name"), or its controls' texts ("*" marks the bold font); a default
// button's id is negative.
struct Box {
    std::string caption, text;
    std::vector<int> buttons;
    HWND owner = nullptr;
    HICON icon = nullptr;
    bool mainWindowEnabled = false;
    bool operator==(const Box&) const = default;
};
using Answer = std::function<void(HWND)>;
inline std::string TextOf(HWND window, bool className = false) { // or the name of its class
    std::string text(className ? 256 : GetWindowTextLengthA(window) + 1, '\0');
    const auto read = className ? GetClassNameA : GetWindowTextA;
    return text.substr(0, read(window, text.data(), int(text.size())));
}

inline Box Describe(HWND dialog) {
    Box box{TextOf(dialog), "", {}, GetWindow(dialog, GW_OWNER)};
    box.mainWindowEnabled = MainWindow && IsWindowEnabled(MainWindow);
    for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        const LONG style = GetWindowLongA(child, GWL_STYLE), id = GetDlgCtrlID(child);
        const bool bold = SendMessageA(child, WM_GETFONT, 0, 0) == LRESULT(SuiteSettings.BoldFont);
        box.text += (bold ? "|*" : "|") + TextOf(child);
        if (TextOf(child, true) == "Button" && (style & BS_TYPEMASK) <= BS_DEFPUSHBUTTON)
            box.buttons.push_back((style & BS_TYPEMASK) == BS_DEFPUSHBUTTON ? -id : id);
        if (TextOf(child, true) == "Static" && (style & SS_TYPEMASK) == SS_ICON)
            box.icon = HICON(SendMessageA(child, STM_GETICON, 0, 0));
    }
    box.text.erase(0, 1);
    if (GetDlgItem(dialog, 0xFFFF))
        box.text = TextOf(GetDlgItem(dialog, 0xFFFF));
    if (HWND filters = GetDlgItem(dialog, cmb1))
        box.text = std::to_string(SendMessageA(filters, CB_GETCURSEL, 0, 0) + 1) + "|" +
                   TextOf(GetDlgItem(dialog, cmb13));
    return box;
}

inline int ReportedError(const Box& box) { // of a file-error report, or -1
    const bool report = box.caption == "Error" && !box.owner && box.buttons == std::vector{-IDOK};
    return report && box.text.rfind("Runtime error ", 0) == 0 ? std::atoi(&box.text[14]) : -1;
}

// Picks filter `filter` (1-4; 0 leaves it) of a file dialog, types `name` and presses `button`.
inline Answer Choose(const std::string& name, int filter, int button = IDOK) {
    return [=](HWND dialog) {
        HWND filters = GetDlgItem(dialog, cmb1);
        if (filter && SendMessageA(filters, CB_SETCURSEL, filter - 1, 0) >= 0)
            for (WORD notice : {CBN_SELCHANGE, CBN_SELENDOK}) // dialogs differ in which they read
                SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(cmb1, notice), LPARAM(filters));
        SetWindowTextA(GetDlgItem(dialog, cmb13), name.c_str());
        PostMessageA(dialog, WM_COMMAND, button, 0);
    };
}

// The editor started in this process as the program starts it, and taken down again.
struct Editor {
    explicit Editor(const std::string& commandLine = "scribane.exe") {
        ModuleInstance = GetModuleHandleA(nullptr), DocumentState = {}, SuiteSettings = {};
        SearchState = {}, StartEditor(commandLine.c_str());
    }
    ~Editor() {
        DestroyWindow(MainWindow);
        UnregisterClassA(kProgramName, ModuleInstance);
        DeleteObject(SuiteSettings.NormalFont), DeleteObject(SuiteSettings.BoldFont);
        ResetAppState();
        for (MSG message; PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE);) // WM_QUIT among them
            DispatchMessageA(&message);
    }
};

// What the user sees of the document and what the editor keeps of it, to compare before and
// after a command that must change nothing.
struct DocumentView {
    std::string text;
    bool modified;
    std::string fileName, title, fileStatus, modifiedStatus;
    std::vector<std::string> recent; // the registry values "a" to "d"
    bool operator==(const DocumentView&) const = default;
    friend std::ostream& operator<<(std::ostream& out, const DocumentView& view) {
        out << "{\"" << view.text << "\"" << (view.modified ? " modified" : "") << ", "
            << view.fileName << ", title \"" << view.title << "\", status \"" << view.fileStatus
            << "\" \"" << view.modifiedStatus << "\", recent";
        for (const std::string& entry : view.recent)
            out << " \"" << entry << "\"";
        return out << "}";
    }
};

// A Windows test with a clean installed suite (C:\Velkaro) and a new folder of its own. The boxes
// shown take `answers` in order and land in `seen`; one without an answer is cancelled, and one
// its answer leaves open holds the test until the time limit in tests/CMakeLists.txt fails it.
struct Suite : ::testing::Test {
    void SetUp() override {
        static int tests = 0;
        const std::string name = std::to_string(GetTickCount()) + "-" + std::to_string(++tests);
        folder = (std::filesystem::temp_directory_path() / name).string();
        CreateDirectoryA(folder.c_str(), nullptr);
        RegDeleteTreeA(HKEY_LOCAL_MACHINE, kSuiteKey);
        SetValue(kSuiteKey, "Tessarine", "C:\\Velkaro");
        SetValue(kOwnKey, "EersteKeer", ""); // the editor's key, without a greeting
        Running = this, Timer = SetTimer(nullptr, 0, 20, AnswerBoxes);
    }
    void TearDown() override {
        KillTimer(nullptr, Timer), Running = nullptr, FileCalls = {};
        SetCurrentDirectoryA(ProgramFolder().c_str());
        RegDeleteTreeA(HKEY_LOCAL_MACHINE, kSuiteKey);
    }
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
    static std::string Text() { return TextOf(EditorControl); }
    static std::string Title() { return Describe(MainWindow).caption; }
    static std::string Status(int part) {
        char text[1024] = "";
        return SendMessageA(StatusBar, SB_GETTEXTA, part, LPARAM(text)), text;
    }
    static DocumentView View() {
        DocumentView view{Text(),    Modified(), DocumentState.CurrentFileName, Title(), Status(0),
                          Status(1), {}};
        for (const char* entry : {"a", "b", "c", "d"})
            view.recent.push_back(Value(kOwnKey, entry));
        return view;
    }
    // What a failed command must leave as it was, in one line.
    static std::string Look() {
        std::string look = Text() + (Modified() ? "|modified|" : "|saved|") +
                           DocumentState.CurrentFileName + "|" +
                           std::to_string(int(DocumentState.CurrentFileType)) + "|" + Title() +
                           "|" + Status(0) + "|" + Status(1);
        for (const char* entry : {"a", "b", "c", "d"})
            look += "|" + Value(kOwnKey, entry);
        return look;
    }
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
    // Drops the files named (each name ending in a NUL) on the window; the editor frees the drop.
    static HGLOBAL DropFiles(std::string names) {
        names.insert(0, sizeof(DROPFILES), '\0');
        reinterpret_cast<DROPFILES*>(names.data())->pFiles = sizeof(DROPFILES);
        HGLOBAL drop = GlobalAlloc(GHND, names.size() + 1);
        memcpy(GlobalLock(drop), names.data(), names.size()), GlobalUnlock(drop);
        SendMessageA(MainWindow, WM_DROPFILES, WPARAM(drop), 0);
        return drop;
    }
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
    static void WriteBytes(auto path, auto bytes) {
        std::ofstream(path, std::ios::binary) << bytes;
    }
    // The files of `folder` as "name=bytes", sorted. The editor's temporary names, "~" with five
    // hexadecimal digits and ".tmp", show as "~?????.tmp".
    static std::vector<std::string> Listing(const std::string& folder) {
        std::vector<std::string> files;
        for (const std::string& name : FolderContents(folder))
            files.push_back(MaskTemporaryNames(name) + "=" + ReadBytes(folder + "\\" + name));
        std::ranges::sort(files);
        return files;
    }
    static std::string MaskTemporaryNames(std::string text) {
        for (size_t at = text.find('~'); at != std::string::npos; at = text.find('~', at + 1))
            if (text.size() - at >= 10 && text.compare(at + 6, 4, ".tmp") == 0 &&
                std::all_of(&text[at + 1], &text[at + 6], isxdigit))
                text.replace(at + 1, 5, "?????");
        return text;
    }
    static std::vector<std::string> FolderContents(const std::string& folder) { // sorted
        std::vector<std::string> names;
        std::error_code missing;
        for (const auto& entry : std::filesystem::directory_iterator(folder, missing))
            names.push_back(entry.path().filename().string());
        return std::ranges::sort(names), names;
    }
    // The test program's, with a closing backslash.
    static std::string ProgramFolder() {
        char path[MAX_PATH] = "";
        GetModuleFileNameA(nullptr, path, sizeof path);
        return std::string(path, strrchr(path, '\\') + 1);
    }
    std::string folder;
    std::deque<Answer> answers;
    std::vector<Box> seen;
    static inline Suite* Running = nullptr;
    static inline UINT_PTR Timer = 0;
    // A box already answered, and when; one that stays open longer than kAnswerTime fails the
    // test with what it showed, and is cancelled so the test goes on.
    struct AnsweredBox {
        HWND window;
        DWORD answeredAt;
        bool forced;
    };
    static constexpr DWORD kAnswerTime = 3000;
    static inline std::vector<AnsweredBox> Answered;
    static BOOL CALLBACK FindNewBox(HWND window, LPARAM found) { // stops at the first
        if (!IsWindowVisible(window) || TextOf(window, true) != "#32770")
            return TRUE;
        for (const AnsweredBox& answered : Answered)
            if (answered.window == window)
                return TRUE;
        *reinterpret_cast<HWND*>(found) = window;
        return FALSE;
    }
    static void CloseStuckBoxes() {
        std::erase_if(Answered,
                      [](const AnsweredBox& answered) { return !IsWindow(answered.window); });
        for (AnsweredBox& answered : Answered) {
            if (answered.forced || GetTickCount() - answered.answeredAt < kAnswerTime)
                continue;
            const Box box = Describe(answered.window);
            ADD_FAILURE() << "still open after its answer: \"" << box.caption << "\" " << box.text;
            answered.forced = true;
            PostMessageA(answered.window, WM_COMMAND, IDCANCEL, 0);
        }
    }
    // Runs every 20 ms inside the modal loop of whatever box shows.
    static void CALLBACK AnswerBoxes(HWND, UINT, UINT_PTR, DWORD) {
        CloseStuckBoxes();
        HWND box = nullptr;
        EnumThreadWindows(GetCurrentThreadId(), FindNewBox, LPARAM(&box));
        if (!box || !Running)
            return;
        Answered.push_back({box, GetTickCount(), false});
        Running->seen.push_back(Describe(box));
        auto& answers = Running->answers;
        if (answers.empty())
            answers.push_back(Press(IDCANCEL));
        const Answer answer = answers.front();
        answers.pop_front();
        answer(box);
    }
};
