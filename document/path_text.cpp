#include "document/path_text.h"

#include "suite/suite_table.h"

std::string CutToTextLimit(std::string_view text) {
    return std::string(text.substr(0, kTextLimit));
}

std::string FileNamePart(std::string_view path) {
    const size_t slash = path.rfind('\\');
    return std::string(slash == std::string_view::npos ? path : path.substr(slash + 1));
}

std::string FolderOf(std::string_view path) {
    const size_t slash = path.rfind('\\');
    return std::string(slash == std::string_view::npos ? "" : path.substr(0, slash + 1));
}

bool IsDeviceName(std::string_view path) {
    return path.starts_with("\\\\.\\") && path.find_first_of("\\/", 4) == std::string_view::npos;
}

std::string LoadedDocumentTitle(std::string_view path) {
    return FileNamePart(CutToTextLimit(path)) + " - " + kProgramName;
}

std::string RecentMenuCaption(std::string_view path) {
    std::string caption;
    for (char c : FileNamePart(path)) {
        if (c == '&')
            caption += '&';
        caption += c;
    }
    return caption;
}
