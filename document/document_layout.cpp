#include "document/document_layout.h"

namespace {

// The header is a constant 17 (little-endian 32 bits). Nothing reads it back.
constexpr char kLevelDescriptionHeader[] = {0x11, 0x00, 0x00, 0x00};
constexpr size_t kHeaderSize = sizeof kLevelDescriptionHeader;

std::string TextUpToFirstNul(std::string_view bytes) {
    return std::string(bytes.substr(0, bytes.find('\0')));
}

} // namespace

bool HasLevelDescriptionLayout(FileType type) {
    return type == FileType::LevelDescription;
}

LayoutFrame DocumentFrame(FileType type, size_t textLength) {
    if (textLength == 0 || !HasLevelDescriptionLayout(type))
        return {{}, 0};
    return {std::string_view(kLevelDescriptionHeader, kHeaderSize), 1};
}

std::string EncodeDocument(std::string_view text, FileType type) {
    const LayoutFrame frame = DocumentFrame(type, text.size());
    std::string bytes(frame.header);
    bytes += text;
    bytes.append(frame.terminatorSize, '\0');
    return bytes;
}

DecodedDocument DecodeDocument(std::string_view bytes, FileType type) {
    if (!HasLevelDescriptionLayout(type))
        return {TextUpToFirstNul(bytes), 0};
    // An empty file is what an empty level description saves as, so it loads as one.
    if (bytes.empty())
        return {};
    // Shorter than the header: a file of one or two bytes gives a text length below -1,
    // and a three-byte file ends inside the header.
    if (bytes.size() + 1 < kHeaderSize)
        return {{}, kNegativeLengthError};
    if (bytes.size() < kHeaderSize)
        return {{}, kShortReadError};
    return {TextUpToFirstNul(bytes.substr(kHeaderSize)), 0};
}
