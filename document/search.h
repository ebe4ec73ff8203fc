#pragma once
// The search behind Find and Find next: exact, case-sensitive matching of the search
// text in the editor's text, wrapping to the start once.
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

// The longest search text the Find dialog takes; longer input is cut.
inline constexpr int kSearchTextLimit = 255;

struct SearchStateRecord {
    std::string SearchText; // the text last entered in the Find dialog
    // Where the next search starts, counted from 1 for the first character of the text
    // (0 also means the start). Find sets it to 1; each match moves it past the match.
    size_t SearchPosition = 0;
};

extern SearchStateRecord SearchState;

// The offset of the first occurrence of `needle` in `text`, the editor's text as it
// shows it, that starts at or after `from`; when there is none, the first occurrence from
// the start of the text, so the search wraps once. Nothing when `needle` is empty or
// `text` does not hold it.
std::optional<size_t> FindNextMatch(std::wstring_view text, std::wstring_view needle, size_t from);
