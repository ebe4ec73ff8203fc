// Whatever a tool's command line, each candidate is in a folder given or a full name the line
// starts with: never one the current folder would complete.
#include <algorithm>

#include "suite/program_search.h"

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, size_t size) {
    const std::string_view line(reinterpret_cast<const char*>(data), size);
    const ProgramFolders folders{"C:\\E", "", "C:\\W", "C:\\P;.;tools"};
    const std::string_view start = line.substr(std::min(line.find_first_not_of(" \t"), size));
    const std::string_view named = start.starts_with('"') ? start.substr(1) : start;
    for (const std::string& candidate : ProgramCandidates(line, folders)) {
        const bool inAFolder = candidate.starts_with("C:\\E\\") ||
                               candidate.starts_with("C:\\W\\") || candidate.starts_with("C:\\P\\");
        const bool fromTheLine =
            named.starts_with(candidate) ||
            (candidate.ends_with(".exe") &&
             named.starts_with(std::string_view(candidate).substr(0, candidate.size() - 4)));
        if (!(inAFolder || (fromTheLine && IsAbsolute(candidate))))
            __builtin_trap();
    }
    return 0;
}
