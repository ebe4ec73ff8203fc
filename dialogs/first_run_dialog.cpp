#include "dialogs/dialogs.h"

#include "platform/app_state.h"
#include "resources/resource_ids.h"
#include "suite/suite_links.h"
#include "suite/suite_settings.h"

// Yes (also the Enter key) opens the quick introduction; No, Escape and the close box
// just close the greeting.
static INT_PTR CALLBACK FirstRunDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
    case WM_INITDIALOG:
        SendDlgItemMessageA(dialog, IDC_WELCOME, WM_SETFONT,
                            reinterpret_cast<WPARAM>(SuiteSettings.BoldFont), TRUE);
        return TRUE;
    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case IDC_FIRST_BUTTON:
            ShowHelp(kQuickStartTopic);
            EndDialog(dialog, 0);
            return TRUE;
        case IDC_SECOND_BUTTON: EndDialog(dialog, 0); return TRUE;
        }
        break;
    }
    return FALSE;
}

void RunFirstRunDialog() {
    DialogBoxParamA(ModuleInstance, "EersteKeer", MainWindow, FirstRunDialogProc, 0);
}
