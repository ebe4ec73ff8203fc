#pragma once
// The four kinds of file the editor reads and writes. The value is the 1-based index
// of the file dialog's filter; the filter left selected decides the layout.
#include <string>

enum class FileType : unsigned char {
    None = 0, // no file dialog closed yet: read and written as plain text
    Credits = 1,
    LevelDescription = 2,
    Text = 3,
    AllFiles = 4,
};

// The file dialog's filter list: caption and pattern of each type in order, each
// ended by a NUL, and an empty string after the last.
std::string FileDialogFilter();
