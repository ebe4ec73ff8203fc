#pragma once
// The two ways a document lies on disk. Plain: the text bytes exactly, nothing else.
// Level description: the 4-byte header 11 00 00 00, the text bytes and one NUL. An
// empty text is an empty file in both.
#include <string>
#include <string_view>

#include "document/error_report.h"
#include "document/file_types.h"

// Whether files of `type` carry the level description's header and terminator.
bool HasLevelDescriptionLayout(FileType type);

// What the layout of `type` stores around a text of `textLength` characters: the header
// before it and the number of NUL bytes after it (none at all for an empty text).
struct LayoutFrame {
    std::string_view header;
    size_t terminatorSize;
};
LayoutFrame DocumentFrame(FileType type, size_t textLength);

// The bytes that store `text` in the layout of `type`.
std::string EncodeDocument(std::string_view text, FileType type);

struct DecodedDocument {
    std::string text;
    // 0, or the error number of a file too short to be read as `type`: 204 for one or
    // two bytes of level description, whose text length comes out below -1, and 100 for
    // three, which end inside the header.
    int errorNumber = 0;
};

// The text stored in the file bytes `bytes` read in the layout of `type`. The header is
// skipped unseen; the text ends at the first NUL after it, or at the end of the file.
DecodedDocument DecodeDocument(std::string_view bytes, FileType type);
