#include "suite/suite_links.h"

#include "platform/file_handle.h"
#include "platform/registry.h"
#include "suite/program_search.h"
#include "suite/suite_settings.h"
#include "suite/suite_table.h"

namespace {
const DWORD kToolCommandCapacity = 1000;

// The text a call left in `buffer` when it reports `length` characters; empty when the
// call failed or the text did not fit, as the call then reports what it would need.
std::string FittedText(std::string buffer, DWORD length) {
    if (length >= buffer.size())
        return {};
    buffer.resize(length);
    return buffer;
}

// The folder of the editor's own program, Windows' folders and the PATH, where the programs
// the editor starts are looked for.
ProgramFolders ProgramSearchFolders() {
    std::string module(MAX_PATH, '\0');
    module = FittedText(module, GetModuleFileNameA(nullptr, module.data(), MAX_PATH));
    std::string system(MAX_PATH, '\0');
    system = FittedText(system, GetSystemDirectoryA(system.data(), MAX_PATH));
    std::string windows(MAX_PATH, '\0');
    windows = FittedText(windows, GetWindowsDirectoryA(windows.data(), MAX_PATH));
    std::string path(GetEnvironmentVariableA("PATH", nullptr, 0), '\0');
    path = FittedText(path, GetEnvironmentVariableA("PATH", path.data(), DWORD(path.size())));
    return {module.substr(0, module.find_last_of('\\')), system, windows, path};
}

// The first candidate for the program of `commandLine` that is a file, or an empty text.
std::string FindProgram(const std::string& commandLine) {
    for (const std::string& candidate : ProgramCandidates(commandLine, ProgramSearchFolders())) {
        const DWORD attributes = GetFileAttributesA(candidate.c_str());
        if (attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY))
            return candidate;
    }
    return {};
}

// Starts the program `commandLine` names, found where ProgramCandidates says and never in the
// current folder, with `commandLine` as its own and the editor's environment as it is. Nothing
// waits for it, and a program that is not found starts nothing.
void StartProgram(const std::string& commandLine) {
    const std::string program = FindProgram(commandLine);
    if (program.empty())
        return;
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_SHOW;
    PROCESS_INFORMATION started{};
    std::string arguments = commandLine; // CreateProcessA may write into it
    if (CreateProcessA(program.c_str(), arguments.data(), nullptr, nullptr, FALSE, 0, nullptr,
                       nullptr, &startup, &started)) {
        // Nothing waits for the program: its handles close here.
        const UniqueHandle thread(started.hThread);
        const UniqueHandle process(started.hProcess);
    }
}
} // namespace

void BuildProgrammesMenu(HMENU menu) {
    const RegistryKey suite(HKEY_LOCAL_MACHINE, kSuiteKeyPath, KEY_QUERY_VALUE);
    for (const SuiteTool& tool : kSuiteTools) {
        if (SuiteSettings.SuiteName == tool.SuiteName)
            continue;
        // Only whether the value can be read counts; one too long to read leaves the
        // tool out.
        if (ReadRegistryText(suite, tool.SuiteName, kSettingCapacity).Result == ERROR_SUCCESS)
            AppendMenuA(menu, MF_STRING, tool.Command, tool.Caption);
    }
}

void LaunchSuiteTool(unsigned short command) {
    const SuiteTool* tool = FindSuiteTool(command);
    if (!tool)
        return;
    const RegistryKey suite(HKEY_LOCAL_MACHINE, kSuiteKeyPath, KEY_QUERY_VALUE);
    const std::string commandLine =
        ReadRegistryText(suite, tool->PathValue, kToolCommandCapacity).Text;
    if (!commandLine.empty())
        StartProgram(commandLine);
}

void ShowHelp(const char* topic) {
    StartProgram(HelpCommandLine(SuiteSettings.ProgramDirectory, topic));
}

void OpenWebSite() {
    StartProgram(WebSiteCommandLine());
}
