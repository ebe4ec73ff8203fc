#pragma once
// A document's file in the steps a load and a save take. A load reads the file's bytes,
// decodes them into the editor's text and hands that to the editor; a save fetches the
// editor's text, encodes it into the file's bytes and writes them (safe_save.h). A failure
// is returned with its error number and the code addresses where it happened, for the caller
// to report; nothing here shows a box.
#include <windows.h>

#include <string>
#include <string_view>

#include "document/document_layout.h"
#include "document/file_error.h"
#include "document/text_encoding.h"
#include "document/text_format.h"

// The whole of the file `path`. It is opened for reading only and shared with other readers,
// so read-only files load too. A file larger than the editor can hold, or one there is no
// memory for, fails with error 8; a name that reaches a device rather than a file, with 1200.
Outcome<DocumentBytes> ReadFileBytes(const std::string& path);

// A file's text as the editor shows it, and what that leaves unshown of the file.
struct LoadedDocument {
    EditorText Text;
    LoadLoss Loss = LoadLoss::None;
    size_t NulOffset = 0; // for a cut: where in the file the NUL stands
    TextFormat Format;    // how the text is encoded and its lines end
};

// The text stored in `bytes` in the layout of `type`, decoded as its bytes ask or, for one of
// the game's own files (`gameFile`), in the code page.
Outcome<LoadedDocument> DecodeDocumentBytes(std::string_view bytes, FileType type, bool gameFile);

// Puts `text` into `editor`, whose undo and modified flag start anew. Without memory for it
// that fails with error 8, and the editor then holds what it held.
std::optional<FileError> PutEditorText(HWND editor, const EditorText& text);

// The whole text of `editor`.
Outcome<EditorText> FetchEditorText(HWND editor);

// `text` as the bytes of a file in the layout of `type`, encoded and with line ends as
// `format` says.
Outcome<DocumentBytes> EncodeDocumentText(EditorText& text, FileType type, TextFormat format);
