#include "document/search.h"

SearchStateRecord SearchState;

namespace {

template <typename Text>
std::optional<size_t> FindNextMatchIn(Text text, Text needle, size_t from) {
    if (needle.empty())
        return std::nullopt;
    size_t found = text.find(needle, from);
    if (found == Text::npos)
        found = text.find(needle);
    if (found == Text::npos)
        return std::nullopt;
    return found;
}

} // namespace

std::optional<size_t> FindNextMatch(std::string_view text, std::string_view needle, size_t from) {
    return FindNextMatchIn(text, needle, from);
}

std::optional<size_t> FindNextMatch(std::wstring_view text, std::wstring_view needle, size_t from) {
    return FindNextMatchIn(text, needle, from);
}
