// The command line is whatever a shell or a user hands the editor.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "app/command_line.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view line(reinterpret_cast<const char*>(data), size);
    const std::string argument = FirstCommandLineArgument(line);
    // Never longer than the editor keeps, and always taken from the line itself.
    if (argument.size() > 255 || line.find(argument) == std::string_view::npos)
        std::abort();
    return 0;
}
