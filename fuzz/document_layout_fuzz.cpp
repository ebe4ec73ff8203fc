// Files hold anything: decoding never misbehaves, says where a NUL cut the text, and every
// text the editor can hold comes back from the bytes it is saved as.
#include <cstdlib>

#include "document/document_layout.h"

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size),
        text = bytes.substr(0, bytes.find('\0'));
    for (FileType type : {FileType::None, FileType::LevelDescription, FileType::Text}) {
        const DecodedDocument read = DecodeDocument(bytes, type);
        const size_t start = type == FileType::LevelDescription && size >= 4 ? 4 : 0;
        const bool cut = read.Loss == LoadLoss::CutAtNul;
        if (read.Text.find('\0') != std::string::npos || (read.ErrorNumber && !read.Text.empty()) ||
            (cut && (read.NulOffset != start + read.Text.size() || bytes[read.NulOffset])))
            std::abort();
        const LayoutFrame frame = DocumentFrame(type, text.size()); // what a save writes
        const std::string saved =
            std::string(frame.Header) + std::string(text) + std::string(frame.TerminatorSize, '\0');
        const DecodedDocument back = DecodeDocument(saved, type);
        if (back.ErrorNumber || back.Text != text || back.Loss != LoadLoss::None)
            std::abort();
    }
    return 0;
}
