#include "dialogs/dialogs.h"

INT_PTR CALLBACK FindDialogProc(HWND, UINT, WPARAM, LPARAM) { return FALSE; }
void RunFindDialog() {}
void RunSearch() {}
