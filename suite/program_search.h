#pragma once
// Where the editor looks for a program it starts by a command line: a tool, the help viewer
// or the shell. Never in the current folder, where a level opened from a downloaded folder may
// have brought a program named like one of them.
#include <string>
#include <string_view>
#include <vector>

// The folders a program named without one is looked for in, in this order.
struct ProgramFolders {
    std::string Editor;  // the folder of the editor's own program
    std::string System;  // Windows' system folder
    std::string Windows; // the Windows folder
    std::string Path;    // the PATH variable: folders separated by ';'
};

// The full names the program of `commandLine` may have, in the order they are to be tried. The
// program is the command line's first word: up to the first blank or tab, or, when it begins with
// a double quote, up to the next one, without the quotes; it gets ".exe" when its file name has
// no extension. A program named with an absolute path is that one file. A bare name is tried in
// each folder of `folders`, leaving out PATH entries that are empty or relative; a name with a
// relative folder has no candidate, since it would be found from the current folder.
std::vector<std::string> ProgramCandidates(std::string_view commandLine,
                                           const ProgramFolders& folders);
