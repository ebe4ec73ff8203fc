#pragma once
// The common Open and Save as dialogs, offering the four file types as filters.
#include <string>

#include "document/document_layout.h"

// The size of the file-name buffer the dialog fills, its NUL included.
inline constexpr unsigned kFileDialogCapacity = 260;

struct FileDialogChoice {
    bool Confirmed = false;
    std::string FileName;           // the chosen path; empty when the dialog was cancelled
    FileType Type = FileType::None; // the filter left selected, confirmed or not
};

// Runs the Open dialog (`isOpen`) or the Save as dialog, owned by the main window. It
// starts with an empty name on the filter of `startType` (1 to 4), completes a name
// without extension with ".txt", and leaves the process's current folder where it was.
// Open accepts only existing files; Save as asks before it picks an existing one.
FileDialogChoice RunFileDialog(bool isOpen, FileType startType);
