#include "support/menu_layout.h"

#include "platform/app_state.h"

std::vector<std::string> MenuLayout(HMENU menu) {
    std::vector<std::string> layout;
    const int count = GetMenuItemCount(menu);
    for (int position = 0; position < count; ++position) {
        // For a popup the high byte of the state counts its items instead.
        const bool popup = GetSubMenu(menu, position) != nullptr;
        const UINT state = GetMenuState(menu, position, MF_BYPOSITION) & (popup ? 0xFF : ~0u);
        if (state & MF_SEPARATOR) {
            layout.push_back("---");
            continue;
        }
        char caption[1024] = "";
        GetMenuStringA(menu, position, caption, sizeof caption, MF_BYPOSITION);
        std::string line = popup ? "popup" : std::to_string(GetMenuItemID(menu, position));
        line += std::string(" ") + caption;
        if (state & MF_GRAYED)
            line += " grayed";
        layout.push_back(line);
    }
    return layout;
}

HMENU MenuBarPopup(const char* caption) {
    HMENU bar = GetMenu(MainWindow);
    const int count = GetMenuItemCount(bar);
    for (int position = 0; position < count; ++position) {
        char text[256] = "";
        GetMenuStringA(bar, position, text, sizeof text, MF_BYPOSITION);
        if (std::string(text) == caption)
            return GetSubMenu(bar, position);
    }
    return nullptr;
}
