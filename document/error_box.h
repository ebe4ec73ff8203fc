#pragma once
// Shows the report of a failed file operation.
#include <cstdint>
#include <string>
#include <vector>

// Keeps a function out of its callers, so that it has a frame of its own to count from.
#if defined(_MSC_VER)
#define NOT_INLINED __declspec(noinline)
#else
#define NOT_INLINED __attribute__((noinline))
#endif

// The code addresses of the calling routine and its callers, innermost first: the
// return address into the routine that called this one, and so on up the stack.
// `framesToSkip` more frames are left out for helpers between the failure and this call.
// In a 64-bit build each address is kept by its low 32 bits.
std::vector<std::uint32_t> CaptureCodeAddresses(unsigned framesToSkip = 0);

// The system's message for its error code `code`, without a line end; empty when it
// has none.
std::string SystemErrorMessage(unsigned long code);

// Shows the report of error `errorNumber` at `codeAddresses`, with the lines `details`
// that say what failed, in message boxes without an owner, captioned "Error", with an
// OK button only. Returns when the last is closed.
void ShowErrorReport(int errorNumber, const std::vector<std::uint32_t>& codeAddresses,
                     const std::vector<std::string>& details);
