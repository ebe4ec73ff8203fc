#include "document/text_format.h"

#include <algorithm>

namespace {

bool IsContinuation(unsigned char byte) {
    return (byte & 0xC0) == 0x80;
}

// The length of the UTF-8 sequence at the start of `text`, or 0 when none starts there.
size_t Utf8SequenceLength(std::string_view text) {
    const auto byte = [&](size_t at) { return static_cast<unsigned char>(text[at]); };
    const unsigned char lead = byte(0);
    if (lead < 0x80)
        return 1;
    size_t length = 0;
    unsigned char low = 0x80, high = 0xBF; // the range of the second byte
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        if (lead == 0xE0)
            low = 0xA0; // shorter forms are overlong
        if (lead == 0xED)
            high = 0x9F; // the surrogates
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        if (lead == 0xF0)
            low = 0x90;
        if (lead == 0xF4)
            high = 0x8F; // nothing above U+10FFFF
    } else {
        return 0;
    }
    if (text.size() < length || byte(1) < low || byte(1) > high)
        return 0;
    for (size_t at = 2; at < length; ++at)
        if (!IsContinuation(byte(at)))
            return 0;
    return length;
}

// Whether `text` is valid UTF-8: no stray or missing continuation bytes, no overlong
// forms, no surrogates and nothing above U+10FFFF.
bool IsValidUtf8(std::string_view text) {
    while (!text.empty()) {
        const size_t length = Utf8SequenceLength(text);
        if (length == 0)
            return false;
        text.remove_prefix(length);
    }
    return true;
}

} // namespace

TextFormat DetectTextFormat(std::string_view text, bool gameFile) {
    TextFormat format;
    if (text.find('\n') != std::string_view::npos && text.find('\r') == std::string_view::npos)
        format.Ends = LineEnds::LineFeed;
    if (gameFile)
        return format;
    const bool plainAscii =
        std::ranges::none_of(text, [](char c) { return static_cast<unsigned char>(c) >= 0x80; });
    // Bytes that are not UTF-8 are kept as they are, even after a mark: decoded, they
    // would not come back.
    if (plainAscii || !IsValidUtf8(text))
        return format;
    format.Encoding = text.starts_with(kUtf8Mark) ? TextEncoding::Utf8WithMark : TextEncoding::Utf8;
    return format;
}

size_t ExpandLineFeeds(wchar_t* text, size_t length, size_t lineFeeds) {
    size_t to = length + lineFeeds;
    for (size_t from = length; from > 0 && to > from;) {
        const wchar_t c = text[--from];
        text[--to] = c;
        if (c == L'\n')
            text[--to] = L'\r';
    }
    return length + lineFeeds;
}

size_t CollapseLineEnds(wchar_t* text, size_t length) {
    size_t to = 0;
    for (size_t from = 0; from < length; ++from)
        if (!(text[from] == L'\r' && from + 1 < length && text[from + 1] == L'\n'))
            text[to++] = text[from];
    return to;
}

size_t ReplaceLoneSurrogates(wchar_t* text, size_t length) {
    const auto high = [](wchar_t c) { return c >= 0xD800 && c <= 0xDBFF; };
    const auto low = [](wchar_t c) { return c >= 0xDC00 && c <= 0xDFFF; };
    size_t replaced = 0;
    for (size_t at = 0; at < length; ++at) {
        if (high(text[at]) && at + 1 < length && low(text[at + 1])) {
            ++at; // a whole pair
        } else if (high(text[at]) || low(text[at])) {
            text[at] = L'?';
            ++replaced;
        }
    }
    return replaced;
}
