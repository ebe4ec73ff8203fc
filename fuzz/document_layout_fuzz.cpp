// Files on disk hold anything: decoding never misbehaves, says exactly where a NUL cut
// the text, and every text the editor can hold comes back from the bytes it saves.
#include <cstdint>
#include <cstdlib>

#include "document/document_layout.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    for (int type = 0; type <= 4; ++type) {
        const DecodedDocument decoded = DecodeDocument(bytes, FileType(type));
        const size_t start = type == 2 && size >= 4 ? 4 : 0;
        if (decoded.Text.find('\0') != std::string::npos || (decoded.ErrorNumber && !decoded.Text.empty()) ||
            (decoded.Loss == LoadLoss::CutAtNul && (decoded.NulOffset != start + decoded.Text.size() || bytes[decoded.NulOffset])))
            std::abort();
        const std::string_view text = bytes.substr(0, bytes.find('\0'));
        const DecodedDocument back = DecodeDocument(EncodeDocument(text, FileType(type)), FileType(type));
        if (back.ErrorNumber || back.Text != text || back.Loss != LoadLoss::None)
            std::abort();
    }
    return 0;
}
