#include "document/document_layout.h"

#include "document/path_text.h"

namespace {

// The header is a constant 17 (little-endian 32 bits). Nothing reads it back.
constexpr char kLevelDescriptionHeader[] = {0x11, 0x00, 0x00, 0x00};
constexpr size_t kHeaderSize = sizeof kLevelDescriptionHeader;
constexpr std::string_view kHeader(kLevelDescriptionHeader, kHeaderSize);

// Whether the last characters of `text` are `lower`, a text of lower-case ASCII, in any case.
bool EndsInAnyCase(std::string_view text, std::string_view lower) {
    if (text.size() < lower.size())
        return false;
    text.remove_prefix(text.size() - lower.size());
    for (size_t at = 0; at < lower.size(); ++at)
        if ((text[at] >= 'A' && text[at] <= 'Z' ? text[at] + ('a' - 'A') : text[at]) != lower[at])
            return false;
    return true;
}

// The text of `bytes`, which start at `offset` in the file, up to its first NUL. A NUL
// counts as a cut unless it is the file's last byte and `closingNul` allows one there.
DecodedDocument TextUpToFirstNul(std::string_view bytes, size_t offset, bool closingNul) {
    DecodedDocument decoded;
    const size_t nul = bytes.find('\0');
    decoded.Text = bytes.substr(0, nul);
    if (nul != std::string_view::npos && !(closingNul && nul + 1 == bytes.size())) {
        decoded.Loss = LoadLoss::CutAtNul;
        decoded.NulOffset = offset + nul;
    }
    return decoded;
}

bool HasLevelDescriptionLayout(FileType type) {
    return type == FileType::LevelDescription;
}

} // namespace

std::string FileDialogFilter() {
    static const char kFilter[] = "Populous Credits\0credits.txt\0"
                                  "Level description (*.inf)\0*.inf\0"
                                  "Text file (*.txt)\0*.txt\0"
                                  "All files \0*.*\0";
    return std::string(kFilter, sizeof kFilter); // keeps the final NUL of the list
}

FileType FileTypeForName(std::string_view path) {
    return EndsInAnyCase(path, ".inf") ? FileType::LevelDescription : FileType::None;
}

bool IsGameFile(FileType type, std::string_view path) {
    if (type == FileType::LevelDescription || type == FileType::Credits)
        return true;
    const std::string name = FileNamePart(path);
    return name.size() == 11 && EndsInAnyCase(name, "credits.txt");
}

LayoutFrame DocumentFrame(FileType type, size_t textLength) {
    if (textLength == 0 || !HasLevelDescriptionLayout(type))
        return {{}, 0};
    return {kHeader, 1};
}

DecodedDocument DecodeDocument(std::string_view bytes, FileType type) {
    if (!HasLevelDescriptionLayout(type))
        return TextUpToFirstNul(bytes, 0, false);
    // An empty file is what an empty level description saves as, so it loads as one.
    if (bytes.empty())
        return {};
    // Shorter than the header: a file of one or two bytes gives a text length below -1,
    // and a three-byte file ends inside the header.
    if (bytes.size() + 1 < kHeaderSize)
        return {{}, kNegativeLengthError};
    if (bytes.size() < kHeaderSize)
        return {{}, kShortReadError};
    DecodedDocument decoded = TextUpToFirstNul(bytes.substr(kHeaderSize), kHeaderSize, true);
    if (decoded.Loss == LoadLoss::None && bytes.substr(0, kHeaderSize) != kHeader)
        decoded.Loss = LoadLoss::MissingHeader;
    return decoded;
}

std::string LoadLossWarning(LoadLoss loss, size_t nulOffset) {
    if (loss == LoadLoss::CutAtNul)
        return "This file holds a NUL byte at position " + std::to_string(nulOffset) +
               ": only the text before it is shown, and saving it would cut the file there.";
    return "This file does not start with a level description header: its first four bytes "
           "are not shown, and saving it would replace them.";
}

std::string SaveLossQuestion(LoadLoss loss, size_t nulOffset) {
    if (loss == LoadLoss::CutAtNul)
        return "Saving will cut this file at position " + std::to_string(nulOffset) +
               " and drop what follows, which is not shown. Save anyway?";
    return "Saving will replace the first four bytes of this file. Save anyway?";
}
