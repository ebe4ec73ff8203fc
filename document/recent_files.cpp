#include "document/recent_files.h"

#include "app/app_state.h"
#include "resources/resource_ids.h"

bool HasRecentFiles() { return false; }
std::string ReadRecentFile(int) { return kEmptyRecentEntry; }
void AddRecentFile(const std::string&) {}

void AppendRecentFileItems(HMENU fileMenu) {
    AppendMenuA(fileMenu, MF_STRING | MF_GRAYED, CMD_RECENT_PLACEHOLDER, "(Recent files)");
}

void RefreshRecentFileItems() {}
