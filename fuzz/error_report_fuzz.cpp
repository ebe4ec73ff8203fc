// The error report fits its boxes whatever the number and the call stack.
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "document/error_report.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 4)
        return 0;
    int number = 0;
    std::memcpy(&number, data, 4);
    std::vector<std::uint32_t> addresses((size - 4) / 4);
    std::memcpy(addresses.data(), data + 4, addresses.size() * 4);
    const std::vector<std::string> boxes = ErrorReportBoxes(number, addresses);
    if (boxes.empty() || boxes.front().rfind("Runtime error ", 0) != 0)
        std::abort();
    for (const std::string& box : boxes)
        if (box.empty() || box.size() > kErrorReportCapacity)
            std::abort();
    ErrorNumberForSystemCode(static_cast<unsigned long>(number));
    return 0;
}
