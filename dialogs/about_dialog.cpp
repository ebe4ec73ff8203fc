#include "dialogs/dialogs.h"

#include "platform/app_state.h"
#include "resources/resource_ids.h"
#include "suite/suite_settings.h"

// Any command closes the dialog: Enter, Escape and the close box alike.
static INT_PTR CALLBACK AboutDialogProc(HWND dialog, UINT message, WPARAM, LPARAM) {
    switch (message) {
    case WM_INITDIALOG:
        SendDlgItemMessageA(dialog, IDC_ABOUT_NAME, WM_SETFONT,
                            reinterpret_cast<WPARAM>(SuiteSettings.BoldFont), TRUE);
        return TRUE;
    case WM_COMMAND: EndDialog(dialog, 0); return TRUE;
    }
    return FALSE;
}

void RunAboutDialog() {
    DialogBoxParamA(ModuleInstance, "Info", MainWindow, AboutDialogProc, 0);
}
