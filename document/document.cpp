#include "document/document.h"

#include <windows.h>
#include <commctrl.h>

#include "app/app_state.h"
#include "document/document_file.h"
#include "document/error_box.h"
#include "document/file_dialog.h"
#include "document/path_text.h"
#include "document/recent_files.h"

DocumentStateRecord DocumentState;

void SetStatusText(int part, std::string_view text) {
    std::string shown(1, part == 0 ? ' ' : '\t');
    shown += CutToTextLimit(text);
    SendMessageA(StatusBar, SB_SETTEXTA, static_cast<WPARAM>(part),
                 reinterpret_cast<LPARAM>(shown.c_str()));
}

void RefreshModifiedIndicator() {
    SetStatusText(1, SendMessageA(EditorControl, EM_GETMODIFY, 0, 0) ? "Modified" : "");
}

namespace {

// The one place a failed file operation is reported. The operation has changed
// nothing of the document by then, so the editor simply goes on afterwards.
void ReportFileError(const FileError& error) {
    ShowErrorReport(error.number, error.codeAddresses);
}

// The editor's text now matches the file `path`: the status bar says so.
void MarkSaved(const std::string& path) {
    SetStatusText(0, path);
    SetStatusText(1, "");
    SendMessageA(EditorControl, EM_SETMODIFY, FALSE, 0);
}

// Writes the editor's text to `path` in the layout of `type`. Only once the file is
// written do the two become the current file; a failure is reported and changes nothing.
SaveResult SaveAs(const std::string& path, FileType type) {
    if (auto error = WriteDocumentFile(path, type, EditorControl)) {
        ReportFileError(*error);
        return SaveResult::Failed;
    }
    DocumentState.CurrentFileName = path;
    DocumentState.CurrentFileType = type;
    // The title keeps the name of the file last loaded, and the recent list is for loads.
    MarkSaved(path);
    return SaveResult::Saved;
}

} // namespace

bool ConfirmSave() {
    if (!SendMessageA(EditorControl, EM_GETMODIFY, 0, 0))
        return true;
    switch (MessageBoxA(MainWindow, "Would you like to save this text?", "Save text",
                        MB_YESNOCANCEL | MB_ICONQUESTION | MB_RIGHT)) {
    case IDYES: return SaveDocument() == SaveResult::Saved;
    case IDCANCEL: return false;
    default: return true;
    }
}

void NewDocument() {
    if (!ConfirmSave())
        return;
    DocumentState.CurrentFileName = kUnsavedName;
    SetStatusText(0, kUnsavedName);
    SetStatusText(1, "");
    SendMessageA(EditorControl, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(""));
    SendMessageA(EditorControl, EM_SETMODIFY, FALSE, 0);
    SetWindowTextA(MainWindow, kProgramName);
}

void OpenDocument() {
    if (!ConfirmSave())
        return;
    const FileDialogChoice choice = RunFileDialog(true);
    if (choice.confirmed)
        LoadDocument(choice.fileName, choice.fileType);
}

SaveResult SaveDocumentAs() {
    const FileDialogChoice choice = RunFileDialog(false);
    if (!choice.confirmed)
        return SaveResult::Cancelled;
    return SaveAs(choice.fileName, choice.fileType);
}

SaveResult SaveDocument() {
    if (DocumentState.CurrentFileName == kUnsavedName)
        return SaveDocumentAs();
    return SaveAs(DocumentState.CurrentFileName, DocumentState.CurrentFileType);
}

bool LoadDocument(const std::string& path, FileType type) {
    std::string text;
    if (auto error = ReadDocumentFile(path, type, text)) {
        ReportFileError(*error);
        return false;
    }
    DocumentState.CurrentFileName = path;
    DocumentState.CurrentFileType = type;
    SetWindowTextA(EditorControl, text.c_str());
    MarkSaved(path);
    AddRecentFile(path);
    RefreshRecentFileItems();
    SetWindowTextA(MainWindow, LoadedDocumentTitle(path).c_str());
    return true;
}

void LoadDocumentAtStartUp(const std::string& path) {
    LoadDocument(path, FileType::None);
}

void OpenRecentFile(int entry) {
    if (!ConfirmSave())
        return;
    LoadDocument(ReadRecentFile(entry), DocumentState.CurrentFileType);
}
