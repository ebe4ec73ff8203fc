// The editor in its suite: the settings and first-run flag the installer leaves, the greeting and
// About, the Programmes menu, the programs the editor starts, and the installer with the real
// program it installs.
#include "support/harness.h"

#include "dialogs/dialogs.h"
#include "resources/resource_ids.h"
#include "suite/suite_settings.h"
#include "suite/suite_table.h"

namespace {

using namespace std::string_literals;

// With recording stand-ins for the help viewer, the shell and the sibling tools beside the test
// program, where WinExec looks first.
struct InSuite : Suite {
    void SetUp() override {
        Suite::SetUp();
        for (std::string name :
             {"Hh", "Explorer", "terracant", "huevellan", "brasquel", "lexorith"})
            CopyFileA((ProgramFolder() + "launch_recorder.exe").c_str(),
                      (ProgramFolder() + name + ".exe").c_str(), 0);
    }
    // The command lines the stand-ins were started with by `command` (0: before), once one has
    // come.
    static std::string Launch(unsigned command) {
        const std::string log = ProgramFolder() + "launches.txt";
        Command(command);
        for (int tries = 0; tries < 100 && ReadBytes(log).find('\n') == std::string::npos; ++tries)
            Sleep(100);
        Sleep(300);
        const std::string line = ReadBytes(log);
        DeleteFileA(log.c_str());
        return line.substr(0, line.size() - 2);
    }
};

// Another process's first visible window of class `type`; a box is described, then closed with
// `button`.
Box Await(const char* type, int button = 0) {
    HWND window = nullptr;
    for (int tries = 0; tries < 500 && !(window && IsWindowVisible(window)); ++tries)
        Sleep(20), window = FindWindowA(type, nullptr);
    const Box box = window ? Describe(window) : Box{};
    PostMessageA(button ? window : nullptr, WM_COMMAND, button, 0);
    for (int tries = 0; button && IsWindow(window) && tries < 250; ++tries)
        Sleep(20);
    return box;
}

} // namespace

TEST_F(InSuite, SettingsFirstRunAndInstallationWarning) {
    const auto starts = [&](std::string folder, const char* flag, std::string boxes,
                            const char* after) {
        RegDeleteTreeA(HKEY_LOCAL_MACHINE, kSuiteKey);
        folder == "-" ? void() : SetValue(kSuiteKey, "Tessarine", folder);
        *flag == '-' ? void() : SetValue(kOwnKey, "EersteKeer", flag);
        std::string shown = "-"; // the flag while the greeting shows
        answers = {[&](HWND box) { shown = Value(kOwnKey, "EersteKeer"), Press(IDCANCEL)(box); }};
        Editor editor;
        for (const Box& box :
             Take()) // the warning has no owner, but keeps the user out of the main window
            shown += "|" + box.caption +
                     (box.caption != "Error" ||
                              (box.text == InstallationWarningText() && !box.owner &&
                               box.icon == LoadIconA(nullptr, IDI_WARNING) &&
                               box.buttons == std::vector{-IDOK} && !box.mainWindowEnabled)
                          ? ""
                          : "?");
        EXPECT_EQ(Value(kOwnKey, "EersteKeer") + "|" + shown + "|" +
                      SuiteSettings.ProgramDirectory + Status(0),
                  after + boxes + "|" + (folder.size() > 255 || folder == "-" ? "" : folder) +
                      "(Unsaved)")
            << folder.substr(0, 12) << " " << flag;
    };
    starts("C:\\Velkaro", "-", "|-", "-");
    starts("C:\\Velkaro", "1", "||First time", ""); // cleared before the greeting shows
    starts("C:\\Velkaro", "123", "||First time", "");
    starts("C:\\Velkaro", "", "|-", "");
    starts("C:\\Velkaro", "12345", "|-", "12345"); // too long for its 4-byte read
    starts(std::string(255, 'p'), "-", "|-", "-");
    starts(std::string(256, 'p'), "-", "|-|Error", "-"); // too long for its 256
    starts("-", "-", "|-|Error", "-");
}

