// Any bytes decode, a cut says where its NUL is, and a file shown whole comes back from an unedited
// save as read, but for a level description's missing NUL, or its header when it is empty.
#include "document/document_layout.h"
#include "document/text_format.h"

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    for (FileType type : {FileType::Text, FileType::LevelDescription}) {
        const bool level = type == FileType::LevelDescription;
        const DecodedDocument read = DecodeDocument(bytes, type);
        const size_t start = level && size >= 4 ? 4 : 0;
        if ((read.ErrorNumber != 0) != (level && size > 0 && size < 4) ||
            read.Text.find('\0') != std::string_view::npos ||
            (read.Loss == LoadLoss::CutAtNul &&
             (read.NulOffset != start + read.Text.size() || bytes[read.NulOffset] != '\0')))
            __builtin_trap();
        const LayoutFrame frame = DocumentFrame(type, read.Text.size());
        const std::string saved = std::string(frame.Header) + std::string(read.Text) +
                                  std::string(frame.TerminatorSize, '\0');
        std::string expected(bytes);
        if (level && !read.Text.empty() && !expected.ends_with('\0'))
            expected += '\0';
        if (level && read.Text.empty())
            expected.clear();
        const TextFormat format = DetectTextFormat(read.Text, level);
        const TextFormat again = DetectTextFormat(DecodeDocument(saved, type).Text, level);
        if ((read.Loss == LoadLoss::None && read.ErrorNumber == 0 && saved != expected) ||
            again.Encoding != format.Encoding || again.Ends != format.Ends)
            __builtin_trap();
    }
    return 0;
}
