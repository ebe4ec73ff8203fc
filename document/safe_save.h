#pragma once
// Saving without putting the file at risk: the new bytes go to a file beside the target,
// which takes the target's place only once every byte is written.
#include <string>
#include <string_view>

#include "document/file_error.h"

// How a save ended: its failure, or, when it is done, the old copy of the file that could
// not be deleted after the new one took its name.
struct SaveOutcome {
    std::optional<FileError> Error;
    std::string Leftover{};
};

// Writes `bytes` to the file `path`. A failure leaves an existing file exactly as it was and
// no new file behind. A read-only target, a folder, or a file another program holds open
// without sharing it fails with error 5. Should the replace itself fail halfway, the target
// is left holding its old bytes or, when those cannot be put back, the new ones: never
// neither; and when neither can take its name, the report says where both copies are.
SaveOutcome WriteDocumentFile(const std::string& path, std::string_view bytes);
