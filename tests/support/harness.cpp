#include "support/harness.h"

#include <dlgs.h>

#include "document/search.h"

static std::string TextOf(HWND window) {
    char text[4096] = "";
    return GetWindowTextA(window, text, sizeof text), text;
}

static bool Is(HWND window, const char* className) {
    char name[64] = "";
    return GetClassNameA(window, name, sizeof name), lstrcmpiA(name, className) == 0;
}

Box Describe(HWND dialog) {
    Box box{TextOf(dialog), "", {}, GetWindow(dialog, GW_OWNER)};
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
    ModuleInstance = GetModuleHandleA(nullptr), DocumentState = {}, SuiteSettings = {};
    SearchState = {};
    StartEditor(commandLine.c_str());
}

Editor::~Editor() {
    DestroyWindow(MainWindow);
    UnregisterClassA(kProgramName, ModuleInstance);
    DeleteObject(SuiteSettings.NormalFont), DeleteObject(SuiteSettings.BoldFont);
    ResetAppState();
    for (MSG message; PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE);) // WM_QUIT among them
        DispatchMessageA(&message);
}

static Suite* Running = nullptr;
static UINT_PTR Timer = 0;
static std::vector<std::pair<HWND, DWORD>> Answered; // and when

static BOOL CALLBACK FindNewBox(HWND window, LPARAM found) {
    const bool known = std::ranges::count(Answered, window, &std::pair<HWND, DWORD>::first);
    if (known || !IsWindowVisible(window) || !Is(window, "#32770"))
        return TRUE;
    return *reinterpret_cast<HWND*>(found) = window, FALSE;
}

// Runs every 20 ms inside the modal loop of whatever box shows.
static void CALLBACK AnswerBoxes(HWND, UINT, UINT_PTR, DWORD) {
    std::erase_if(Answered, [](auto& box) { return !IsWindow(box.first); });
    for (auto& [box, when] : Answered)
        if (GetTickCount() - when > 5000) {
            ADD_FAILURE() << "\"" << TextOf(box) << "\" stayed open after its answer";
            EndDialog(box, IDCANCEL), when = GetTickCount();
        }
    HWND box = nullptr;
    EnumThreadWindows(GetCurrentThreadId(), FindNewBox, LPARAM(&box));
    if (!box || !Running)
        return;
    Answered.push_back({box, GetTickCount()});
    Running->seen.push_back(Describe(box));
    auto& answers = Running->answers;
    const Answer answer = answers.empty() ? Suite::Press(IDCANCEL) : answers.front();
    answers.empty() ? void() : answers.pop_front();
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
    Running = this, Timer = SetTimer(nullptr, 0, 20, AnswerBoxes);
}

void Suite::TearDown() {
    KillTimer(nullptr, Timer), Running = nullptr, FileCalls = {};
    SetCurrentDirectoryA(ProgramFolder().c_str());
    RegDeleteTreeA(HKEY_LOCAL_MACHINE, kSuiteKey);
}
