#pragma once
// The suite's settings as the installer left them in the registry, and the two fonts
// the editor and its dialogs share. Filled once at start-up.
#include <windows.h>
#include <string>

struct SuiteSettingsRecord {
    std::string SuiteName;          // the name the editor is installed under
    std::string ProgramKeyPath;     // the editor's own key under HKEY_LOCAL_MACHINE
    std::string ProgramDirectory;   // where the editor and the help file are installed
    std::string GameDirectory;      // the game's installation folder
    std::string DocumentsDirectory; // the user's documents folder
    bool FirstRun = false;          // the installer asks for the first-run greeting
    HFONT NormalFont = nullptr;     // the editor's text
    HFONT BoldFont = nullptr;       // the first line of the first-run and About dialogs
};

extern SuiteSettingsRecord SuiteSettings;

// The capacity of the buffers the suite's settings are read into; a longer value
// reads as empty.
inline constexpr DWORD kSettingCapacity = 256;

// Reads the settings of the suite tool `suiteName` and creates the fonts.
void LoadSuiteSettings(const char* suiteName);

// Marks the first-run greeting as shown, so the next start skips it.
void ClearFirstRunFlag();
