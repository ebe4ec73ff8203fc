#pragma once
// The editor's three modal dialogs, each owned by the main window, and its search.

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
