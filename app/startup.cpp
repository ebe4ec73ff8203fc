#include "app/startup.h"

#include <commctrl.h>
#include <string>

#include "app/command_line.h"
#include "app/main_window.h"
#include "app/menu_bar.h"
#include "dialogs/dialogs.h"
#include "document/document.h"
#include "platform/app_state.h"
#include "resources/resource_ids.h"
#include "suite/suite_settings.h"
#include "suite/suite_table.h"

namespace {

// The keyboard shortcuts of the main window and its editor (Ctrl+F, F3, Ctrl+N,
// Ctrl+O, Ctrl+S, Ctrl+A); loaded with the resources, alive until the process ends.
HACCEL Shortcuts = nullptr;

} // namespace

bool RegisterMainClass() {
    WNDCLASSA windowClass{};
    windowClass.style = CS_HREDRAW | CS_VREDRAW;
    windowClass.lpfnWndProc = MainWindowProc;
    windowClass.hInstance = ModuleInstance;
    windowClass.hIcon = LoadIconA(ModuleInstance, "Icoon");
    windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(GRAY_BRUSH));
    windowClass.lpszClassName = kProgramName;
    return RegisterClassA(&windowClass) != 0;
}

bool CreateMainWindow() {
    MainWindow = CreateWindowExA(0, kProgramName, kProgramName, WS_OVERLAPPEDWINDOW, CW_USEDEFAULT,
                                 CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr,
                                 ModuleInstance, nullptr);
    return MainWindow != nullptr;
}

void CreateStatusBar() {
    StatusBar =
        CreateStatusWindowA(WS_CHILD | WS_VISIBLE, kUnsavedName, MainWindow, IDC_STATUS_BAR);
    if (StatusBar) {
        int partEdges[2] = {400, -1};
        SendMessageA(StatusBar, SB_SETPARTS, 2, reinterpret_cast<LPARAM>(partEdges));
    }
}

void CreateEditorControl() {
    RECT mainClient{}, statusClient{};
    GetClientRect(MainWindow, &mainClient);
    if (StatusBar)
        GetClientRect(StatusBar, &statusClient);
    // The one window of the editor that holds Unicode text, so a UTF-8 file keeps every
    // character it holds, and one typed in it.
    EditorControl = CreateWindowExW(
        WS_EX_CLIENTEDGE, L"EDIT", L"", WS_CHILD | WS_VSCROLL | WS_HSCROLL | ES_MULTILINE, 0, 0,
        mainClient.right, mainClient.bottom - statusClient.bottom, MainWindow,
        reinterpret_cast<HMENU>(static_cast<INT_PTR>(IDC_EDITOR)), ModuleInstance, nullptr);
    if (EditorControl) {
        SendMessageA(EditorControl, WM_SETFONT, reinterpret_cast<WPARAM>(SuiteSettings.NormalFont),
                     0);
        // Without a limit of its own the control refuses typing once its text passes
        // about 30,000 characters, and files are often longer: lift it to the maximum.
        SendMessageA(EditorControl, EM_SETLIMITTEXT, 0, 0);
        ShowWindow(EditorControl, SW_SHOW);
        UpdateWindow(EditorControl);
    }
}

bool StartEditor(const char* commandLine) {
    LoadSuiteSettings(kOwnSuiteName);

    if (!RegisterMainClass()) {
        MessageBoxA(nullptr, "Register failed", nullptr, 0);
        return false;
    }
    if (!CreateMainWindow()) {
        MessageBoxA(nullptr, "WinCreate failed", nullptr, 0);
        return false;
    }
    SetMenu(MainWindow, BuildMenuBar());
    ShowWindow(MainWindow, SW_SHOW);
    UpdateWindow(MainWindow);

    if (SuiteSettings.FirstRun) {
        // Cleared before the dialog shows, so a program ended while it is open does
        // not greet the user again.
        ClearFirstRunFlag();
        RunFirstRunDialog();
    }

    if (SuiteSettings.ProgramDirectory.empty())
        MessageBoxA(nullptr, InstallationWarningText().c_str(), "Error",
                    MB_ICONWARNING | MB_TASKMODAL | MB_SETFOREGROUND);

    DocumentState.CurrentFileName = kUnsavedName;
    CreateStatusBar();
    CreateEditorControl();

    // Files dropped on the window open as a recent entry does (this gives the window the
    // extended style WS_EX_ACCEPTFILES).
    DragAcceptFiles(MainWindow, TRUE);

    const std::string fileName = FirstCommandLineArgument(commandLine ? commandLine : "");
    if (!fileName.empty())
        LoadDocumentAtStartUp(fileName);

    Shortcuts = LoadAcceleratorsA(ModuleInstance, MAKEINTRESOURCEA(IDR_SHORTCUTS));
    SetFocus(EditorControl);
    return true;
}

bool TranslateEditorAccelerator(MSG& message) {
    // Only keys meant for the main window or its editor: the modal dialogs run loops
    // of their own, and the status bar takes no keys.
    if (!Shortcuts || (message.hwnd != MainWindow && message.hwnd != EditorControl))
        return false;
    return TranslateAcceleratorW(MainWindow, Shortcuts, &message) != 0;
}

void DispatchEditorMessage(MSG& message) {
    if (TranslateEditorAccelerator(message))
        return;
    TranslateMessage(&message);
    DispatchMessageW(&message);
}

// Messages are taken in Unicode, so a character typed into the editor reaches it whole,
// whatever the system's code page holds.
int RunMessageLoop() {
    MSG message{};
    while (GetMessageW(&message, nullptr, 0, 0) != 0)
        DispatchEditorMessage(message);
    return static_cast<int>(message.wParam & 0xFF);
}
