#include "support/harness.h"

#include <commctrl.h>
#include <dlgs.h>
#include <shlobj.h>

#include <algorithm>
#include <cstring>
#include <fstream>
#include <iterator>

#include "app/startup.h"
#include "document/document.h"
#include "document/document_file.h"
#include "document/search.h"
#include "platform/app_state.h"
#include "suite/suite_settings.h"
#include "suite/suite_table.h"

void SetValue(const char* path, const char* name, const std::string& text, HKEY root) {
    HKEY key = nullptr;
    RegCreateKeyExA(root, path, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr);
    RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.data()), DWORD(text.size()));
    RegCloseKey(key);
}

std::optional<std::string> Value(const char* path, const char* name, HKEY root) {
    char text[4096] = "";
    DWORD size = sizeof text;
    if (RegGetValueA(root, path, name, RRF_RT_REG_SZ, nullptr, text, &size) != ERROR_SUCCESS)
        return std::nullopt;
    return text;
}

std::string ReadBytes(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

void WriteBytes(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary).write(bytes.data(), std::streamsize(bytes.size()));
}

std::vector<std::string> FolderContents(const std::string& folder) {
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

std::string ProgramFolder() {
    char path[MAX_PATH] = "";
    GetModuleFileNameA(nullptr, path, sizeof path);
    return std::string(path, std::strrchr(path, '\\') + 1);
}

namespace {

std::string TextOf(HWND window) {
    char text[4096] = "";
    GetWindowTextA(window, text, sizeof text);
    return text;
}

bool HasClass(HWND window, const char* name) {
    char found[64] = "";
    GetClassNameA(window, found, sizeof found);
    return lstrcmpiA(found, name) == 0;
}

HWND NameField(HWND dialog) {
    HWND combo = GetDlgItem(dialog, cmb13);
    return combo ? combo : GetDlgItem(dialog, edt1);
}

Box Describe(HWND dialog) {
    Box box;
    box.caption = TextOf(dialog);
    box.owner = GetWindow(dialog, GW_OWNER);
    box.mainWindowEnabled = MainWindow && IsWindowEnabled(MainWindow);
    std::string texts; // a dialog's: the text of each control in turn
    for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        const LONG style = GetWindowLongA(child, GWL_STYLE);
        texts += (child == GetWindow(dialog, GW_CHILD) ? "" : "|") + TextOf(child);
        if (HasClass(child, "Button") && (style & BS_TYPEMASK) <= BS_DEFPUSHBUTTON)
            box.buttons.push_back(GetDlgCtrlID(child));
        if (HasClass(child, "Button") && (style & BS_TYPEMASK) == BS_DEFPUSHBUTTON)
            box.defaultButton = GetDlgCtrlID(child);
        if (HasClass(child, "Static") && (style & SS_TYPEMASK) == SS_ICON)
            box.icon = reinterpret_cast<HICON>(SendMessageA(child, STM_GETICON, 0, 0));
        else if (HasClass(child, "Static") && GetDlgCtrlID(child) == 0xFFFF)
            box.text = TextOf(child);
    }
    if (!GetDlgItem(dialog, 0xFFFF))
        box.text = texts;
    if (HWND filters = GetDlgItem(dialog, cmb1))
        box.text = std::to_string(SendMessageA(filters, CB_GETCURSEL, 0, 0) + 1) + "|" +
                   TextOf(NameField(dialog)) + (IsWindowVisible(GetDlgItem(dialog, chx1)) ? "|read-only" : "");
    return box;
}

Boxes* Watching = nullptr;
UINT_PTR Timer = 0;
std::vector<std::pair<HWND, DWORD>> Answered; // and when

BOOL CALLBACK FindNewBox(HWND window, LPARAM found) {
    const auto known = [window](const auto& seen) { return seen.first == window; };
    if (!IsWindowVisible(window) || !HasClass(window, "#32770") || std::ranges::any_of(Answered, known))
        return TRUE;
    *reinterpret_cast<HWND*>(found) = window;
    return FALSE;
}

// Runs inside the modal loop of whatever box is showing.
void CALLBACK AnswerBoxes(HWND, UINT, UINT_PTR, DWORD) {
    std::erase_if(Answered, [](const auto& seen) { return !IsWindow(seen.first); });
    for (auto& [box, since] : Answered)
        if (GetTickCount() - since > 5000) {
            ADD_FAILURE() << "\"" << TextOf(box) << "\" stayed open after its answer";
            EndDialog(box, IDCANCEL);
            since = GetTickCount();
        }
    HWND dialog = nullptr;
    EnumThreadWindows(GetCurrentThreadId(), FindNewBox, reinterpret_cast<LPARAM>(&dialog));
    if (!dialog || !Watching)
        return;
    Answered.push_back({dialog, GetTickCount()});
    Box box = Describe(dialog);
    box.answered = !Watching->answers.empty();
    Watching->seen.push_back(box);
    if (!box.answered)
        return PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0), void();
    const Answer answer = std::move(Watching->answers.front());
    Watching->answers.pop_front();
    answer(dialog);
}

} // namespace

