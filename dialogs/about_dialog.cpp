#include "dialogs/dialogs.h"

INT_PTR CALLBACK AboutDialogProc(HWND, UINT, WPARAM, LPARAM) { return FALSE; }
void RunAboutDialog() {}
