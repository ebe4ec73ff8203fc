// Files on disk can hold anything: decoding must never misbehave, and every text the
// editor can hold must come back unchanged from the bytes it is saved as.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "document/document_layout.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    for (FileType type : {FileType::None, FileType::Credits, FileType::LevelDescription,
                          FileType::Text, FileType::AllFiles}) {
        const DecodedDocument decoded = DecodeDocument(bytes, type);
        if (decoded.Text.find('\0') != std::string::npos || decoded.Text.size() > bytes.size())
            std::abort();
        if (decoded.ErrorNumber != 0 && !decoded.Text.empty())
            std::abort();

        // Round trip: an editor text has no NUL, so cut the input at its first one.
        const std::string_view text = bytes.substr(0, bytes.find('\0'));
        const DecodedDocument back = DecodeDocument(EncodeDocument(text, type), type);
        if (back.ErrorNumber != 0 || back.Text != text)
            std::abort();
    }
    return 0;
}
