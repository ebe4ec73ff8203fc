#include "suite/program_search.h"

#include <algorithm>

namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

// The names the program of `commandLine` may have, longest first: the quoted name, or the
// text up to each blank that ends a word, and the whole line without blanks at its end.
std::vector<std::string_view> ProgramNames(std::string_view commandLine) {
    size_t start = 0;
    while (start < commandLine.size() && IsBlank(commandLine[start]))
        ++start;
    const std::string_view line = commandLine.substr(start);
    if (line.starts_with('"')) {
        const size_t close = line.find('"', 1);
        return {line.substr(1, close == std::string_view::npos ? close : close - 1)};
    }
    std::vector<std::string_view> names;
    for (size_t end = line.size(); end > 0; --end)
        if ((end == line.size() || IsBlank(line[end])) && !IsBlank(line[end - 1]))
            names.push_back(line.substr(0, end));
    return names;
}

bool NamesFolder(std::string_view name) {
    return name.find_first_of("\\/:") != std::string_view::npos;
}

std::string WithExtension(std::string name) {
    const size_t fileName = name.find_last_of("\\/:");
    const size_t dot = name.rfind('.');
    if (dot == std::string::npos || (fileName != std::string::npos && dot < fileName))
        name += ".exe";
    return name;
}

std::string InFolder(std::string folder, const std::string& name) {
    if (folder.back() != '\\' && folder.back() != '/')
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

// Where the program `name` may be: the one file an absolute name names, or, for a bare name,
// the folders of `folders` that are known, in their order.
void AddCandidates(std::string_view name, const ProgramFolders& folders,
                   std::vector<std::string>& candidates) {
    const std::string program = WithExtension(std::string(name));
    if (NamesFolder(name)) {
        if (IsAbsolute(name))
            candidates.push_back(program);
        return;
    }
    // A folder the editor could not tell is left out: an empty one would be the current one.
    for (const std::string* folder : {&folders.Editor, &folders.System, &folders.Windows})
        if (!folder->empty())
            candidates.push_back(InFolder(*folder, program));
    for (const std::string& folder : AbsolutePathEntries(folders.Path))
        candidates.push_back(InFolder(folder, program));
}

} // namespace

bool IsAbsolute(std::string_view path) {
    const bool drive = path.size() >= 3 && path[1] == ':' && (path[2] == '\\' || path[2] == '/');
    return drive || path.starts_with("\\\\");
}

std::vector<std::string> ProgramCandidates(std::string_view commandLine,
                                           const ProgramFolders& folders) {
    std::vector<std::string> candidates;
    for (std::string_view name : ProgramNames(commandLine))
        if (!name.empty())
            AddCandidates(name, folders, candidates);
    return candidates;
}
