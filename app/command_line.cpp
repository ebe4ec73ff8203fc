#include "app/command_line.h"

namespace {

bool IsSeparator(char c) {
    return c == ' ' || c == '\t' || c == '\r';
}

// Reads one argument starting at `pos` (past any separators) and moves `pos` past it.
std::string NextArgument(std::string_view line, size_t& pos) {
    while (pos < line.size() && IsSeparator(line[pos]))
        ++pos;
    if (pos >= line.size())
        return {};
    if (line[pos] == '"' || line[pos] == '\'') {
        const char quote = line[pos++];
        const size_t close = line.find(quote, pos);
        const size_t end = close == std::string_view::npos ? line.size() : close;
        std::string argument(line.substr(pos, end - pos));
        pos = close == std::string_view::npos ? line.size() : close + 1;
        return argument;
    }
    const size_t start = pos;
    while (pos < line.size() && !IsSeparator(line[pos]))
        ++pos;
    return std::string(line.substr(start, pos - start));
}

} // namespace

std::string FirstCommandLineArgument(std::string_view commandLine) {
    size_t pos = 0;
    NextArgument(commandLine, pos); // the program name
    return NextArgument(commandLine, pos);
}
