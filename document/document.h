#pragma once
// The one document the editor holds: the text in the editor control, the file it
// came from or goes to, and the layout the file is read and written in.
#include <windows.h>
#include <shellapi.h>

#include <string>
#include <string_view>

#include "document/document_layout.h"
#include "document/text_format.h"

// The file name of a document that has no file yet.
inline constexpr char kUnsavedName[] = "(Unsaved)";

struct DocumentStateRecord {
    std::string CurrentFileName = kUnsavedName; // full path, or "(Unsaved)"
    FileType CurrentFileType = FileType::None;  // the layout the file is read and written in
    // What the last load left unshown of the current file; until the text is saved,
    // loaded anew or made New, saving over that file asks first.
    LoadLoss Loss = LoadLoss::None;
    size_t NulOffset = 0; // for a cut: where in the file the NUL stands
    // How the file's text is encoded and its lines end; a save keeps both.
    TextFormat Format;
};

extern DocumentStateRecord DocumentState;

// Writes `text` (cut to 255 characters) to part `part` of the status bar, after a
// blank in part 0 and a TAB, which centres it, in the others.
void SetStatusText(int part, std::string_view text);

// Shows "Modified" in status part 1 while the editor's text differs from its file.
void RefreshModifiedIndicator();

// Offers to save modified text. Returns true when the caller may go on and drop it:
// the text was not modified, the user chose No, or chose Yes and the save happened.
bool ConfirmSave();

enum class SaveResult { Saved, Cancelled, Failed };

void NewDocument();
void OpenDocument();
SaveResult SaveDocument();
SaveResult SaveDocumentAs();

// Loads `path` in the layout of `type` and makes both the current file. On failure the
// error is shown and the document stays exactly as it was; returns whether it loaded.
bool LoadDocument(const std::string& path, FileType type);

// The file named on the command line, made absolute and read in the layout its name
// asks for. A name longer than 255 characters is reported and loads nothing.
void LoadDocumentAtStartUp(const std::string& name);

// Reopens recent entry `entry` (1 to 4) of the File menu, after offering to save
// modified text.
void OpenRecentFile(int entry);

// Opens the first of the files dropped on the main window as a recent entry opens, and
// releases the drop.
void OpenDroppedFile(HDROP drop);
