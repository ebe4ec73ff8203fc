#include "suite/program_search.h"

#include <algorithm>

namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

// The first word of `commandLine`, as Windows takes the program's name from it.
std::string ProgramToken(std::string_view commandLine) {
    size_t start = 0;
    while (start < commandLine.size() && IsBlank(commandLine[start]))
        ++start;
    if (start < commandLine.size() && commandLine[start] == '"') {
        const size_t close = commandLine.find('"', start + 1);
        const size_t end = close == std::string_view::npos ? commandLine.size() : close;
        return std::string(commandLine.substr(start + 1, end - start - 1));
    }
    size_t end = start;
    while (end < commandLine.size() && !IsBlank(commandLine[end]))
        ++end;
    return std::string(commandLine.substr(start, end - start));
}

bool NamesFolder(std::string_view name) {
    return name.find_first_of("\\/:") != std::string_view::npos;
}

// "C:\..." or a network path "\\server\...": neither depends on the current folder.
bool IsAbsolute(std::string_view path) {
    const bool drive = path.size() >= 3 && path[1] == ':' && (path[2] == '\\' || path[2] == '/');
    return drive || path.starts_with("\\\\");
}

std::string WithExtension(std::string name) {
    const size_t fileName = name.find_last_of("\\/:");
    const size_t dot = name.rfind('.');
    if (dot == std::string::npos || (fileName != std::string::npos && dot < fileName))
        name += ".exe";
    return name;
}

std::string InFolder(std::string folder, const std::string& name) {
    if (!folder.empty() && folder.back() != '\\' && folder.back() != '/')
        folder += '\\';
    return folder + name;
}

// The PATH entries a program may be found in: the absolute ones, without surrounding quotes.
std::vector<std::string> AbsolutePathEntries(std::string_view path) {
    std::vector<std::string> entries;
    while (!path.empty()) {
        const size_t end = std::min(path.find(';'), path.size());
        std::string_view entry = path.substr(0, end);
        if (entry.size() >= 2 && entry.front() == '"' && entry.back() == '"')
            entry = entry.substr(1, entry.size() - 2);
        if (IsAbsolute(entry))
            entries.emplace_back(entry);
        path.remove_prefix(std::min(end + 1, path.size()));
    }
    return entries;
}

} // namespace

std::vector<std::string> ProgramCandidates(std::string_view commandLine,
                                           const ProgramFolders& folders) {
    const std::string token = ProgramToken(commandLine);
    if (token.empty())
        return {};
    const std::string program = WithExtension(token);
    if (NamesFolder(token)) {
        if (IsAbsolute(token))
            return {program};
        return {};
    }
    std::vector<std::string> candidates;
    for (const std::string* folder : {&folders.Editor, &folders.System, &folders.Windows})
        candidates.push_back(InFolder(*folder, program));
    for (const std::string& folder : AbsolutePathEntries(folders.Path))
        candidates.push_back(InFolder(folder, program));
    return candidates;
}
