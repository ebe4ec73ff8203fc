#pragma once
// The one document the editor holds: the text in the editor control, the file it
// came from or goes to, and the layout the file is read and written in.
#include <string>
#include <string_view>

#include "document/file_types.h"

// The file name of a document that has no file yet.
inline constexpr char kUnsavedName[] = "(Unsaved)";

struct DocumentStateRecord {
    std::string CurrentFileName = kUnsavedName; // full path, or "(Unsaved)"
    FileType CurrentFileType = FileType::None;  // the filter of the last confirmed file dialog
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

// The file named on the command line, read as plain text.
void LoadDocumentAtStartUp(const std::string& path);

// Reopens recent entry `entry` (1 to 4) of the File menu in the current file type,
// after offering to save modified text.
void OpenRecentFile(int entry);
