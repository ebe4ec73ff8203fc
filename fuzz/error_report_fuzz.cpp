// The error report fits its boxes whatever the number and the call stack.
#include <cstdlib>
#include <cstring>

#include "document/error_report.h"

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, size_t size) {
    std::vector<std::uint32_t> addresses(size / 4);
    std::memcpy(addresses.data(), data, addresses.size() * 4);
    const auto boxes =
        ErrorReportBoxes(ErrorNumberForSystemCode(size ? data[0] * 997ul : 0), addresses);
    for (const std::string& box : boxes)
        if (box.empty() || box.size() > kErrorReportCapacity || boxes[0].rfind("Runtime error ", 0))
            std::abort();
    return 0;
}
