#include "support/harness.h"

#include <commctrl.h>
#include <dlgs.h>
#include <shlobj.h>

#include <algorithm>
#include <cstring>

#include "app/startup.h"
#include "document/document.h"
#include "document/document_file.h"
#include "document/search.h"
#include "suite/suite_settings.h"
#include "suite/suite_table.h"

static std::string TextOf(HWND window) {
    char text[4096] = "";
    GetWindowTextA(window, text, sizeof text);
    return text;
}

static bool Is(HWND window, const char* className) {
    char name[64] = "";
    GetClassNameA(window, name, sizeof name);
    return lstrcmpiA(name, className) == 0;
}

Box Describe(HWND dialog) {
    Box box;
    box.caption = TextOf(dialog), box.owner = GetWindow(dialog, GW_OWNER);
    box.mainWindowEnabled = MainWindow && IsWindowEnabled(MainWindow);
    for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        const LONG style = GetWindowLongA(child, GWL_STYLE), id = GetDlgCtrlID(child);
        box.text += "|" + TextOf(child);
        if (Is(child, "Button") && (style & BS_TYPEMASK) <= BS_DEFPUSHBUTTON)
            box.buttons.push_back((style & BS_TYPEMASK) == BS_DEFPUSHBUTTON ? -id : id);
        if (Is(child, "Static") && (style & SS_TYPEMASK) == SS_ICON)
            box.icon = HICON(SendMessageA(child, STM_GETICON, 0, 0));
    }
    box.text.erase(0, 1);
    if (GetDlgItem(dialog, 0xFFFF))
        box.text = TextOf(GetDlgItem(dialog, 0xFFFF));
    if (HWND filters = GetDlgItem(dialog, cmb1))
        box.text = std::to_string(SendMessageA(filters, CB_GETCURSEL, 0, 0) + 1) + "|" +
                   TextOf(GetDlgItem(dialog, cmb13)) +
                   (IsWindowVisible(GetDlgItem(dialog, chx1)) ? "|read-only" : "");
    return box;
}

int ReportedError(const Box& box) {
    const bool report = box.caption == "Error" && !box.owner && box.buttons == std::vector{-IDOK};
    return report && box.text.rfind("Runtime error ", 0) == 0 ? std::atoi(&box.text[14]) : -1;
}

Answer Choose(const std::string& name, int filter, int button) {
    return [=](HWND dialog) {
        HWND filters = GetDlgItem(dialog, cmb1);
        if (filter && SendMessageA(filters, CB_SETCURSEL, filter - 1, 0) >= 0)
            for (WORD notice : {CBN_SELCHANGE, CBN_SELENDOK}) // dialogs differ in which they read
                SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(cmb1, notice), LPARAM(filters));
        SetWindowTextA(GetDlgItem(dialog, cmb13), name.c_str());
        PostMessageA(dialog, WM_COMMAND, button, 0);
    };
}

Editor::Editor(const std::string& commandLine) {
    ModuleInstance = GetModuleHandleA(nullptr);
    DocumentState = {};
    SuiteSettings = {};
    SearchState = {};
    StartEditor(commandLine.c_str());
}

Editor::~Editor() {
    DestroyWindow(MainWindow);
    UnregisterClassA(kProgramName, ModuleInstance);
    DeleteObject(SuiteSettings.NormalFont);
    DeleteObject(SuiteSettings.BoldFont);
    ResetAppState();
    for (MSG message; PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE);) // WM_QUIT among them
        DispatchMessageA(&message);
}

std::string Suite::Text() {
    std::string text(GetWindowTextLengthA(EditorControl) + 1, '\0');
    text.resize(GetWindowTextA(EditorControl, text.data(), int(text.size())));
    return text;
}

std::string Suite::Status(int part) {
    char text[1024] = "";
    SendMessageA(StatusBar, SB_GETTEXTA, part, LPARAM(text));
    return text;
}

std::string Suite::Look() {
    std::string look = Text() + (Modified() ? "|modified|" : "|saved|") +
                       DocumentState.CurrentFileName + "|" +
                       std::to_string(int(DocumentState.CurrentFileType)) + "|" + Title() + "|" +
                       Status(0) + "|" + Status(1);
    for (const char* entry : {"a", "b", "c", "d"})
        look += "|" + Value(kOwnKey, entry);
    return look;
}

