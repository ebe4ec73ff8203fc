#include "document/search.h"

SearchStateRecord SearchState;

std::optional<size_t> FindNextMatch(std::wstring_view text, std::wstring_view needle, size_t from) {
    if (needle.empty())
        return std::nullopt;
    size_t found = text.find(needle, from);
    if (found == std::wstring_view::npos)
        found = text.find(needle);
    if (found == std::wstring_view::npos)
        return std::nullopt;
    return found;
}