Answer Press(int button) {
    return [button](HWND dialog) { PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), 0); };
}

Answer Choose(const std::string& name, int filter, int button) {
    return [=](HWND dialog) {
        HWND filters = GetDlgItem(dialog, cmb1);
        if (filter && SendMessageA(filters, CB_SETCURSEL, filter - 1, 0) >= 0)
            for (WORD notice : {CBN_SELCHANGE, CBN_SELENDOK}) // dialogs differ in which they act on
                SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(cmb1, notice), LPARAM(filters));
        SetWindowTextA(NameField(dialog), name.c_str());
        Press(button)(dialog);
    };
}

int ReportedError(const Box& box) {
    if (box.caption != "Error" || box.owner || box.buttons != std::vector<int>{IDOK} ||
        box.text.rfind("Runtime error ", 0) != 0)
        return -1;
    return std::atoi(box.text.c_str() + 14);
}

Boxes::Boxes() {
    Watching = this;
    Timer = SetTimer(nullptr, 0, 20, AnswerBoxes);
}

Boxes::~Boxes() {
    KillTimer(nullptr, Timer);
    Watching = nullptr;
}

std::vector<Box> Boxes::Take() {
    return std::exchange(seen, {});
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
    Pump(0); // and the WM_QUIT that destroying the window posted
}

void Command(unsigned id) {
    SendMessageA(MainWindow, WM_COMMAND, id, 0);
}

void Pump(DWORD ms) {
    const DWORD start = GetTickCount();
    MSG message;
    do {
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE))
            DispatchEditorMessage(message);
        Sleep(ms ? 10 : 0);
    } while (GetTickCount() - start < ms);
}

std::string Text() {
    std::string text(GetWindowTextLengthA(EditorControl) + 1, '\0');
    text.resize(GetWindowTextA(EditorControl, text.data(), int(text.size())));
    return text;
}

void Put(const std::string& text, bool modified) {
    SetWindowTextA(EditorControl, text.c_str());
    SendMessageA(EditorControl, EM_SETMODIFY, modified, 0);
}

bool Modified() {
    return SendMessageA(EditorControl, EM_GETMODIFY, 0, 0) != 0;
}

std::string Status(int part) {
    char text[1024] = "";
    SendMessageA(StatusBar, SB_GETTEXTA, part, reinterpret_cast<LPARAM>(text));
    return text;
}

std::string Title() {
    return TextOf(MainWindow);
}

std::string Look() {
    std::string look = Text() + (Modified() ? "|modified|" : "|saved|") + DocumentState.CurrentFileName + "|" +
                       std::to_string(int(DocumentState.CurrentFileType)) + "|" + Title() + "|" + Status(0) + "|" + Status(1);
    for (const char* entry : {"a", "b", "c", "d"})
        look += "|" + Value(kOwnKey, entry).value_or("-");
    return look;
}