TEST_F(InSuite, GreetingAndAbout) {
    std::string texts; // the first line of each is in the bold font
    const auto bold = [&](int id, Answer then) -> Answer {
        return [&texts, id, then](HWND d) {
            const LRESULT font = SendDlgItemMessageA(d, id, WM_GETFONT, 0, 0);
            texts += font == LRESULT(SuiteSettings.BoldFont) ? "" : "not bold ";
            then(d);
        };
    };
    SetValue(kOwnKey, "EersteKeer", "1");
    answers = {bold(IDC_WELCOME, Press(IDC_SECOND_BUTTON)),
               bold(IDC_ABOUT_NAME, [](HWND d) { PostMessageA(d, WM_SYSCOMMAND, SC_CLOSE, 0); }),
               [](HWND d) { PostMessageA(d, WM_KEYDOWN, VK_RETURN, 0); }};
    Editor editor;
    Command(CMD_ABOUT);
    RunFirstRunDialog();
    for (const Box& box : Take())
        texts += box.caption + "|" + box.text + (box.owner == MainWindow ? "\n" : "?\n");
    const std::string greeting = "First time|Welcome!|This is the first time you started Scribane. "
                                 "Would you like a quick introduction to the programme?|Yes|No\n";
    EXPECT_EQ(
        texts + Launch(0), // only Enter opens the quick introduction
        greeting +
            "About|Scribane v2.0.11|Create your own INF-files or just edit plain text|Made by "
            "Ostrik|From Velkaro|velkaro.example|Over\n" +
            greeting + "Hh.exe C:\\Velkaro\\Vellumdoc.chm::/INF/QuickStart.htm");
}

TEST_F(InSuite, ProgrammesMenuAndLaunches) {
    const auto lists = [&](std::vector<std::pair<const char*, std::string>> values,
                           std::string menu) {
        RegDeleteTreeA(HKEY_LOCAL_MACHINE, kSuiteKey);
        SetValue(kSuiteKey, "Tessarine", "C:\\Velkaro");
        for (const auto& [name, value] : values)
            SetValue(kSuiteKey, name, value);
        Editor editor;
        const std::string bar = MenuText(GetMenu(MainWindow)), start = "}&Programmes{";
        const size_t at = bar.find(start), help = bar.find("}&Help{");
        EXPECT_EQ(at == std::string::npos ? "none"
                                          : bar.substr(at + start.size(), help - at - start.size()),
                  menu);
    };
    lists({}, "none");
    lists({{"Lexorith", "C:\\L"}, {"Huevellan", "C:\\H"}}, "592 Huevellan|594 Lexorith|");
    lists({{"Huevellan", "C:\\" + std::string(297, 'h')},
           {"Lexorith", "C:\\" + std::string(252, 'l')}},
          "594 Lexorith|"); // a value too long to read leaves its tool out
    // Never the editor itself, though installed.
    lists({{"Terracant", ""}, {"Huevellan", ""}, {"Brasquel", ""}, {"Lexorith", ""}},
          "591 Terracant|592 Huevellan|593 Brasquel|594 Lexorith|");
    for (const char* name : {"Terracant", "Huevellan", "Brasquel", "Lexorith"})
        SetValue(kSuiteKey, (name + " Prog"s).c_str(),
                 CharLowerA(std::string(name).data()) + " -"s + name[0]);
    Editor editor;
    std::string launched;
    for (unsigned command : {591, 592, 593, 594, CMD_HELP, CMD_WEB_SITE})
        launched += Launch(command) + "|";
    EXPECT_EQ(launched, "terracant -T|huevellan -H|brasquel -B|lexorith -L|Hh.exe C:\\"
                        "Velkaro\\Vellumdoc.chm|Explorer.exe http://velkaro.example/|");
    EXPECT_TRUE(seen.empty());
}

