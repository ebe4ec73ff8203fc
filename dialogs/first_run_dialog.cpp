#include "dialogs/dialogs.h"

INT_PTR CALLBACK FirstRunDialogProc(HWND, UINT, WPARAM, LPARAM) { return FALSE; }
void RunFirstRunDialog() {}