std::string MenuText(HMENU menu) {
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
            text += std::to_string(GetMenuItemID(menu, item)) + " " + caption + (state & MF_GRAYED ? " grayed|" : "|");
    }
    return text;
}

HGLOBAL DropFiles(const std::vector<std::string>& paths) {
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

void Suite::SetUp() {
    static int tests = 0;
    char temp[MAX_PATH] = "";
    GetTempPathA(sizeof temp, temp);
    folder = temp + std::to_string(GetCurrentProcessId()) + "-" + std::to_string(++tests);
    CreateDirectoryA(folder.c_str(), nullptr);
    startFolder.resize(MAX_PATH);
    startFolder.resize(GetCurrentDirectoryA(MAX_PATH, startFolder.data()));
    RegDeleteTreeA(HKEY_LOCAL_MACHINE, kSuiteKey);
    SetValue(kSuiteKey, "Tessarine", "C:\\Velkaro");
    HKEY own = nullptr;
    RegCreateKeyExA(HKEY_LOCAL_MACHINE, kOwnKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &own, nullptr);
    RegCloseKey(own);
}

void Suite::TearDown() {
    FileCalls = {};
    SetCurrentDirectoryA(startFolder.c_str());
    RegDeleteTreeA(HKEY_LOCAL_MACHINE, kSuiteKey);
}

Program::Program(const std::string& arguments, std::string program) {
    if (program.empty())
        program = ProgramFolder() + "..\\scribane.exe";
    std::string line = "\"" + program + "\" " + arguments;
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    CreateProcessA(program.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info);
}

Program::~Program() {
    if (WaitForSingleObject(info.hProcess, 0) == WAIT_TIMEOUT)
        TerminateProcess(info.hProcess, 1), WaitForSingleObject(info.hProcess, 5000);
    CloseHandle(info.hThread);
    CloseHandle(info.hProcess);
}

namespace {

struct Search {
    DWORD process;
    const char* className;
    HWND found = nullptr;
};

BOOL CALLBACK FindWindowOf(HWND window, LPARAM lParam) {
    auto* search = reinterpret_cast<Search*>(lParam);
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    if (process != search->process || !IsWindowVisible(window) || !HasClass(window, search->className))
        return TRUE;
    search->found = window;
    return FALSE;
}

HWND WaitForWindow(const PROCESS_INFORMATION& info, const char* className) {
    for (int tries = 0; tries < 500; ++tries) {
        Search search{info.dwProcessId, className};
        EnumWindows(FindWindowOf, reinterpret_cast<LPARAM>(&search));
        if (search.found && FindWindowExA(search.found, nullptr, "Edit", nullptr) &&
            WaitForInputIdle(info.hProcess, 0) == 0)
            return search.found;
        if (WaitForSingleObject(info.hProcess, 30) == WAIT_OBJECT_0)
            break;
    }
    return nullptr;
}

} // namespace

HWND Program::Window() const {
    return WaitForWindow(info, kProgramName);
}

DWORD Program::Exit(DWORD ms) const {
    DWORD code = STILL_ACTIVE;
    WaitForSingleObject(info.hProcess, ms);
    GetExitCodeProcess(info.hProcess, &code);
    return code;
}

Box Program::AnswerBox(int button, DWORD ms) const {
    for (DWORD waited = 0; waited < ms; waited += 20, Sleep(20)) {
        Search search{info.dwProcessId, "#32770"};
        EnumWindows(FindWindowOf, reinterpret_cast<LPARAM>(&search));
        if (!search.found)
            continue;
        const Box box = Describe(search.found);
        Press(button)(search.found);
        for (int wait = 0; wait < 250 && IsWindow(search.found); ++wait)
            Sleep(20);
        return box;
    }
    return {};
}
