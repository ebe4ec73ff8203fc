#include "support/file_dialog_answers.h"

namespace {

std::string WindowText(HWND window) {
    char text[1024] = "";
    GetWindowTextA(window, text, sizeof text);
    return text;
}

HWND FileNameField(HWND dialog) {
    if (HWND combo = WaitForDialogItem(dialog, kFileNameCombo, 1000))
        return combo;
    return WaitForDialogItem(dialog, kFileNameEdit, 1000);
}

void Describe(HWND dialog, FileDialogLook& look) {
    look.seen = true;
    look.caption = WindowText(dialog);
    look.owner = GetWindow(dialog, GW_OWNER);
    look.fileName = WindowText(FileNameField(dialog));
    HWND types = WaitForDialogItem(dialog, kFileTypeCombo);
    look.filterIndex = static_cast<int>(SendMessageA(types, CB_GETCURSEL, 0, 0)) + 1;
    const int count = static_cast<int>(SendMessageA(types, CB_GETCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
        char caption[256] = "";
        SendMessageA(types, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(caption));
        look.filters.push_back(caption);
    }
    HWND readOnly = GetDlgItem(dialog, kReadOnlyCheckBox);
    look.readOnlyBoxVisible = readOnly && IsWindowVisible(readOnly);
}

// Fills in the dialog as a user would: the filter first, as choosing one can change
// what the name field shows, then the name.
void FillIn(HWND dialog, int filterIndex, const std::string& fileName,
            const std::shared_ptr<FileDialogLook>& look) {
    if (look)
        Describe(dialog, *look);
    if (filterIndex > 0) {
        HWND types = WaitForDialogItem(dialog, kFileTypeCombo);
        SendMessageA(types, CB_SETCURSEL, filterIndex - 1, 0);
        // A choice in the list sends both notifications; dialogs differ in which they
        // act on.
        for (WORD notification : {CBN_SELCHANGE, CBN_SELENDOK})
            SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(kFileTypeCombo, notification),
                         reinterpret_cast<LPARAM>(types));
    }
    SendMessageA(FileNameField(dialog), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(fileName.c_str()));
}

} // namespace

BoxWatcher::Answer ChooseInFileDialog(const std::string& fileName, int filterIndex,
                                      std::shared_ptr<FileDialogLook> look) {
    return [=](HWND dialog) {
        FillIn(dialog, filterIndex, fileName, look);
        PressButton(IDOK)(dialog);
    };
}

BoxWatcher::Answer CancelFileDialog(int filterIndex, const std::string& fileName,
                                    std::shared_ptr<FileDialogLook> look) {
    return [=](HWND dialog) {
        FillIn(dialog, filterIndex, fileName, look);
        PressButton(IDCANCEL)(dialog);
    };
}
