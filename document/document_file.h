#pragma once
// Reading and writing document files. A failure is returned with its error number and
// the code addresses where it happened, for the caller to report; nothing here shows
// a box.
#include <windows.h>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "document/file_types.h"

struct FileError {
    int number = 0;                           // the error number the report shows
    std::vector<std::uint32_t> codeAddresses; // the failing operation's first
};

// Writes the text of `editor` to `path` in the layout of `type`. The bytes go to a new
// file beside the target, which replaces the target only once all of them are written,
// so a failure leaves an existing file exactly as it was and no new file behind. A
// read-only target, or one another program holds open, fails with error 5.
std::optional<FileError> WriteDocumentFile(const std::string& path, FileType type, HWND editor);

// Reads the text of `path` in the layout of `type` into `text`. The file is opened for
// reading only and shared with other readers, so read-only files load too. `text` is
// left alone on failure.
std::optional<FileError> ReadDocumentFile(const std::string& path, FileType type,
                                          std::string& text);
