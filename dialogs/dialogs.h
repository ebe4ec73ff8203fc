#pragma once
// The editor's three modal dialogs and its search.
#include <windows.h>

#include <cstddef>
#include <string>

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
// previous search stopped: selects the match and scrolls it into view, or tells the
// user that there is nothing to find.
void RunSearch();

// The longest search text the Find dialog takes; longer input is cut.
inline constexpr int kSearchTextLimit = 255;

struct SearchStateRecord {
    std::string SearchText; // the text last entered in the Find dialog
    // Where the next search starts, counted from 1 for the first character of the text
    // (0 also means the start). Find sets it to 1; each match moves it past the match.
    size_t SearchPosition = 0;
};

extern SearchStateRecord SearchState;
