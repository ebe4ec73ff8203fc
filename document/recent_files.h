#pragma once
// The four most recently loaded files, newest first, kept in the registry under the
// editor's own key as the values "a" to "d" and offered in the File menu.
#include <windows.h>
#include <string>

// The caption of an entry that holds no file.
inline constexpr char kEmptyRecentEntry[] = "(Empty)";

// True when the newest entry holds a file.
bool HasRecentFiles();

// The path of entry `entry` (1 = newest, 4 = oldest), at most 255 characters, or
// "(Empty)".
std::string ReadRecentFile(int entry);

// Makes `path` the newest entry, unless it already is or is longer than 255 characters.
void AddRecentFile(const std::string& path);

// Appends the recent block to the File popup while it is being built: the four
// entries when the list holds a file, otherwise the grayed "(Recent files)" item.
void AppendRecentFileItems(HMENU fileMenu);

// Rewrites the recent block of FileMenu from the registry after a load.
void RefreshRecentFileItems();
