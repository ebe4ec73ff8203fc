// The editor's text as the control holds it: an LF file's lines, turned into CR LF and back, are
// what they were.
#include <algorithm>
#include <string>
#include <vector>

#include "document/text_format.h"

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, size_t size) {
    std::wstring lines; // as a file whose lines end in LF alone holds them
    for (size_t at = 0; at + 1 < size; at += 2)
        lines += wchar_t(data[at] | data[at + 1] << 8);
    std::erase(lines, L'\r');
    const size_t lineFeeds = size_t(std::ranges::count(lines, L'\n'));
    std::vector<wchar_t> buffer(lines.begin(), lines.end());
    buffer.resize(lines.size() + lineFeeds);
    const size_t expanded = ExpandLineFeeds(buffer.data(), lines.size(), lineFeeds);
    const size_t collapsed = CollapseLineEnds(buffer.data(), expanded);
    if (expanded != lines.size() + lineFeeds || std::wstring(buffer.data(), collapsed) != lines)
        __builtin_trap();
    return 0;
}
