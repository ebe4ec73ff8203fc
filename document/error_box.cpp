#include "document/error_box.h"

#include <windows.h>

#include <algorithm>

#include "document/error_report.h"

namespace {

// Older systems refuse captures of 63 frames or more at a time.
constexpr DWORD kFramesPerCapture = 62;

} // namespace

NOT_INLINED std::vector<std::uint32_t> CaptureCodeAddresses(unsigned framesToSkip) {
    // The failing operation's own address and its callers' return addresses.
    const size_t wanted = 1 + kMaxReportedCallers;
    std::vector<std::uint32_t> addresses;
    DWORD skip = 1 + framesToSkip; // this function's own frame is not part of the report
    while (addresses.size() < wanted) {
        void* frames[kFramesPerCapture] = {};
        const DWORD count =
            static_cast<DWORD>(std::min<size_t>(kFramesPerCapture, wanted - addresses.size()));
        const WORD captured = CaptureStackBackTrace(skip, count, frames, nullptr);
        for (WORD i = 0; i < captured; ++i)
            addresses.push_back(
                static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(frames[i])));
        if (captured < count)
            break;
        skip += captured;
    }
    return addresses;
}

std::string SystemErrorMessage(unsigned long code) {
    char* message = nullptr;
    const DWORD length = FormatMessageA(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, code, 0, reinterpret_cast<char*>(&message), 0, nullptr);
    std::string text(message ? message : "", message ? length : 0);
    LocalFree(message);
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r' || text.back() == ' '))
        text.pop_back();
    return text;
}

void ShowErrorReport(int errorNumber, const std::vector<std::uint32_t>& codeAddresses,
                     const std::vector<std::string>& details) {
    // The editor keeps running after the report, so the box keeps the user out of the
    // main window while it shows, as an owned box would, without having an owner.
    for (const std::string& text : ErrorReportBoxes(errorNumber, codeAddresses, details))
        MessageBoxA(nullptr, text.c_str(), "Error", MB_OK | MB_TASKMODAL);
}
