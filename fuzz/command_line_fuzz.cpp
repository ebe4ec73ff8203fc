// Whatever a shell hands the editor, the argument comes from the line itself.
#include "app/command_line.h"

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, size_t size) {
    const std::string_view line(reinterpret_cast<const char*>(data), size);
    if (line.find(FirstCommandLineArgument(line)) == std::string_view::npos)
        __builtin_trap();
    return 0;
}
