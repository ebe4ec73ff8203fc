#include "document/search.h"

SearchStateRecord SearchState;

std::optional<size_t> FindNextMatch(std::string_view text, std::string_view needle, size_t from) {
    if (needle.empty())
        return std::nullopt;
    size_t found = text.find(needle, from);
    if (found == std::string_view::npos)
        found = text.find(needle);
    if (found == std::string_view::npos)
        return std::nullopt;
    return found;
}
