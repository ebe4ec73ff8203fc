#include "document/error_report.h"

#include <cstdio>

namespace {

constexpr char kLineEnd[] = "\r\n";

std::string HexAddress(std::uint32_t address) {
    char digits[9];
    std::snprintf(digits, sizeof digits, "%08X", static_cast<unsigned>(address));
    return digits;
}

// The report being collected, and the box texts it has already filled.
struct ErrorReportBuffer {
    std::string Collected;
    std::vector<std::string> Boxes;
};

// Makes the text collected so far a box; text of line ends alone is no box.
void FlushErrorReport(ErrorReportBuffer& report) {
    if (report.Collected.find_first_not_of(kLineEnd) != std::string::npos)
        report.Boxes.push_back(std::move(report.Collected));
    report.Collected.clear();
}

// Adds one line, ending in CR LF, to the report. When it does not fit, the part that
// fits completes the buffer, which becomes a box; the rest of the line is dropped and
// the next line starts a new box. An empty line ends a box as well.
void AddReportLine(ErrorReportBuffer& report, std::string_view line) {
    const size_t room = kErrorReportCapacity - report.Collected.size();
    if (line.size() > room) {
        report.Collected += line.substr(0, room);
        FlushErrorReport(report);
        return;
    }
    report.Collected += line;
    if (line == kLineEnd)
        FlushErrorReport(report);
}

} // namespace

std::string FileErrorLine(std::string_view path, int errorNumber, std::string_view systemMessage) {
    std::string_view message = systemMessage;
    switch (errorNumber) {
    case kShortReadError: message = "The file is shorter than its size."; break;
    case kShortWriteError: message = "Not every byte could be written."; break;
    case kNegativeLengthError: message = "The file is too short for a level description."; break;
    case kDeviceError: message = "This name is a device, not a file."; break;
    }
    std::string line(path);
    line += ": ";
    line += message;
    return line;
}

int ErrorNumberForSystemCode(unsigned long code) {
    if (code == 32) // a sharing violation: another program holds the file
        return 5;
    if (code >= 19 && code <= 31)
        return static_cast<int>(code) + 131;
    return static_cast<int>(code);
}

std::vector<std::string> ErrorReportBoxes(int errorNumber,
                                          const std::vector<std::uint32_t>& codeAddresses,
                                          const std::vector<std::string>& details) {
    const std::uint32_t failing = codeAddresses.empty() ? 0 : codeAddresses.front();
    ErrorReportBuffer report;
    AddReportLine(report, "Runtime error " + std::to_string(errorNumber) + " at 0x" +
                              HexAddress(failing) + kLineEnd);
    AddReportLine(report, "  0x" + HexAddress(failing) + kLineEnd);
    const size_t callers = codeAddresses.empty() ? 0 : codeAddresses.size() - 1;
    for (size_t i = 1; i <= callers && i <= kMaxReportedCallers; ++i)
        AddReportLine(report, "  0x" + HexAddress(codeAddresses[i]) + kLineEnd);
    for (const std::string& line : details)
        AddReportLine(report, line + kLineEnd);
    AddReportLine(report, kLineEnd);
    FlushErrorReport(report);
    return report.Boxes;
}