std::string Suite::MenuText(HMENU menu) {
    std::string text;
    for (int item = 0; item < GetMenuItemCount(menu); ++item) {
        char caption[512] = "";
        GetMenuStringA(menu, item, caption, sizeof caption, MF_BYPOSITION);
        const UINT state = GetMenuState(menu, item, MF_BYPOSITION);
        if (HMENU popup = GetSubMenu(menu, item))
            text += caption + ("{" + MenuText(popup) + "}");
        else if (state & MF_SEPARATOR)
            text += "---|";
        else
            text += std::to_string(GetMenuItemID(menu, item)) + " " + caption +
                    (state & MF_GRAYED ? " grayed|" : "|");
    }
    return text;
}

HGLOBAL Suite::DropFiles(const std::vector<std::string>& paths) {
    std::string names;
    for (const std::string& path : paths)
        names += path + '\0';
    HGLOBAL drop = GlobalAlloc(GHND, sizeof(DROPFILES) + names.size() + 1);
    auto* files = static_cast<DROPFILES*>(GlobalLock(drop));
    files->pFiles = sizeof(DROPFILES);
    std::memcpy(files + 1, names.data(), names.size());
    GlobalUnlock(drop);
    SendMessageA(MainWindow, WM_DROPFILES, WPARAM(drop), 0);
    return drop;
}

std::string Suite::Value(const char* key, const char* name, HKEY root) {
    char text[4096] = "";
    DWORD size = sizeof text;
    return RegGetValueA(root, key, name, RRF_RT_REG_SZ, nullptr, text, &size) ? "-" : text;
}

std::vector<std::string> Suite::FolderContents(const std::string& folder) {
    std::vector<std::string> names;
    WIN32_FIND_DATAA found;
    HANDLE find = FindFirstFileA((folder + "\\*").c_str(), &found);
    for (bool more = find != INVALID_HANDLE_VALUE; more; more = FindNextFileA(find, &found))
        if (found.cFileName[0] != '.')
            names.push_back(found.cFileName);
    FindClose(find);
    std::sort(names.begin(), names.end());
    return names;
}

std::string Suite::ProgramFolder() {
    char path[MAX_PATH] = "";
    GetModuleFileNameA(nullptr, path, sizeof path);
    return std::string(path, std::strrchr(path, '\\') + 1);
}

static Suite* Running = nullptr;
static UINT_PTR Timer = 0;
static std::vector<std::pair<HWND, DWORD>> Answered; // and when

static BOOL CALLBACK FindNewBox(HWND window, LPARAM found) {
    const bool known = std::ranges::count(Answered, window, &std::pair<HWND, DWORD>::first);
    if (known || !IsWindowVisible(window) || !Is(window, "#32770"))
        return TRUE;
    *reinterpret_cast<HWND*>(found) = window;
    return FALSE;
}

// Runs every 20 ms inside the modal loop of whatever box shows.
void CALLBACK Suite::AnswerBoxes(HWND, UINT, UINT_PTR, DWORD) {
    std::erase_if(Answered, [](auto& box) { return !IsWindow(box.first); });
    for (auto& [box, when] : Answered)
        if (GetTickCount() - when > 5000) {
            ADD_FAILURE() << "\"" << TextOf(box) << "\" stayed open after its answer";
            EndDialog(box, IDCANCEL);
            when = GetTickCount();
        }
    HWND box = nullptr;
    EnumThreadWindows(GetCurrentThreadId(), FindNewBox, LPARAM(&box));
    if (!box || !Running)
        return;
    Answered.push_back({box, GetTickCount()});
    Running->seen.push_back(Describe(box));
    const Answer answer = Running->answers.empty() ? Press(IDCANCEL) : Running->answers.front();
    if (!Running->answers.empty())
        Running->answers.pop_front();
    answer(box);
}

void Suite::SetUp() {
    static int tests = 0;
    char temp[MAX_PATH] = "";
    GetTempPathA(sizeof temp, temp);
    folder = temp + std::to_string(GetTickCount()) + "-" + std::to_string(++tests);
    CreateDirectoryA(folder.c_str(), nullptr);
    RegDeleteTreeA(HKEY_LOCAL_MACHINE, kSuiteKey);
    SetValue(kSuiteKey, "Tessarine", "C:\\Velkaro");
    SetValue(kOwnKey, "EersteKeer", ""); // the editor's key, without a greeting
    Running = this;
    Timer = SetTimer(nullptr, 0, 20, AnswerBoxes);
}

void Suite::TearDown() {
    KillTimer(nullptr, Timer);
    Running = nullptr;
    FileCalls = {};
    SetCurrentDirectoryA(ProgramFolder().c_str());
    RegDeleteTreeA(HKEY_LOCAL_MACHINE, kSuiteKey);
}
