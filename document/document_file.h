#pragma once
// Reading and writing document files. A failure is returned with its error number and
// the code addresses where it happened, for the caller to report; nothing here shows
// a box.
#include <windows.h>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "document/document_layout.h"

struct FileError {
    int Number = 0;                           // the error number the report shows
    std::vector<std::uint32_t> CodeAddresses; // the failing operation's first
};

// A failure with error number `number` at the code address in the routine that calls
// this, and the return addresses of its callers.
FileError FileFailure(int number);

// Writes the text of `editor` to `path` in the layout of `type`. The bytes go to a new
// file beside the target, which replaces the target only once all of them are written,
// so a failure leaves an existing file exactly as it was and no new file behind. A
// read-only target, or one another program holds open, fails with error 5. Should the
// replace itself fail halfway, the target is left holding its old bytes or, when those
// cannot be put back, the new ones: never neither.
std::optional<FileError> WriteDocumentFile(const std::string& path, FileType type, HWND editor);

// Reads the file `path` in the layout of `type` into `document`: its text and what of
// the file the text leaves out. The file is opened for reading only and shared with
// other readers, so read-only files load too. `document` is left alone on failure.
std::optional<FileError> ReadDocumentFile(const std::string& path, FileType type,
                                          DecodedDocument& document);

// Puts a loaded text into `editor`; a text the control refuses fails with error 8, and
// the editor then still holds what it held.
std::optional<FileError> ShowDocumentText(HWND editor, const std::string& text);

// `path` made absolute against the current folder; a path the system cannot complete
// stays as it is, and the file functions report what is wrong with it.
std::string FullPathOf(const std::string& path);

// The size of the file `path` on disk, or nothing when there is no such file.
std::optional<unsigned long long> FileSizeOnDisk(const std::string& path);

// The two system calls whose failure the editor must survive but no test can bring about
// for real: replacing a file with the one written beside it, and handing the editor a
// loaded text. Tests put failing stand-ins here.
struct DocumentFileCalls {
    decltype(&ReplaceFileA) Replace = ReplaceFileA; // not "ReplaceFile": a macro of that name
    decltype(&SetWindowTextA) SetEditorText = SetWindowTextA;
};
extern DocumentFileCalls FileCalls;
