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

// Whether `path` does not depend on the current folder: "C:\..." or a network path
// "\\server\...".
bool IsAbsolute(std::string_view path);

// The full names the program of `commandLine` may have, in the order they are to be tried;
// the first that names a program file is the one to start. A program in double quotes is
// that name alone. Otherwise the command line is taken as Windows takes it, the text up to
// each blank in turn and then the whole line, but the longest name is tried first: a
// "C:\Program.exe" placed beside "C:\Program Files" then never starts in place of a tool in
// that folder. A name gets ".exe" when its file name has no extension. A name with an
// absolute path is that one file; a bare name is tried in each folder of `folders` that is
// known, leaving out PATH entries that are empty or relative; a name with a relative folder
// has no candidate, since it would be found from the current folder.
std::vector<std::string> ProgramCandidates(std::string_view commandLine,
                                           const ProgramFolders& folders);
