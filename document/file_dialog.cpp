#include "document/file_dialog.h"

#include <windows.h>
#include <commdlg.h>

#include <cstddef>

#include "platform/app_state.h"

// The record as the first Explorer-style dialogs knew it: 76 bytes in the 32-bit program.
static_assert(sizeof(void*) != 4 || offsetof(OPENFILENAMEA, lpTemplateName) + sizeof(LPCSTR) == 76);

FileDialogChoice RunFileDialog(bool isOpen, FileType startType) {
    const std::string filter = FileDialogFilter();
    char fileName[kFileDialogCapacity + 1] = ""; // the name field starts empty

    OPENFILENAMEA dialog{};
    dialog.lStructSize = OPENFILENAME_SIZE_VERSION_400A;
    dialog.hwndOwner = MainWindow;
    dialog.lpstrFilter = filter.c_str();
    dialog.nFilterIndex = static_cast<DWORD>(startType);
    dialog.lpstrFile = fileName;
    dialog.nMaxFile = kFileDialogCapacity;
    // The current folder stays put, so programs the editor later starts by bare name are
    // never looked for in a folder the user happened to browse.
    dialog.Flags = OFN_EXPLORER | OFN_HIDEREADONLY | OFN_NOCHANGEDIR |
                   (isOpen ? OFN_FILEMUSTEXIST : OFN_OVERWRITEPROMPT);
    dialog.lpstrDefExt = "txt";

    FileDialogChoice choice;
    choice.Confirmed = isOpen ? GetOpenFileNameA(&dialog) : GetSaveFileNameA(&dialog);
    choice.Type = static_cast<FileType>(dialog.nFilterIndex & 0xFF);
    if (choice.Confirmed)
        choice.FileName = fileName;
    return choice;
}
