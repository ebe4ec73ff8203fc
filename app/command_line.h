#pragma once
#include <string>
#include <string_view>

// The first argument after the program name in a full command line, as the editor
// loads it at start-up. Blanks, tabs and carriage returns separate arguments; an
// argument that begins with a double or a single quote runs to the next quote of the
// same kind (or to the end of the line), and the quotes are removed. The result is
// empty when there is no such argument.
std::string FirstCommandLineArgument(std::string_view commandLine);
