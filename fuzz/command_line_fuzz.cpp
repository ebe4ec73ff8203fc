// The command line is whatever a shell or a user hands the editor: the argument is always
// taken from the line itself.
#include <cstdint>
#include <cstdlib>

#include "app/command_line.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view line(reinterpret_cast<const char*>(data), size);
    if (line.find(FirstCommandLineArgument(line)) == std::string_view::npos)
        std::abort();
    return 0;
}
