#include "dialogs/dialogs.h"

#include <string>

#include "document/file_calls.h"
#include "document/search.h"
#include "platform/app_state.h"
#include "resources/resource_ids.h"

namespace {

const char kFindCaption[] = "Find";

// Keeps the dialog's text, cut to the search text limit.
void TakeSearchText(HWND dialog) {
    char text[kSearchTextLimit + 1] = "";
    GetDlgItemTextA(dialog, IDC_FIND_TEXT, text, sizeof text);
    SearchState.SearchText = text;
}

// The editor's text as it shows it, in `memory`; empty when there is no memory for it.
std::wstring_view EditorContents(TextMemory& memory) {
    const int length = GetWindowTextLengthW(EditorControl);
    memory = AllocateWideText(static_cast<size_t>(length));
    if (!memory)
        return {};
    wchar_t* const text = static_cast<wchar_t*>(memory.Get());
    return {text, static_cast<size_t>(GetWindowTextW(EditorControl, text, length + 1))};
}

// The search text in the editor's Unicode, from the code page the dialog gave it in.
std::wstring WideSearchText(const std::string& text) {
    std::wstring wide(text.size(), L'\0');
    wide.resize(static_cast<size_t>(MultiByteToWideChar(CP_ACP, 0, text.data(),
                                                        static_cast<int>(text.size()), wide.data(),
                                                        static_cast<int>(wide.size()))));
    return wide;
}

void ShowSearchNotice(const std::string& text) {
    MessageBoxA(MainWindow, text.c_str(), kFindCaption, MB_OK | MB_ICONINFORMATION);
}

} // namespace

// Find starts over at the top; Find next goes on from the last match. Either way the
// dialog is gone before the search shows its selection or its notice. The search field
// has the focus when the dialog opens.
static INT_PTR CALLBACK FindDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
    case WM_INITDIALOG: return TRUE;
    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case IDC_SECOND_BUTTON: EndDialog(dialog, 0); return TRUE;
        case IDC_FIRST_BUTTON:
            TakeSearchText(dialog);
            SearchState.SearchPosition = 1;
            EndDialog(dialog, 0);
            RunSearch();
            return TRUE;
        case IDC_FIND_NEXT:
            TakeSearchText(dialog);
            EndDialog(dialog, 0);
            RunSearch();
            return TRUE;
        }
        break;
    }
    return FALSE;
}

void RunFindDialog() {
    DialogBoxParamA(ModuleInstance, "Zoek", MainWindow, FindDialogProc, 0);
}

void RunSearch() {
    const std::string& needle = SearchState.SearchText;
    if (needle.empty()) {
        ShowSearchNotice("There is no text to search for. Choose Find... in the Edit menu and "
                         "type the text to find.");
        return;
    }
    const size_t from = SearchState.SearchPosition > 0 ? SearchState.SearchPosition - 1 : 0;
    const std::wstring wideNeedle = WideSearchText(needle);
    TextMemory memory;
    const std::wstring_view text = EditorContents(memory);
    if (!memory) {
        ShowSearchNotice("There is not enough memory to search this text.");
        return;
    }
    const auto match = FindNextMatch(text, wideNeedle, from);
    if (!match) {
        // The selection stays where it was, so the user keeps their place.
        ShowSearchNotice("Cannot find \"" + needle + "\".");
        return;
    }
    const size_t end = *match + wideNeedle.size();
    SendMessageA(EditorControl, EM_SETSEL, static_cast<WPARAM>(*match), static_cast<LPARAM>(end));
    SendMessageA(EditorControl, EM_SCROLLCARET, 0, 0);
    SearchState.SearchPosition = end + 1;
}
