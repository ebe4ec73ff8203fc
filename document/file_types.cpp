#include "document/file_types.h"

std::string FileDialogFilter() {
    static const char kFilter[] = "Populous Credits\0credits.txt\0"
                                  "Level description (*.inf)\0*.inf\0"
                                  "Text file (*.txt)\0*.txt\0"
                                  "All files \0*.*\0";
    return std::string(kFilter, sizeof kFilter); // keeps the final NUL of the list
}
