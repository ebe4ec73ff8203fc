#include "dialogs/dialogs.h"

#include "app/app_state.h"
#include "resources/resource_ids.h"
#include "suite/help_links.h"
#include "suite/suite_settings.h"

// Yes (also the Enter key) opens the quick introduction; No, Escape and the close box
// just close the greeting.
INT_PTR CALLBACK FirstRunDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
    case WM_INITDIALOG:
        SendDlgItemMessageA(dialog, IDC_WELCOME, WM_SETFONT,
                            reinterpret_cast<WPARAM>(SuiteSettings.BoldFont), TRUE);
        break;
    case WM_COMMAND:
        if (wParam == IDC_FIRST_BUTTON) {
            ShowHelp(kQuickStartTopic);
            EndDialog(dialog, 0);
        } else if (wParam == IDC_SECOND_BUTTON) {
            EndDialog(dialog, 0);
        }
        break;
    }
    return FALSE;
}

void RunFirstRunDialog() {
    DialogBoxParamA(ModuleInstance, "EersteKeer", MainWindow, FirstRunDialogProc, 0);
}
