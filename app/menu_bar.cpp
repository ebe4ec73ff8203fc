#include "app/menu_bar.h"

#include "document/recent_files.h"
#include "platform/app_state.h"
#include "resources/resource_ids.h"
#include "suite/suite_links.h"

namespace {

struct MenuItem {
    const char* Caption; // nullptr for a separator
    unsigned Command;
};

// In the Edit captions, the byte 0x08 right-aligns the shortcut text after it.
const MenuItem kEditItems[] = {
    {"&Undo\bCtrl+Z", CMD_UNDO},
    {nullptr, 0},
    {"&Cut\bCtrl+X", CMD_CUT},
    {"&Copy\bCtrl+C", CMD_COPY},
    {"&Paste\bCtrl+V", CMD_PASTE},
    {nullptr, 0},
    {"&Delete\bDel", CMD_DELETE},
    {"Date and &time", CMD_DATE_TIME},
    {nullptr, 0},
    {"&Find...\bCtrl+F", CMD_FIND},
    {"Find &next\bF3", CMD_FIND_NEXT},
    {"Select &all\bCtrl+A", CMD_SELECT_ALL},
};

const MenuItem kHelpItems[] = {
    {"&About", CMD_ABOUT},
    {"&Quick introduction", CMD_QUICK_INTRO},
    {"&Velkaro online", CMD_WEB_SITE},
    {"&Help", CMD_HELP},
};

void AppendItems(HMENU menu, const MenuItem* first, const MenuItem* last) {
    for (const MenuItem* item = first; item != last; ++item) {
        if (item->Caption)
            AppendMenuA(menu, MF_STRING, item->Command, item->Caption);
        else
            AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
    }
}

void AppendPopup(HMENU bar, HMENU popup, const char* caption) {
    AppendMenuA(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(popup), caption);
}

HMENU BuildFileMenu() {
    HMENU file = CreatePopupMenu();
    AppendMenuA(file, MF_STRING, CMD_NEW, "&New");
    AppendMenuA(file, MF_STRING, CMD_OPEN, "&Open...");
    AppendMenuA(file, MF_STRING, CMD_SAVE_AS, "Save &as...");
    AppendMenuA(file, MF_STRING, CMD_SAVE, "&Save");
    AppendMenuA(file, MF_SEPARATOR, 0, nullptr);
    AppendRecentFileItems(file);
    AppendMenuA(file, MF_SEPARATOR, 0, nullptr);
    AppendMenuA(file, MF_STRING, CMD_EXIT, "&Exit");
    return file;
}

} // namespace

HMENU BuildMenuBar() {
    HMENU bar = CreateMenu();

    FileMenu = BuildFileMenu();
    AppendPopup(bar, FileMenu, "&File");

    HMENU edit = CreatePopupMenu();
    AppendItems(edit, std::begin(kEditItems), std::end(kEditItems));
    AppendPopup(bar, edit, "&Edit");

    // The Programmes menu joins the bar only when a sibling tool is installed.
    HMENU programmes = CreatePopupMenu();
    BuildProgrammesMenu(programmes);
    if (GetMenuItemCount(programmes) > 0)
        AppendPopup(bar, programmes, "&Programmes");
    else
        DestroyMenu(programmes);

    HMENU help = CreatePopupMenu();
    AppendItems(help, std::begin(kHelpItems), std::end(kHelpItems));
    AppendPopup(bar, help, "&Help");
    return bar;
}
