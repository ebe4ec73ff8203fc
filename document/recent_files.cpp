#include "document/recent_files.h"

#include <array>

#include "document/path_text.h"
#include "platform/app_state.h"
#include "platform/registry.h"
#include "resources/resource_ids.h"
#include "suite/suite_settings.h"

namespace {

// Entries 1 to 4, newest first, as values of the editor's own key.
constexpr std::array<const char*, 4> kRecentValues{"a", "b", "c", "d"};

// The menu reads an entry into 256 bytes; an update moves entries through 500.
constexpr DWORD kRecentReadCapacity = 256;
constexpr DWORD kRecentUpdateCapacity = 500;

// Where the recent block starts in the File popup: after New, Open..., Save as...,
// Save and a separator.
constexpr UINT kFirstRecentPosition = 5;

constexpr char kRecentPlaceholder[] = "(Recent files)";

bool IsValidEntry(int entry) {
    return entry >= 1 && entry <= static_cast<int>(kRecentValues.size());
}

// The caption of entry `entry` in the File menu and whether it is grayed.
std::string RecentItemCaption(int entry) {
    return RecentMenuCaption(ReadRecentFile(entry));
}

UINT RecentItemFlags(const std::string& caption) {
    return caption == kEmptyRecentEntry ? MF_STRING | MF_GRAYED : MF_STRING;
}

UINT_PTR RecentItemCommand(int entry) {
    return static_cast<UINT_PTR>(CMD_RECENT_1 + entry - 1);
}

} // namespace

bool HasRecentFiles() {
    const RegistryKey own(HKEY_LOCAL_MACHINE, SuiteSettings.ProgramKeyPath.c_str(),
                          KEY_QUERY_VALUE);
    return !ReadRegistryText(own, kRecentValues[0], kRecentReadCapacity).Text.empty();
}

std::string ReadRecentFile(int entry) {
    if (!IsValidEntry(entry))
        return kEmptyRecentEntry;
    const RegistryKey own(HKEY_LOCAL_MACHINE, SuiteSettings.ProgramKeyPath.c_str(),
                          KEY_QUERY_VALUE);
    const std::string path =
        CutToTextLimit(ReadRegistryText(own, kRecentValues[entry - 1], kRecentReadCapacity).Text);
    return path.empty() ? std::string(kEmptyRecentEntry) : path;
}

void AddRecentFile(const std::string& path) {
    // The name ends at its NUL, as every file name of the editor does; one longer than the
    // list keeps is left out rather than cut into the name of another file.
    const std::string newest = path.c_str();
    if (newest.size() > kTextLimit)
        return;
    const RegistryKey own(HKEY_LOCAL_MACHINE, SuiteSettings.ProgramKeyPath.c_str(), KEY_ALL_ACCESS);
    if (!own)
        return; // without write access the list stays as it was
    // Only the newest entry is compared: reopening an older one lists it twice.
    if (ReadRegistryText(own, kRecentValues[0], kRecentUpdateCapacity).Text == newest)
        return;
    for (size_t to = kRecentValues.size() - 1; to > 0; --to)
        WriteRegistryText(own, kRecentValues[to],
                          ReadRegistryText(own, kRecentValues[to - 1], kRecentUpdateCapacity).Text);
    WriteRegistryText(own, kRecentValues[0], newest);
}

void AppendRecentFileItems(HMENU fileMenu) {
    if (!HasRecentFiles()) {
        AppendMenuA(fileMenu, MF_STRING | MF_GRAYED, CMD_RECENT_PLACEHOLDER, kRecentPlaceholder);
        return;
    }
    for (int entry = 1; entry <= static_cast<int>(kRecentValues.size()); ++entry) {
        const std::string caption = RecentItemCaption(entry);
        AppendMenuA(fileMenu, RecentItemFlags(caption), RecentItemCommand(entry), caption.c_str());
    }
}

// After a load the four entries are rewritten in place. A File menu built on an
// empty list still holds the single "(Recent files)" item there; once the list holds
// a file, that item becomes the first entry and the other three are inserted after
// it, so the block sits between its two separators as in a freshly built menu.
void RefreshRecentFileItems() {
    if (!FileMenu)
        return;
    const int entries = static_cast<int>(kRecentValues.size());
    if (GetMenuItemID(FileMenu, kFirstRecentPosition) == CMD_RECENT_PLACEHOLDER) {
        if (!HasRecentFiles())
            return;
        for (int entry = 2; entry <= entries; ++entry)
            InsertMenuA(FileMenu, kFirstRecentPosition + entry - 1, MF_BYPOSITION | MF_STRING,
                        RecentItemCommand(entry), kEmptyRecentEntry);
    }
    for (int entry = 1; entry <= entries; ++entry) {
        const std::string caption = RecentItemCaption(entry);
        ModifyMenuA(FileMenu, kFirstRecentPosition + entry - 1,
                    MF_BYPOSITION | RecentItemFlags(caption), RecentItemCommand(entry),
                    caption.c_str());
    }
}
