// The error report must fit its boxes whatever the number and the call stack.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "document/error_report.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 4)
        return 0;
    int errorNumber = 0;
    std::memcpy(&errorNumber, data, sizeof errorNumber);
    std::vector<std::uint32_t> addresses((size - 4) / 4);
    std::memcpy(addresses.data(), data + 4, addresses.size() * 4);

    const std::vector<std::string> boxes = ErrorReportBoxes(errorNumber, addresses);
    if (boxes.empty() || boxes.front().rfind("Runtime error ", 0) != 0)
        std::abort();
    for (const std::string& box : boxes)
        if (box.empty() || box.size() > kErrorReportCapacity)
            std::abort();

    ErrorNumberForSystemCode(static_cast<unsigned long>(errorNumber));
    return 0;
}
