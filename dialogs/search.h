#pragma once
// The search behind Find and Find next: exact, case-sensitive matching of the search
// text in the editor's text, wrapping to the start once.
#include <cstddef>
#include <optional>
#include <string_view>

// The offset of the first occurrence of `needle` in `text` that starts at or after
// `from`; when there is none, the first occurrence from the start of the text, so the
// search wraps once. Nothing when `needle` is empty or `text` does not hold it.
std::optional<size_t> FindNextMatch(std::string_view text, std::string_view needle, size_t from);
