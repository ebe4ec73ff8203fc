#pragma once
// Answers to the common Open and Save as dialogs, for a BoxWatcher: they fill in the
// dialog's own controls as a user would and record what the dialog showed.
#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "support/box_watcher.h"

// Control identifiers of the common file dialogs.
inline constexpr int kFileTypeCombo = 0x470;    // cmb1: the filters
inline constexpr int kFileNameCombo = 0x47C;    // cmb13: the name field, Explorer style
inline constexpr int kFileNameEdit = 0x480;     // edt1: the name field, older style
inline constexpr int kReadOnlyCheckBox = 0x410; // chx1

// What a file dialog looked like when its answer began.
struct FileDialogLook {
    bool seen = false;
    std::string caption;
    HWND owner = nullptr;
    std::string fileName;             // the name field
    int filterIndex = 0;              // the selected filter, 1-based
    std::vector<std::string> filters; // the captions of the filter list
    bool readOnlyBoxVisible = false;
};

// Selects filter `filterIndex` (1-based; 0 leaves the filter alone), types `fileName`
// into the name field and presses the dialog's Open or Save button. `look` receives
// what the dialog showed first.
BoxWatcher::Answer ChooseInFileDialog(const std::string& fileName, int filterIndex,
                                      std::shared_ptr<FileDialogLook> look = nullptr);

// Selects filter `filterIndex` (0: leaves it), types `fileName` and presses Cancel.
BoxWatcher::Answer CancelFileDialog(int filterIndex = 0, const std::string& fileName = "",
                                    std::shared_ptr<FileDialogLook> look = nullptr);
