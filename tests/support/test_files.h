#pragma once
// Registry and file helpers for the Windows tests.
#include <windows.h>
#include <optional>
#include <string>
#include <vector>

inline constexpr char kTestSuiteKey[] = "SOFTWARE\\Velkaro";
inline constexpr char kTestProgramKey[] = "SOFTWARE\\Velkaro\\Tessarine";

// Deletes `path` under `root` with everything below it.
void DeleteRegistryTree(HKEY root, const char* path);

// Creates `path` when needed and sets `name` to `data` as REG_SZ of exactly those bytes.
void SetRegistryBytes(HKEY root, const char* path, const char* name, const std::string& data);
inline void SetRegistryText(HKEY root, const char* path, const char* name,
                            const std::string& text) {
    SetRegistryBytes(root, path, name, text);
}

// The exact bytes stored in a value, or nothing when the key or value is missing.
std::optional<std::string> GetRegistryBytes(HKEY root, const char* path, const char* name);

// A clean suite installation: the suite key with the editor's program directory
// `programDirectory`, its own key without values, and no sibling tools.
void InstallSuite(const std::string& programDirectory = "C:\\Velkaro");

// Removes everything the suite keeps in the registry.
void UninstallSuite();

// A new empty folder for one test, under the system's temporary folder.
std::string FreshFolder(const std::string& name);

std::string ReadFileBytes(const std::string& path);
void WriteFileBytes(const std::string& path, const std::string& bytes);
bool FileExists(const std::string& path);

// The names in `folder`, sorted, without "." and "..".
std::vector<std::string> FolderContents(const std::string& folder);

// The text of recent-list value `name` ("a" to "d") up to its NUL, or nothing when it
// is missing.
std::optional<std::string> RecentEntry(const char* name);

// The folder the test program runs from, with a trailing backslash.
std::string TestProgramFolder();
