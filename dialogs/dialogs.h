#pragma once
// The editor's three modal dialogs and its search.
#include <windows.h>

INT_PTR CALLBACK FirstRunDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK AboutDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK FindDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

// The greeting shown on the first start, offering the quick introduction.
void RunFirstRunDialog();

// The program's name, version and makers.
void RunAboutDialog();

// Asks for a text and searches the editor for it.
void RunFindDialog();

// Searches the editor for the last text entered in the Find dialog, from where the
// previous search stopped.
void RunSearch();
