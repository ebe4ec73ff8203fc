#include "document/document.h"

#include <commctrl.h>

#include <optional>

#include "document/document_file.h"
#include "document/error_box.h"
#include "document/file_dialog.h"
#include "document/file_names.h"
#include "document/path_text.h"
#include "document/safe_save.h"
#include "document/recent_files.h"
#include "platform/app_state.h"
#include "platform/wait_cursor.h"
#include "suite/program_search.h"
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

// The one place a failed file operation on `path` is reported. The operation has
// changed nothing of the document by then, so the editor simply goes on afterwards: the
// box has no owner, so the main window takes the activation and the editor the keys back.
void ReportFileError(const FileError& error, const std::string& path) {
    std::vector<std::string> details = error.Details;
    details.push_back(FileErrorLine(FullPathOf(path), error.Number,
                                    error.SystemCode ? SystemErrorMessage(error.SystemCode) : ""));
    ShowErrorReport(error.Number, error.CodeAddresses, details);
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

// Whether the text may be saved to `path`. Saving over the file whose load left part of
// it unshown, under whatever name, would lose that part: the user decides.
bool MaySaveOver(const std::string& path) {
    if (DocumentState.Loss == LoadLoss::None || !PathExists(path) ||
        !IsSameFile(path, DocumentState.CurrentFileName))
        return true; // another file, or the file has gone: there is nothing left to lose
    const std::string question = SaveLossQuestion(DocumentState.Loss, DocumentState.NulOffset);
    return MessageBoxA(MainWindow, question.c_str(), kProgramName,
                       MB_YESNO | MB_ICONWARNING | MB_DEFBUTTON2) == IDYES;
}

// Whether the text may be saved in the code page although some of its characters have
// no byte there and would become "?": the user decides.
bool MaySaveLossily() {
    return MessageBoxA(MainWindow,
                       "Saving will replace the characters this file's encoding cannot hold with "
                       "\"?\". Save anyway?",
                       kProgramName, MB_YESNO | MB_ICONWARNING | MB_DEFBUTTON2) == IDYES;
}

// After a save that put "?" for the characters its file cannot hold, the editor shows what
// the file holds, with the caret and the selection where they were as far as the text
// allows. Without memory for that, the text stays and shows as modified: it is not the
// file's.
void ShowSavedText(std::string_view saved, TextFormat format) {
    DWORD start = 0;
    DWORD end = 0;
    SendMessageW(EditorControl, EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                 reinterpret_cast<LPARAM>(&end));
    auto [error, text] = DecodeText(saved, format);
    if (error || PutEditorText(EditorControl, text)) {
        SendMessageA(EditorControl, EM_SETMODIFY, TRUE, 0);
        RefreshModifiedIndicator();
        return;
    }
    SendMessageW(EditorControl, EM_SETSEL, start, end);
    SendMessageW(EditorControl, EM_SCROLLCARET, 0, 0);
}

// The editor's text as the bytes of a file in the layout of `type`, with the line ends and
// the encoding `format` gives.
Outcome<DocumentBytes> FetchDocumentBytes(FileType type, TextFormat format) {
    const WaitCursor wait;
    auto [error, text] = FetchEditorText(EditorControl);
    if (error)
        return {error};
    return EncodeDocumentText(text, type, format);
}

// Writes the editor's text to `path` in the layout of `type`, with the line ends and the
// encoding of the current file; the game's own files stay in the code page. Only once the
// file is written do the two become the current file; a failure is reported and changes
// nothing.
SaveResult SaveAs(const std::string& path, FileType type) {
    if (!MaySaveOver(path))
        return SaveResult::Cancelled;
    TextFormat format = DocumentState.Format;
    if (IsGameFile(type, path))
        format.Encoding = TextEncoding::CodePage;
    auto [fetchError, bytes] = FetchDocumentBytes(type, format);
    if (fetchError) {
        ReportFileError(*fetchError, path);
        return SaveResult::Failed;
    }
    if (bytes.Lossy && !MaySaveLossily())
        return SaveResult::Cancelled;
    SaveOutcome saved;
    {
        const WaitCursor wait;
        saved = WriteDocumentFile(path, bytes.View());
    }
    if (saved.Error) {
        ReportFileError(*saved.Error, path);
        return SaveResult::Failed;
    }
    DocumentState.CurrentFileName = path;
    DocumentState.CurrentFileType = type;
    DocumentState.Loss = LoadLoss::None;
    DocumentState.Format = format; // as the file now holds it
    MarkSaved(path);
    if (bytes.Lossy)
        ShowSavedText(bytes.Text, format);
    // The title names the file the next Save writes; the recent list is for loads.
    SetDocumentTitle(path);
    if (!saved.Leftover.empty())
        MessageBoxA(MainWindow,
                    ("The text is saved, but the old copy of the file could not be deleted. It "
                     "is still there as " +
                     saved.Leftover + ".")
                        .c_str(),
                    kProgramName, MB_OK | MB_ICONWARNING);
    return SaveResult::Saved;
}

// Reads the file `path` in the layout of `type` into the editor, in the steps a save takes
// backwards. On failure the editor still holds what it held.
Outcome<LoadedDocument> ReadIntoEditor(const std::string& path, FileType type) {
    const WaitCursor wait;
    auto [readError, bytes] = ReadFileBytes(path);
    if (readError)
        return {readError};
    auto [decodeError, loaded] = DecodeDocumentBytes(bytes.View(), type, IsGameFile(type, path));
    if (decodeError)
        return {decodeError};
    bytes = {}; // the file's bytes are no longer needed while the control copies the text
    if (auto error = PutEditorText(EditorControl, loaded.Text))
        return {error};
    return {std::nullopt, std::move(loaded)};
}

// `name` made absolute, or nothing when it is too long to keep whole: such a name is
// reported rather than cut into the name of another file. The system cannot complete a
// relative name whose full form is much longer.
std::optional<std::string> NamedFilePath(const std::string& name) {
    std::string path = FullPathOf(name);
    if (name.size() > kTextLimit || path.size() > kTextLimit || !IsAbsolute(path)) {
        ReportFileError(SystemFailure(ERROR_FILENAME_EXCED_RANGE), path);
        return std::nullopt;
    }
    return path;
}

// Loads the file `name` names in the layout its name asks for, after offering to save
// modified text; a name that cannot be loaded is refused before the offer.
void OpenNamedFile(const std::string& name) {
    const auto path = NamedFilePath(name);
    if (path && ConfirmSave())
        LoadDocument(*path, FileTypeForName(*path));
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
    DocumentState.Format = {};
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
    auto [error, loaded] = ReadIntoEditor(path, type);
    if (error) {
        ReportFileError(*error, path);
        return false;
    }
    DocumentState.CurrentFileName = path;
    DocumentState.CurrentFileType = type;
    DocumentState.Loss = loaded.Loss;
    DocumentState.NulOffset = loaded.NulOffset;
    DocumentState.Format = loaded.Format;
    MarkSaved(path);
    AddRecentFile(path);
    RefreshRecentFileItems();
    SetDocumentTitle(path);
    if (loaded.Loss != LoadLoss::None)
        MessageBoxA(MainWindow, LoadLossWarning(loaded.Loss, loaded.NulOffset).c_str(),
                    kProgramName, MB_OK | MB_ICONWARNING);
    return true;
}

void LoadDocumentAtStartUp(const std::string& name) {
    if (const auto path = NamedFilePath(name))
        LoadDocument(*path, FileTypeForName(*path));
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
