#pragma once
// The text of the report shown when a file operation fails: the error number, the code
// address of the failing operation and the return addresses of its callers.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// Error numbers of failures the system does not report itself; every other error
// number is a system error code (see ErrorNumberForSystemCode).
inline constexpr int kShortReadError = 100;      // a read returned fewer bytes than asked
inline constexpr int kShortWriteError = 101;     // a write wrote fewer bytes than given
inline constexpr int kNegativeLengthError = 204; // a level description of 1 or 2 bytes
inline constexpr int kDeviceError = 1200;        // the name is a device (the system's own code)

// The line of a report that says in words what failed: the full name `path` of the file,
// a colon and a blank, and `systemMessage`, the system's message for the error; for the
// editor's own error numbers, which the system has no message for, a sentence of its own.
std::string FileErrorLine(std::string_view path, int errorNumber, std::string_view systemMessage);

// The report's text is collected in a buffer of this many characters; each time it
// fills, or the report is complete, the collected text is shown in a box of its own.
inline constexpr size_t kErrorReportCapacity = 1024;

// The most return addresses of calling routines a report lists.
inline constexpr size_t kMaxReportedCallers = 256;

// The error number of the system error code `code`: a sharing violation (32) counts as
// access denied (5), codes 19 to 31 become 150 to 162, every other code stays as it is.
int ErrorNumberForSystemCode(unsigned long code);

// The box texts of a failure with error number `errorNumber`. `codeAddresses` holds the
// address of the failing operation first, then the return addresses of its callers, of
// which at most 256 are listed. The text is "Runtime error <n> at 0x<address>", a line
// "  0x<address>" for the failing operation and one for each caller, then the lines of
// `details`, which say in words what failed, and an empty line. A box that would hold line
// ends alone is left out.
std::vector<std::string> ErrorReportBoxes(int errorNumber,
                                          const std::vector<std::uint32_t>& codeAddresses,
                                          const std::vector<std::string>& details = {});
