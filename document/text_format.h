#pragma once
// How a file's text is encoded and how its lines end, so that a save writes them as the
// file had them. Files made by today's editors often hold UTF-8 and end their lines in
// LF alone; the level descriptions and the game's own files hold bytes of the system
// code page.
#include <cstddef>
#include <string_view>

enum class TextEncoding {
    CodePage,     // one or two bytes a character, in the system's code page
    Utf8,         // UTF-8 without a mark
    Utf8WithMark, // UTF-8 after the mark EF BB BF
};

enum class LineEnds {
    AsStored, // CR LF, CR alone or a mix: the editor shows and saves them as they are
    LineFeed, // LF alone: the editor shows CR LF and saves LF
};

struct TextFormat {
    TextEncoding Encoding = TextEncoding::CodePage;
    LineEnds Ends = LineEnds::AsStored;
};

// The UTF-8 mark that may open a plain file.
inline constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";

// The format of `text`, the text of a file. A file is UTF-8 when it is valid UTF-8 and opens
// with the mark or holds at least one byte of 0x80 or above, unless it is one of the game's
// own files (`gameFile`), which the game reads in its code page; every other file is of the
// code page. Lines end in LF alone when the text holds an LF and no CR.
TextFormat DetectTextFormat(std::string_view text, bool gameFile);

// Turns every LF of the `length` characters at `text` into CR LF, in place; the buffer
// has room for `lineFeeds` more, the number of LFs in it. Returns the new length.
size_t ExpandLineFeeds(wchar_t* text, size_t length, size_t lineFeeds);

// Turns every CR LF of the `length` characters at `text` back into LF, in place. Returns
// the new length.
size_t CollapseLineEnds(wchar_t* text, size_t length);

// Replaces every half of a surrogate pair that stands alone among the `length` characters at
// `text` (pasted, or left by deleting the other half) with "?", which UTF-8 can hold while
// the lone half has no UTF-8 form. Returns how many were replaced.
size_t ReplaceLoneSurrogates(wchar_t* text, size_t length);
