#include "document/document.h"

#include <commctrl.h>

#include "document/document_file.h"
#include "document/error_box.h"
#include "document/file_dialog.h"
#include "document/path_text.h"
#include "document/recent_files.h"
#include "platform/app_state.h"
#include "suite/suite_table.h"

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
// nothing of the document by then, so the editor simply goes on afterwards: the box
// has no owner, so the main window takes the activation and the editor the keys back.
void ReportFileError(const FileError& error) {
    ShowErrorReport(error.Number, error.CodeAddresses);
    SetForegroundWindow(MainWindow);
    SetFocus(EditorControl);
}

// The editor's text now matches the file `path`: the status bar says so.
void MarkSaved(const std::string& path) {
    SetStatusText(0, path);
    SetStatusText(1, "");
    SendMessageA(EditorControl, EM_SETMODIFY, FALSE, 0);
}

void SetDocumentTitle(const std::string& path) {
    SetWindowTextA(MainWindow, LoadedDocumentTitle(path).c_str());
}

bool IsSameFile(const std::string& one, const std::string& other) {
    return lstrcmpiA(FullPathOf(one).c_str(), FullPathOf(other).c_str()) == 0;
}

// Whether the text may be saved to `path` in the layout of `type`. Saving over the
// file whose load left part of it unshown would lose that part: the user decides.
bool MaySaveOver(const std::string& path, FileType type) {
    if (DocumentState.Loss == LoadLoss::None || !IsSameFile(path, DocumentState.CurrentFileName))
        return true;
    const auto sizeOnDisk = FileSizeOnDisk(path);
    if (!sizeOnDisk)
        return true; // the file has gone: there is nothing left to lose
    const size_t length = static_cast<size_t>(GetWindowTextLengthA(EditorControl));
    const LayoutFrame frame = DocumentFrame(type, length);
    const std::string question = SaveLossQuestion(
        DocumentState.Loss, *sizeOnDisk, frame.Header.size() + length + frame.TerminatorSize);
    return MessageBoxA(MainWindow, question.c_str(), kProgramName,
                       MB_YESNO | MB_ICONWARNING | MB_DEFBUTTON2) == IDYES;
}

// Writes the editor's text to `path` in the layout of `type`. Only once the file is
// written do the two become the current file; a failure is reported and changes nothing.
SaveResult SaveAs(const std::string& path, FileType type) {
    if (!MaySaveOver(path, type))
        return SaveResult::Cancelled;
    if (auto error = WriteDocumentFile(path, type, EditorControl)) {
        ReportFileError(*error);
        return SaveResult::Failed;
    }
    DocumentState.CurrentFileName = path;
    DocumentState.CurrentFileType = type;
    DocumentState.Loss = LoadLoss::None;
    MarkSaved(path);
    // The title names the file the next Save writes; the recent list is for loads.
    SetDocumentTitle(path);
    return SaveResult::Saved;
}

// Loads the file `name` names, made absolute, in the layout its name asks for. A name
// too long to keep whole is reported rather than cut into the name of another file.
bool LoadNamedFile(const std::string& name) {
    const std::string path = FullPathOf(name);
    if (name.size() > kTextLimit || path.size() > kTextLimit) {
        ReportFileError(FileFailure(ERROR_FILENAME_EXCED_RANGE));
        return false;
    }
    return LoadDocument(path, FileTypeForName(path));
}

void OpenNamedFile(const std::string& name) {
    if (ConfirmSave())
        LoadNamedFile(name);
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
    DocumentState.Loss = LoadLoss::None;
    SetStatusText(0, kUnsavedName);
    SetStatusText(1, "");
    SendMessageA(EditorControl, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(""));
    SendMessageA(EditorControl, EM_SETMODIFY, FALSE, 0);
    SetWindowTextA(MainWindow, kProgramName);
}

void OpenDocument() {
    if (!ConfirmSave())
        return;
    const FileDialogChoice choice = RunFileDialog(true, FileType::Text);
    if (choice.Confirmed)
        LoadDocument(choice.FileName, choice.Type);
}

SaveResult SaveDocumentAs() {
    // The dialog offers the current file's layout, so a level description saved under a
    // new name stays one unless the user picks another filter.
    const FileType current = DocumentState.CurrentFileType;
    const FileDialogChoice choice =
        RunFileDialog(false, current == FileType::None ? FileType::Text : current);
    if (!choice.Confirmed)
        return SaveResult::Cancelled;
    return SaveAs(choice.FileName, choice.Type);
}

SaveResult SaveDocument() {
    if (DocumentState.CurrentFileName == kUnsavedName)
        return SaveDocumentAs();
    return SaveAs(DocumentState.CurrentFileName, DocumentState.CurrentFileType);
}

bool LoadDocument(const std::string& path, FileType type) {
    DecodedDocument document;
    auto error = ReadDocumentFile(path, type, document);
    if (!error)
        error = ShowDocumentText(EditorControl, document.Text);
    if (error) {
        ReportFileError(*error);
        return false;
    }
    DocumentState.CurrentFileName = path;
    DocumentState.CurrentFileType = type;
    DocumentState.Loss = document.Loss;
    MarkSaved(path);
    AddRecentFile(path);
    RefreshRecentFileItems();
    SetDocumentTitle(path);
    if (document.Loss != LoadLoss::None)
        MessageBoxA(MainWindow, LoadLossWarning(document.Loss, document.NulOffset).c_str(),
                    kProgramName, MB_OK | MB_ICONWARNING);
    return true;
}

void LoadDocumentAtStartUp(const std::string& name) {
    LoadNamedFile(name);
}

void OpenRecentFile(int entry) {
    OpenNamedFile(ReadRecentFile(entry));
}

void OpenDroppedFile(HDROP drop) {
    std::string name(DragQueryFileA(drop, 0, nullptr, 0), '\0');
    if (!name.empty())
        DragQueryFileA(drop, 0, name.data(), static_cast<UINT>(name.size() + 1));
    DragFinish(drop);
    if (!name.empty())
        OpenNamedFile(name);
}