TEST_F(InSuite, TheInstallerAndTheProgramItInstalls) {
    const std::string setup = ProgramFolder() + "..\\dist\\scribane-2.0.11-setup.exe",
                      target = "C:\\Velkaro Test", exe = target + "\\scribane.exe",
                      draft = Path("draft.txt");
    if (GetFileAttributesA(setup.c_str()) == INVALID_FILE_ATTRIBUTES)
        GTEST_SKIP() << "no installer was built (makensis or chmcmd missing)";
    const char kVerb[] = "SystemFileAssociations\\.inf\\shell\\EditWithScribane",
               kOther[] = "SystemFileAssociations\\.inf\\shell\\Other";
    const auto values = [&] {
        std::string text = Value(kSuiteKey, "Tessarine") + "|" + Value(kOwnKey, "EersteKeer") +
                           "|" + Value(kOwnKey, "a") + "|" + Value(kSuiteKey, "Huevellan Prog");
        for (std::string key :
             {std::string(kVerb), kVerb + "\\command"s, std::string(kOther), ".inf"s, ".txt"s})
            text += "|" + Value(key.c_str(), "", HKEY_CLASSES_ROOT);
        return text;
    };
    // Starts `program` with `arguments`, does `use`, and sees it end with exit code 0.
    const auto runs = [](std::string program, std::string arguments,
                         std::function<void(HANDLE)> use) {
        STARTUPINFOA startup{};
        startup.cb = sizeof startup;
        PROCESS_INFORMATION process{};
        DWORD code = STILL_ACTIVE;
        CreateProcessA(program.c_str(), ("\"" + program + "\" " + arguments).data(), nullptr,
                       nullptr, FALSE, 0, nullptr, nullptr, &startup, &process);
        use(process.hProcess);
        WaitForSingleObject(process.hProcess, 60000);
        EXPECT_TRUE(GetExitCodeProcess(process.hProcess, &code) && !code) << program;
        CloseHandle(process.hProcess), CloseHandle(process.hThread);
    };
    RegDeleteTreeA(HKEY_LOCAL_MACHINE, kSuiteKey);
    // A sibling tool, another program's verb and the system's file types stay as they are.
    SetValue(kSuiteKey, "Huevellan Prog", "huevellan.exe");
    SetValue(kOther, "", "Other", HKEY_CLASSES_ROOT);
    const std::string types =
        Value(".inf", "", HKEY_CLASSES_ROOT) + "|" + Value(".txt", "", HKEY_CLASSES_ROOT);
    runs(setup, "/S /D=" + target, [](HANDLE) {});
    EXPECT_EQ(FolderContents(target), (std::vector<std::string>{"Uninstall Scribane.exe",
                                                                "Vellumdoc.chm", "scribane.exe"}));
    EXPECT_EQ(values(), target + "|1|-|huevellan.exe|Edit with Scribane|\"" + exe +
                            "\" \"%1\"|Other|" + types);
    // The first start greets; closing over modified text asks, and goes on after Cancel.
    WriteBytes(draft, "draft");
    runs(exe, "\"" + draft + "\"", [&](HANDLE) {
        std::string closing = Await("#32770", IDCANCEL).caption;
        HWND window = FindWindowA("Scribane", nullptr);
        for (int tries = 0; tries < 250 && Describe(window).caption == "Scribane"; ++tries)
            Sleep(20); // the file loads once the greeting has gone
        closing += "|" + Describe(window).caption;
        SendMessageA(FindWindowExA(window, nullptr, "Edit", nullptr), WM_CHAR, '!', 0);
        for (int button : {IDCANCEL, IDYES}) {
            PostMessageA(window, WM_CLOSE, 0, 0);
            closing += "|" + Await("#32770", button).caption;
        }
        EXPECT_EQ(closing, "First time|draft.txt - Scribane|Save text|Save text");
    });
    EXPECT_EQ(ReadBytes(draft), "!draft");
    SetValue(kOwnKey, "a", "C:\\L\\one.inf"); // the user's recent list is the user's
    runs(target + "\\Uninstall Scribane.exe", "/S _?=" + target, [](HANDLE) {});
    EXPECT_LE(FolderContents(target),
              std::vector<std::string>{"Uninstall Scribane.exe"}); // it ran in place
    EXPECT_EQ(values(), "-|-|C:\\L\\one.inf|huevellan.exe|-|-|Other|" + types);
    RegDeleteTreeA(HKEY_CLASSES_ROOT, kOther);
}
