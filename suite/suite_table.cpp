#include "suite/suite_table.h"

const SuiteTool* FindSuiteTool(unsigned command) {
    for (const SuiteTool& tool : kSuiteTools)
        if (tool.Command == command)
            return &tool;
    return nullptr;
}

std::string ProgramKeyPathFor(std::string_view suiteName) {
    return std::string(kSuiteKeyPath) + "\\" + std::string(suiteName);
}

std::string HelpCommandLine(std::string_view programDirectory, std::string_view topic) {
    std::string line = "Hh.exe " + std::string(programDirectory);
    if (topic.empty())
        line += "\\Vellumdoc.chm";
    else
        line += "\\Vellumdoc.chm::/" + std::string(topic);
    return line;
}

std::string WebSiteCommandLine() {
    return std::string("Explorer.exe ") + kSuiteWebAddress;
}

std::string InstallationWarningText() {
    return std::string(kProgramName) +
           " isn't properly installed. Please run the installation again. If neccessary, you "
           "can download the installation programme from " +
           kSuiteWebAddress;
}
