// The report fits its boxes whatever it holds, and no box holds line ends alone.
#include <cstring>

#include "document/error_report.h"

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, size_t size) {
    const size_t stack = size / 2 / 4;
    std::vector<std::uint32_t> addresses(stack);
    std::memcpy(addresses.data(), data, stack * 4);
    const std::string details(reinterpret_cast<const char*>(data) + stack * 4, size - stack * 4);
    const auto boxes = ErrorReportBoxes(ErrorNumberForSystemCode(size ? data[0] * 997ul : 0),
                                        addresses, {details});
    if (boxes.empty() || !boxes[0].starts_with("Runtime error "))
        __builtin_trap();
    for (const std::string& box : boxes)
        if (box.size() > kErrorReportCapacity || box.find_first_not_of("\r\n") == std::string::npos)
            __builtin_trap();
    return 0;
}
