#pragma once
#include <string>
#include <string_view>

// The longest text the editor keeps of a path in its status bar, title, recent list
// and command line.
inline constexpr size_t kTextLimit = 255;

// `text` cut to its first 255 characters.
std::string CutToTextLimit(std::string_view text);

// The text after the last backslash of `path`, or all of it when it holds none.
std::string FileNamePart(std::string_view path);

// The folder of the full path `path`, with its closing backslash; empty when it names none.
std::string FolderOf(std::string_view path);

// Whether the full path `path` names a device rather than a file: "\\.\" and a name
// without a folder, as the system completes a name such as "nul.txt", "con" or "com1".
bool IsDeviceName(std::string_view path);

// The window title after a load or a save: the file-name part of the first 255 characters of
// the path, then " - Scribane".
std::string LoadedDocumentTitle(std::string_view path);

// The File menu's caption for the recent file `path`: its file-name part, with every
// "&" doubled so that the menu shows it rather than underlining the next letter.
std::string RecentMenuCaption(std::string_view path);
