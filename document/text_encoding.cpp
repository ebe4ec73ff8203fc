#include "document/text_encoding.h"

#include <algorithm>

namespace {

// The code page conversions take counts of type int; the editor's texts stay below that.
int CountOf(size_t count) {
    return static_cast<int>(count);
}

UINT CodePageOf(TextEncoding encoding) {
    return encoding == TextEncoding::CodePage ? TextCodePage() : CP_UTF8;
}

} // namespace

UINT TextCodePage() {
    const UINT system = FileCalls.SystemCodePage();
    if (system != CP_UTF8)
        return system;
    // Windows set to UTF-8 for every program still knows the code page of the user's language.
    DWORD own = 0;
    if (GetLocaleInfoEx(LOCALE_NAME_USER_DEFAULT,
                        LOCALE_IDEFAULTANSICODEPAGE | LOCALE_RETURN_NUMBER,
                        reinterpret_cast<LPWSTR>(&own), sizeof own / sizeof(wchar_t)) &&
        own != 0)
        return own;
    return CP_UTF8;
}

Outcome<EditorText> DecodeText(std::string_view bytes, TextFormat format) {
    const UINT codePage = CodePageOf(format.Encoding);
    const int wideLength = bytes.empty() ? 0
                                         : MultiByteToWideChar(codePage, 0, bytes.data(),
                                                               CountOf(bytes.size()), nullptr, 0);
    if (!bytes.empty() && wideLength == 0)
        return {SystemFailure(GetLastError())};
    // Room for a CR before each LF that gets one.
    const size_t lineFeeds = format.Ends == LineEnds::LineFeed
                                 ? static_cast<size_t>(std::ranges::count(bytes, '\n'))
                                 : 0;
    EditorText text;
    text.Memory = AllocateWideText(static_cast<size_t>(wideLength) + lineFeeds);
    if (!text.Memory)
        return {SystemFailure(ERROR_NOT_ENOUGH_MEMORY)};
    if (wideLength > 0)
        MultiByteToWideChar(codePage, 0, bytes.data(), CountOf(bytes.size()), text.Data(),
                            wideLength);
    text.Length = ExpandLineFeeds(text.Data(), static_cast<size_t>(wideLength), lineFeeds);
    text.Data()[text.Length] = L'\0';
    return {std::nullopt, std::move(text)};
}

Outcome<DocumentBytes> EncodeText(EditorText& text, TextFormat format, std::string_view header,
                                  size_t terminator) {
    size_t length = text.Length;
    if (format.Ends == LineEnds::LineFeed)
        length = CollapseLineEnds(text.Data(), length);
    const std::wstring_view wide(text.Data(), length);
    const UINT codePage = CodePageOf(format.Encoding);
    // Each code page takes only some flags. In UTF-8 only a lone half of a surrogate pair is
    // lost; it becomes "?" beforehand, and anything else invalid fails the conversion rather
    // than be written as something the text does not hold. In any other code page, without
    // best fit, a character the code page lacks becomes "?" rather than a look-alike, and is
    // counted as lost.
    bool lossy = false;
    DWORD flags = WC_NO_BEST_FIT_CHARS;
    BOOL usedDefault = FALSE;
    BOOL* usedDefaultOut = &usedDefault;
    if (codePage == CP_UTF8) {
        lossy = ReplaceLoneSurrogates(text.Data(), length) > 0;
        flags = WC_ERR_INVALID_CHARS;
        usedDefaultOut = nullptr;
    }
    const int needed = wide.empty()
                           ? 0
                           : WideCharToMultiByte(codePage, flags, wide.data(), CountOf(wide.size()),
                                                 nullptr, 0, nullptr, usedDefaultOut);
    if (!wide.empty() && needed == 0)
        return {SystemFailure(GetLastError())};
    const std::string_view mark = format.Encoding == TextEncoding::Utf8WithMark ? kUtf8Mark : "";
    DocumentBytes bytes;
    bytes.Size = header.size() + mark.size() + static_cast<size_t>(needed) + terminator;
    bytes.Memory.Reset(FileCalls.Allocate(bytes.Size));
    if (!bytes.Memory)
        return {SystemFailure(ERROR_NOT_ENOUGH_MEMORY)};
    char* const start = static_cast<char*>(bytes.Memory.Get());
    char* const at = std::ranges::copy(mark, std::ranges::copy(header, start).out).out;
    if (needed > 0)
        WideCharToMultiByte(codePage, flags, wide.data(), CountOf(wide.size()), at, needed, nullptr,
                            nullptr);
    std::fill_n(at + needed, terminator, '\0');
    bytes.Text = std::string_view(at, static_cast<size_t>(needed));
    bytes.Lossy = lossy || usedDefault;
    return {std::nullopt, std::move(bytes)};
}
