#include "suite/suite_settings.h"

#include "platform/registry.h"
#include "suite/suite_table.h"

SuiteSettingsRecord SuiteSettings;

namespace {

const char kGameKeyPath[] = "SOFTWARE\\Bullfrog Productions Ltd\\Populous: The Beginning";
const char kShellFoldersKeyPath[] =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
const char kFirstRunValue[] = "EersteKeer";
const DWORD kFirstRunCapacity = 4;

HFONT CreateSharedFont(LONG weight, const char* face) {
    LOGFONTA font{};
    font.lfHeight = 16; // the cell height, not the character height
    font.lfWeight = weight;
    font.lfCharSet = DEFAULT_CHARSET;
    lstrcpynA(font.lfFaceName, face, LF_FACESIZE);
    return CreateFontIndirectA(&font);
}

} // namespace

void LoadSuiteSettings(const char* suiteName) {
    SuiteSettings.SuiteName = suiteName;
    SuiteSettings.ProgramKeyPath = ProgramKeyPathFor(suiteName);

    {
        const RegistryKey suite(HKEY_LOCAL_MACHINE, kSuiteKeyPath, KEY_QUERY_VALUE);
        const RegistryKey game(HKEY_LOCAL_MACHINE, kGameKeyPath, KEY_QUERY_VALUE);
        const RegistryKey shellFolders(HKEY_CURRENT_USER, kShellFoldersKeyPath, KEY_QUERY_VALUE);
        SuiteSettings.ProgramDirectory = ReadRegistryText(suite, suiteName, kSettingCapacity).Text;
        SuiteSettings.GameDirectory = ReadRegistryText(game, "InstallPath", kSettingCapacity).Text;
        SuiteSettings.DocumentsDirectory =
            ReadRegistryText(shellFolders, "Personal", kSettingCapacity).Text;

        const RegistryKey own(HKEY_LOCAL_MACHINE, SuiteSettings.ProgramKeyPath.c_str(),
                              KEY_QUERY_VALUE);
        SuiteSettings.FirstRun =
            !ReadRegistryText(own, kFirstRunValue, kFirstRunCapacity).Text.empty();
    }

    SuiteSettings.NormalFont = CreateSharedFont(FW_NORMAL, "Verdana");
    SuiteSettings.BoldFont = CreateSharedFont(FW_BOLD, "Tahoma");
}

void ClearFirstRunFlag() {
    const RegistryKey own(HKEY_LOCAL_MACHINE, SuiteSettings.ProgramKeyPath.c_str(), KEY_SET_VALUE);
    if (!own)
        return;
    // One NUL byte: an empty text that readers see as "no greeting".
    const BYTE empty = 0;
    RegSetValueExA(own.Get(), kFirstRunValue, 0, REG_SZ, &empty, 1);
}
