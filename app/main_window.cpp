#include "app/main_window.h"

#include "app/command_table.h"
#include "document/document.h"
#include "platform/app_state.h"

void LayOutMainWindow() {
    // The WM_SIZE sent while start-up shows the window comes before the children exist.
    if (!StatusBar || !EditorControl)
        return;
    RECT statusClient{}, mainClient{};
    GetClientRect(StatusBar, &statusClient);
    const int statusHeight = statusClient.bottom - statusClient.top;
    GetClientRect(MainWindow, &mainClient);
    const int width = mainClient.right, height = mainClient.bottom;
    // Both repaint where they move: the main window draws no background of its own, so
    // whatever they leave unpainted would stay black.
    MoveWindow(EditorControl, 0, 0, width, height - statusHeight, TRUE);
    // The status bar fixes its own height; only its top edge and width are ours.
    MoveWindow(StatusBar, 0, height - statusHeight, width, height, TRUE);
}

// Closing asks to save; once the user agrees the process ends here, with no window
// destroyed and no return to the message loop.
static LRESULT CloseMainWindow() {
    if (ConfirmSave())
        ExitProcess(0);
    return 0;
}

// Windows asks before the session ends: unsaved text keeps it going unless the user
// lets the text go or it is saved. While the question is up, Windows tells the user
// why the session waits; asked again meanwhile, the editor refuses at once rather than
// put a second question over the first.
static LRESULT QueryEndSession() {
    static bool asking = false;
    if (asking)
        return FALSE;
    if (!SendMessageA(EditorControl, EM_GETMODIFY, 0, 0))
        return TRUE;
    asking = true;
    ShutdownBlockReasonCreate(MainWindow, L"Unsaved text in Scribane");
    const bool goesOn = ConfirmSave();
    ShutdownBlockReasonDestroy(MainWindow);
    asking = false;
    return goesOn ? TRUE : FALSE;
}

static LRESULT ColourEditorText(HDC deviceContext) {
    SetTextColor(deviceContext, RGB(0, 0x44, 0));
    return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_WINDOW));
}

LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_DESTROY: PostQuitMessage(0); return 0;
    case WM_SIZE: LayOutMainWindow(); break;
    case WM_SETFOCUS: SetFocus(EditorControl); break;
    case WM_CLOSE: return CloseMainWindow();
    case WM_QUERYENDSESSION: return QueryEndSession();
    case WM_ERASEBKGND: return 1;
    case WM_COMMAND: HandleCommand(wParam); break;
    case WM_DROPFILES: OpenDroppedFile(reinterpret_cast<HDROP>(wParam)); return 0;
    case WM_CTLCOLOREDIT: return ColourEditorText(reinterpret_cast<HDC>(wParam));
    }
    return DefWindowProcA(window, message, wParam, lParam);
}
