#pragma once
// A failed file operation, carried up to the one place that reports it: its error number,
// where it happened, and the lines that say more in words. Nothing below that place shows
// a box.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

struct FileError {
    int Number = 0;                           // the error number the report shows
    std::vector<std::uint32_t> CodeAddresses; // the failing operation's first
    std::vector<std::string> Details;         // lines the report shows after the addresses
    unsigned long SystemCode = 0;             // the system's own code, or 0 for the editor's
};

// A failure with the editor's own error number `number` (100, 101, 204 or 1200) at the code
// address in the routine that calls this, and the return addresses of its callers.
FileError FileFailure(int number);

// The same for a failure the system reported with `code`.
FileError SystemFailure(unsigned long code);

// What an operation gives, or the failure that kept it from giving it.
template <typename T> struct Outcome {
    std::optional<FileError> Error;
    T Value{};
};
