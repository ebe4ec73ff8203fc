#pragma once
// What the file system says of a file's name: its full form, whether it names anything, and
// whether two names reach one file.
#include <string>

// `path` made absolute against the current folder; a path the system cannot complete
// stays as it is, and the file functions report what is wrong with it.
std::string FullPathOf(const std::string& path);

// Whether a file or folder `path` exists.
bool PathExists(const std::string& path);

// Whether the names `one` and `other` reach the same file, however each is written:
// another drive letter for the same folder, a short name or a link. Decided by the
// volume and file index the system gives each; by the full names, ignoring case, when
// either cannot be opened.
bool IsSameFile(const std::string& one, const std::string& other);
