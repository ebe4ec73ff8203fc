// The editor's text as the control holds it: an LF file's lines, turned into CR LF and back, are
// what they were; and before a save in UTF-8, each lone half of a surrogate pair, and nothing
// else, becomes "?".
#include <algorithm>
#include <string>
#include <vector>

#include "document/text_format.h"

namespace {

bool IsHigh(wchar_t c) {
    return c >= 0xD800 && c <= 0xDBFF;
}

bool IsLow(wchar_t c) {
    return c >= 0xDC00 && c <= 0xDFFF;
}

bool IsLoneHalf(const std::wstring& text, size_t at) {
    if (IsHigh(text[at]))
        return !(at + 1 < text.size() && IsLow(text[at + 1]));
    return IsLow(text[at]) && !(at > 0 && IsHigh(text[at - 1]));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, size_t size) {
    std::wstring text;
    for (size_t at = 0; at + 1 < size; at += 2)
        text += wchar_t(data[at] | data[at + 1] << 8);

    std::wstring lines = text; // as a file whose lines end in LF alone holds them
    std::erase(lines, L'\r');
    const size_t lineFeeds = size_t(std::ranges::count(lines, L'\n'));
    std::vector<wchar_t> buffer(lines.begin(), lines.end());
    buffer.resize(lines.size() + lineFeeds);
    const size_t expanded = ExpandLineFeeds(buffer.data(), lines.size(), lineFeeds);
    const size_t collapsed = CollapseLineEnds(buffer.data(), expanded);
    if (expanded != lines.size() + lineFeeds || std::wstring(buffer.data(), collapsed) != lines)
        __builtin_trap();

    std::wstring replaced = text;
    size_t lone = 0;
    const size_t count = ReplaceLoneSurrogates(replaced.data(), replaced.size());
    for (size_t at = 0; at < text.size(); ++at) {
        lone += IsLoneHalf(text, at);
        if (replaced[at] != (IsLoneHalf(text, at) ? L'?' : text[at]))
            __builtin_trap();
    }
    if (count != lone)
        __builtin_trap();
    return 0;
}
