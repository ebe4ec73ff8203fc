#pragma once
// Every identifier of the editor, shared by the resource script, the menu builder,
// the window procedure and the tests.

// Menu commands of the main window (the low word of WM_COMMAND's wParam).
#define CMD_RECENT_PLACEHOLDER 100 /* the grayed "(Recent files)" item */
#define CMD_NEW 101
#define CMD_OPEN 102
#define CMD_SAVE_AS 103
#define CMD_EXIT 104
#define CMD_SAVE 105
#define CMD_RECENT_1 106
#define CMD_RECENT_4 109
#define CMD_UNDO 111
#define CMD_CUT 112
#define CMD_COPY 113
#define CMD_PASTE 114
#define CMD_DELETE 115
#define CMD_DATE_TIME 116
#define CMD_FIND 117
#define CMD_FIND_NEXT 118
#define CMD_SELECT_ALL 119
#define CMD_ABOUT 131
#define CMD_QUICK_INTRO 132
#define CMD_WEB_SITE 133
#define CMD_HELP 134

// The Programmes menu: one item per sibling tool of the suite.
#define CMD_PROGRAMME_FIRST 591
#define CMD_PROGRAMME_LAST 595

// The keyboard shortcuts of the main window: Ctrl+F, F3, Ctrl+N, Ctrl+O, Ctrl+S, Ctrl+A.
#define IDR_SHORTCUTS 1

// Child windows of the main window.
#define IDC_STATUS_BAR 30482
#define IDC_EDITOR 0

// First-run dialog "EersteKeer".
#define IDC_WELCOME 201
#define IDC_WELCOME_TEXT 202

// About dialog "Info".
#define IDC_ABOUT_NAME 301
#define IDC_ABOUT_PURPOSE 302
#define IDC_ABOUT_MAKER 303
#define IDC_ABOUT_PUBLISHER 304
#define IDC_ABOUT_WEB 305
#define IDC_ABOUT_PICTURE 76

// Find dialog "Zoek".
#define IDC_FIND_LABEL 401
#define IDC_FIND_TEXT 402
#define IDC_FIND_NEXT 100

// Buttons the dialogs share with the system: Yes, Find (1) and No, Cancel (2).
#define IDC_FIRST_BUTTON 1
#define IDC_SECOND_BUTTON 2

// The suite's web page, where its installer can be downloaded, and the short form
// About shows in its narrow line.
#define SUITE_WEB_ADDRESS "http://velkaro.example/"
#define SUITE_WEB_HOST "velkaro.example"
