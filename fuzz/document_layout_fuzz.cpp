// Files hold anything: decoding never misbehaves, says where a NUL cut the text, and a file the
// editor shows whole comes back byte for byte from an unedited save, in either layout. A level
// description gains the closing NUL it lacked, and one of the header alone, its empty text.
#include "document/document_layout.h"
#include "document/text_format.h"

namespace {

// What an unedited save writes of `text`, read from a file in the layout of `type`.
std::string Saved(std::string_view text, FileType type) {
    const LayoutFrame frame = DocumentFrame(type, text.size());
    return std::string(frame.Header) + std::string(text) + std::string(frame.TerminatorSize, '\0');
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    for (FileType type : {FileType::Text, FileType::LevelDescription}) {
        const DecodedDocument read = DecodeDocument(bytes, type);
        const bool level = type == FileType::LevelDescription;
        if (read.ErrorNumber != 0) {
            if (!level || size >= 4 || size == 0)
                __builtin_trap();
            continue;
        }
        const size_t start = level && size >= 4 ? 4 : 0;
        if (read.Text.find('\0') != std::string_view::npos ||
            (read.Loss == LoadLoss::CutAtNul &&
             (read.NulOffset != start + read.Text.size() || bytes[read.NulOffset] != '\0')))
            __builtin_trap();
        // The mark and the line ends are kept as the text holds them, so the format of a text
        // saved unedited is the one it was read with.
        const TextFormat format = DetectTextFormat(read.Text, level);
        const std::string saved = Saved(read.Text, type);
        const TextFormat again = DetectTextFormat(DecodeDocument(saved, type).Text, level);
        if (again.Encoding != format.Encoding || again.Ends != format.Ends)
            __builtin_trap();
        std::string expected(bytes);
        if (level && !read.Text.empty() && !expected.ends_with('\0'))
            expected += '\0';
        if (level && read.Text.empty())
            expected.clear();
        if (read.Loss == LoadLoss::None && saved != expected)
            __builtin_trap();
    }
    return 0;
}
