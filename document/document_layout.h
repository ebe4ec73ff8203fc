#pragma once
// The kinds of file the editor reads and writes, and the two ways a document lies on
// disk. Plain: the text bytes exactly, nothing else. Level description: the 4-byte
// header 11 00 00 00, the text bytes and one NUL. An empty text is an empty file in both.
#include <string>
#include <string_view>

#include "document/error_report.h"

// The value is the 1-based index of the file dialog's filter; the filter left selected
// decides the layout.
enum class FileType : unsigned char {
    None = 0, // no file dialog closed yet: read and written as plain text
    Credits = 1,
    LevelDescription = 2,
    Text = 3,
    AllFiles = 4,
};

// The file dialog's filter list: caption and pattern of each type in order, each
// ended by a NUL, and an empty string after the last.
std::string FileDialogFilter();

// The type a file is read and saved in when no file dialog chose one (the command
// line, the recent list, a dropped file): a level description for a name ending in
// ".inf" in any case, plain text for every other name.
FileType FileTypeForName(std::string_view path);

// Whether the file `path`, read and written in the layout of `type`, is one of the game's own,
// which the game reads in its code page: a level description, or its credits, chosen by the
// "Populous Credits" filter or named credits.txt in any case.
bool IsGameFile(FileType type, std::string_view path);

// What the layout of `type` stores around a text of `textLength` characters: the header
// before it and the number of NUL bytes after it (none at all for an empty text).
struct LayoutFrame {
    std::string_view Header;
    size_t TerminatorSize;
};
LayoutFrame DocumentFrame(FileType type, size_t textLength);

// What a load leaves unshown of a file, which saving it back would lose. The editor
// holds no NUL, so a NUL that is not a level description's closing one cuts the text;
// a level description without its header has four bytes of text that are never shown.
enum class LoadLoss { None, CutAtNul, MissingHeader };

struct DecodedDocument {
    std::string_view Text; // within the bytes decoded
    // 0, or the error number of a file too short to be read as `type`: 204 for one or
    // two bytes of level description, whose text length comes out below -1, and 100 for
    // three, which end inside the header.
    int ErrorNumber = 0;
    LoadLoss Loss = LoadLoss::None; // a cut wins over a missing header
    size_t NulOffset = 0;           // for a cut: where in the file the NUL stands
};

// The text stored in the file bytes `bytes` read in the layout of `type`. The header is
// skipped unseen; the text ends at the first NUL after it, or at the end of the file.
DecodedDocument DecodeDocument(std::string_view bytes, FileType type);

// The warning shown after a load that left part of the file unshown.
std::string LoadLossWarning(LoadLoss loss, size_t nulOffset);

// The question asked before saving over the file such a load came from: what the save
// drops, where the load warning said it starts.
std::string SaveLossQuestion(LoadLoss loss, size_t nulOffset);
