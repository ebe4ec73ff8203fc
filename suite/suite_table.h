#pragma once
// The Velkaro suite as this editor knows it: its tools, its web page, and the
// command lines that reach the help viewer and the shell.
#include <array>
#include <string>
#include <string_view>

#include "resources/resource_ids.h"

// This editor's name: its window class, its title and the caption of its own boxes.
inline constexpr char kProgramName[] = "Scribane";

// The suite name this editor is installed and started under.
inline constexpr char kOwnSuiteName[] = "Tessarine";

// The suite's web page, where its installer can be downloaded.
inline constexpr char kSuiteWebAddress[] = SUITE_WEB_ADDRESS;

// The registry area every tool of the suite is installed under.
inline constexpr char kSuiteKeyPath[] = "SOFTWARE\\Velkaro";

struct SuiteTool {
    const char* SuiteName; // registry value marking the tool as installed
    const char* Caption;   // its item in the Programmes menu
    unsigned short Command;
    const char* PathValue; // registry value holding the command line that starts it
};

inline constexpr std::array<SuiteTool, 5> kSuiteTools{{
    {"Terracant", "Terracant", 591, "Terracant Prog"},
    {"Huevellan", "Huevellan", 592, "Huevellan Prog"},
    {"Brasquel", "Brasquel", 593, "Brasquel Prog"},
    {"Lexorith", "Lexorith", 594, "Lexorith Prog"},
    {kOwnSuiteName, kProgramName, 595, "Tessarine Prog"},
}};

// The tool whose menu item carries `command`, or nullptr.
const SuiteTool* FindSuiteTool(unsigned command);

// "SOFTWARE\Velkaro\" followed by the suite name.
std::string ProgramKeyPathFor(std::string_view suiteName);

// The help viewer's command line for the suite's help file in `programDirectory`,
// opened on `topic` when it is not empty.
std::string HelpCommandLine(std::string_view programDirectory, std::string_view topic);

// The shell's command line that opens the suite's web page.
std::string WebSiteCommandLine();

// The text of the warning shown when the suite's installer has not registered the
// editor's program directory.
std::string InstallationWarningText();
