#include "support/editor_session.h"

#include <commctrl.h>
#include <vector>

#include "platform/app_state.h"
#include "document/search.h"
#include "suite/suite_table.h"
#include "app/startup.h"
#include "dialogs/dialogs.h"
#include "document/document.h"
#include "suite/suite_settings.h"

EditorSession::EditorSession(const std::string& commandLine) {
    ModuleInstance = GetModuleHandleA(nullptr);
    DocumentState = DocumentStateRecord{};
    SuiteSettings = SuiteSettingsRecord{};
    SearchState = SearchStateRecord{};
    started_ = StartEditor(commandLine.c_str());
    PumpMessages();
}

EditorSession::~EditorSession() {
    if (MainWindow)
        DestroyWindow(MainWindow);
    UnregisterClassA(kProgramName, ModuleInstance);
    DeleteObject(SuiteSettings.NormalFont);
    DeleteObject(SuiteSettings.BoldFont);
    MainWindow = nullptr;
    FileMenu = nullptr;
    StatusBar = nullptr;
    EditorControl = nullptr;
    // Drop the WM_QUIT that destroying the window posted.
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE))
        ;
}

void PumpMessages(DWORD ms) {
    const DWORD start = GetTickCount();
    do {
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
        Sleep(5);
    } while (GetTickCount() - start < ms);
}

void SendCommand(unsigned command) {
    SendMessageA(MainWindow, WM_COMMAND, command, 0);
}

std::string EditorText() {
    const int length = GetWindowTextLengthA(EditorControl);
    std::vector<char> text(length + 1, '\0');
    GetWindowTextA(EditorControl, text.data(), length + 1);
    return text.data();
}

void SetEditorText(const std::string& text, bool modified) {
    SetWindowTextA(EditorControl, text.c_str());
    SendMessageA(EditorControl, EM_SETMODIFY, modified, 0);
}

bool EditorModified() {
    return SendMessageA(EditorControl, EM_GETMODIFY, 0, 0) != 0;
}

std::string StatusText(int part) {
    const LRESULT length = LOWORD(SendMessageA(StatusBar, SB_GETTEXTLENGTHA, part, 0));
    std::vector<char> text(length + 1, '\0');
    SendMessageA(StatusBar, SB_GETTEXTA, part, reinterpret_cast<LPARAM>(text.data()));
    return text.data();
}

std::string MainWindowTitle() {
    char title[1024] = "";
    GetWindowTextA(MainWindow, title, sizeof title);
    return title;
}
