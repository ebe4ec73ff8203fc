// The main window as it starts, its commands, Find and the shortcut keys; the editor in its suite:
// the settings and first-run flag, the greeting, About, the Programmes menu, the programs it
// starts, and the installer with the program it installs.
#include "support/harness.h"

#include <sstream>

struct Window : Suite {
    static std::string Selection() {
        const LRESULT range = SendMessageA(EditorControl, EM_GETSEL, 0, 0);
        return std::to_string(LOWORD(range)) + "-" + std::to_string(HIWORD(range));
    }
    // Whether the message loop's own step takes `key` in `window` for a shortcut, and runs it.
    static bool Key(HWND window, WORD key, bool control) {
        BYTE keys[256] = {};
        keys[VK_CONTROL] = control ? 0x80 : 0;
        MSG message{window, WM_KEYDOWN, key, 1, 0, {}};
        return SetKeyboardState(keys) && TranslateEditorAccelerator(message);
    }
    static void Edits(int start, int end, unsigned command, const char* result) {
        SendMessageA(EditorControl, EM_SETSEL, start, end);
        Command(command);
        EXPECT_EQ(Text() + " " + Selection() + (Modified() ? "+" : ""), result) << command;
    }
};

TEST_F(Window, StartsAsTheUserSeesIt) {
    Editor editor;
    WNDCLASSA type{};
    LOGFONTA font{};
    int parts[3] = {};
    GetClassInfoA(ModuleInstance, "Scribane", &type);
    GetObjectA(HFONT(SendMessageA(EditorControl, WM_GETFONT, 0, 0)), sizeof font, &font);
    const int count = int(SendMessageA(StatusBar, SB_GETPARTS, 3, LPARAM(parts)));
    char look[256];
    std::snprintf(look, sizeof look, "%lx %lx %x|%d %d %d|%d %lx %lx %d %s %ld",
                  GetWindowLongA(MainWindow, GWL_STYLE), GetWindowLongA(MainWindow, GWL_EXSTYLE),
                  type.style, count, parts[0], parts[1], GetDlgCtrlID(EditorControl),
                  GetWindowLongA(EditorControl, GWL_STYLE),
                  GetWindowLongA(EditorControl, GWL_EXSTYLE), GetFocus() == EditorControl,
                  font.lfFaceName, font.lfHeight);
    EXPECT_EQ(Title() + "|" + Status(0) + Status(1) + "|" + look,
              "Scribane|(Unsaved)|14cf0000 110 3|2 400 -1|0 50300004 200 1 Verdana 16");
    EXPECT_EQ(
        MenuText(GetMenu(MainWindow)),
        "&File{101 &New|102 &Open...|103 Save &as...|105 &Save|---|100 (Recent files) grayed|"
        "---|104 &Exit|}&Edit{111 &Undo\bCtrl+Z|---|112 &Cut\bCtrl+X|113 &Copy\bCtrl+C|114 "
        "&Paste\bCtrl+V|---|115 &Delete\bDel|116 Date and &time|---|117 &Find...\bCtrl+F|118 "
        "Find &next\bF3|119 Select &all\bCtrl+A|}&Help{131 &About|132 &Quick introduction|133 "
        "&Velkaro online|134 &Help|}");
    // Enlarged, the editor and the status bar fill the window and repaint where they moved: the
    // corner between the editor's scroll bars and the status bar's far end are not left black.
    ShowWindow(MainWindow, SW_MAXIMIZE);
    for (MSG message; PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE);)
        DispatchMessageA(&message);
    RECT area, edit, status, text;
    GetClientRect(MainWindow, &area), GetClientRect(EditorControl, &text);
    GetWindowRect(EditorControl, &edit), GetWindowRect(StatusBar, &status);
    MapWindowPoints(nullptr, MainWindow, LPPOINT(&edit), 2);
    MapWindowPoints(nullptr, MainWindow, LPPOINT(&status), 2);
    EXPECT_EQ(std::vector({edit.left, edit.top, edit.right, edit.bottom, status.bottom}),
              std::vector({0L, 0L, area.right, status.top, area.bottom}));
    HDC screen = GetDC(MainWindow); // between the scroll bars, at the status bar's end, the text
    EXPECT_TRUE(GetPixel(screen, edit.right - 8, status.top - 8) &&
                GetPixel(screen, area.right - 30, (status.top + area.bottom) / 2) &&
                GetPixel(screen, text.right / 2, text.bottom / 2));
    ReleaseDC(MainWindow, screen);
}

TEST_F(Window, ProcedureEditCommandsAndDateStamp) {
    Editor editor;
    Put(std::string(100000, 'x'), false); // past the control's own limit of about 30,000
    SendMessageA(EditorControl, WM_CHAR, 'a', 0);
    EXPECT_EQ(std::to_string(GetWindowTextLengthA(EditorControl)) + Status(1), "100001\tModified");
    Put("hello world", false);
    Edits(0, 6, CMD_CUT, "world 0-0+");
    Edits(5, 5, CMD_PASTE, "worldhello  11-11+");
    Edits(0, 0, CMD_UNDO, "world 5-5+");
    Edits(0, 3, CMD_DELETE, "ld 0-0+");
    Put(Text(), false);
    for (unsigned id :
         {0u, 100u, 110u, 120u, 135u, 596u, unsigned(CMD_SELECT_ALL)}) // only the last acts
        Edits(1, 2, id, id == CMD_SELECT_ALL ? "ld 0-2" : "ld 1-2");
    // The stamp is the local time, here in a zone where a stamp in UTC shows.
    TIME_ZONE_INFORMATION zone{};
    ASSERT_NE(GetTimeZoneInformation(&zone) == TIME_ZONE_ID_INVALID ? 0 : zone.Bias, 0)
        << "scripts/test sets TZ";
    const auto stamp = [](SYSTEMTIME t) {
        GetLocalTime(&t);
        return FormatDateTimeStamp({t.wDay, t.wMonth, t.wYear, t.wHour, t.wMinute, t.wSecond});
    };
    Put("[old]", false);
    SendMessageA(EditorControl, EM_SETSEL, 1, 4);
    const std::string before = "[" + stamp({}) + "]";
    Command(CMD_DATE_TIME);
    EXPECT_TRUE((Text() == before || Text() == "[" + stamp({}) + "]") && Modified()) << Text();
    Command(CMD_UNDO);
    EXPECT_EQ(Text() + std::to_string(seen.size()), "[old]0");
}

TEST_F(Window, FindAndTheShortcutKeys) {
    Editor editor;
    Put("one two one two", false);
    SendMessageA(EditorControl, EM_SETSEL, 15, 15);
    // Runs `command` ('F' and F3 as keys), typing `find` into the Find dialog and pressing `button`
    // (0: Enter); then the selection and the boxes, each marked "i" for its icon.
    const auto step = [&](unsigned command, const char* find, int button, std::string result) {
        answers = {[=](HWND dialog) {
            SetDlgItemTextA(dialog, IDC_FIND_TEXT, find);
            PostMessageA(dialog, button ? WM_COMMAND : WM_KEYDOWN, button ? button : VK_RETURN, 0);
        }};
        command == 'F' || command == VK_F3 ? void(Key(MainWindow, command, command == 'F'))
                                           : Command(command);
        std::string boxes;
        for (const Box& box : Take())
            boxes += box.caption + "|" + box.text + (box.owner == MainWindow ? "|" : "?|") +
                     (box.icon == LoadIconA(nullptr, IDI_INFORMATION) ? "i|" : "");
        EXPECT_EQ(Selection() + " " + boxes, result) << find;
    };
    const std::string dialog = "Find|Search for the text:||Find|Find next|Cancel|";
    step(VK_F3, "", IDOK,
         "15-15 Find|There is no text to search for. Choose Find... in the Edit menu and type the "
         "text to find.|i|");
    step('F', "two", 0, "4-7 " + dialog); // Find starts at the top
    step(VK_F3, "", 0, "12-15 ");
    step(CMD_FIND_NEXT, "", 0, "4-7 ");                     // and wraps once
    step(CMD_FIND, "one", IDC_FIND_NEXT, "8-11 " + dialog); // the dialog's Find next goes on
    step(CMD_FIND, "two", IDCANCEL, "8-11 " + dialog);      // Cancel keeps the last search
    step(CMD_FIND_NEXT, "", 0, "0-3 ");
    step(CMD_FIND, "Two", IDC_FIRST_BUTTON,
         "0-3 " + dialog + "Find|Cannot find \"Two\".|i|"); // case counts
    // Ctrl+S saves, asking for a file first; Ctrl+O opens; Ctrl+A selects; Ctrl+N empties.
    WriteBytes(Path("other.txt"), "other");
    answers = {Choose(Path("saved.txt"), 3), Choose(Path("other.txt"), 3)};
    EXPECT_TRUE(Key(EditorControl, 'S', true) && Key(EditorControl, 'O', true) &&
                Key(EditorControl, 'A', true));
    EXPECT_EQ(ReadBytes(Path("saved.txt")) + "|" + Text() + Selection(),
              "one two one two|other0-5");
    EXPECT_TRUE(Key(MainWindow, 'N', true));
    EXPECT_EQ(Text() + std::to_string(Take().size()), "2");
    EXPECT_FALSE(Key(EditorControl, 'S', false) || Key(StatusBar, 'S', true)); // Ctrl, and here
}

// With recording stand-ins for the help viewer, the shell and the sibling tools beside the test
// program, where the editor looks first.
struct InSuite : Suite {
    void SetUp() override {
        Suite::SetUp();
        for (std::string name :
             {"Hh", "Explorer", "terracant", "huevellan", "brasquel", "lexorith"})
            CopyFileA((ProgramFolder() + "launch_recorder.exe").c_str(),
                      (ProgramFolder() + name + ".exe").c_str(), 0);
    }
    // The command line a stand-in was started with by `command` (0: before), once one has come.
    static std::string Launch(unsigned command) {
        const std::string log = ProgramFolder() + "launches.txt";
        Command(command);
        for (int tries = 0; tries < 100 && ReadBytes(log).find('\n') == std::string::npos; ++tries)
            Sleep(100);
        Sleep(300);
        const std::string line = ReadBytes(log);
        return DeleteFileA(log.c_str()), line.substr(0, line.size() - 2);
    }
    // The value of `variable` in the environment the last stand-in started with, or "-".
    static std::string Recorded(const std::string& variable) {
        std::istringstream environment(ReadBytes(ProgramFolder() + "environment.txt"));
        for (std::string line; std::getline(environment, line);)
            if (line.starts_with(variable + "="))
                return line.substr(variable.size() + 1, line.size() - variable.size() - 2);
        return "-";
    }
};

// Another process's first visible window of class `type`, described, then closed with `button`.
static Box Await(const char* type, int button = 0) {
    HWND window = nullptr;
    for (int tries = 0; tries < 500 && !(window && IsWindowVisible(window)); ++tries)
        Sleep(20), window = FindWindowA(type, nullptr);
    const Box box = window ? Describe(window) : Box{};
    PostMessageA(button ? window : nullptr, WM_COMMAND, button, 0);
    for (int tries = 0; button && IsWindow(window) && tries < 250; ++tries)
        Sleep(20);
    return box;
}

TEST_F(InSuite, SettingsFirstRunAndInstallationWarning) {
    const auto starts = [&](std::string folder, const char* flag, std::string boxes,
                            const char* after) {
        RegDeleteTreeA(HKEY_LOCAL_MACHINE, kSuiteKey);
        folder == "-" ? void() : SetValue(kSuiteKey, "Tessarine", folder);
        *flag == '-' ? void() : SetValue(kOwnKey, "EersteKeer", flag);
        std::string shown = "-"; // the flag while the greeting shows
        answers = {[&](HWND box) { shown = Value(kOwnKey, "EersteKeer"), Press(IDCANCEL)(box); }};
        Editor editor;
        // The warning has no owner, but keeps the user out of the main window.
        const Box warning("Error", InstallationWarningText(), std::vector{-IDOK}, nullptr,
                          LoadIconA(nullptr, IDI_WARNING));
        for (const Box& box : Take())
            shown += "|" + box.caption + (box.caption == "Error" && !(box == warning) ? "?" : "");
        EXPECT_EQ(Value(kOwnKey, "EersteKeer") + "|" + shown + "|" +
                      SuiteSettings.ProgramDirectory + Status(0),
                  after + boxes + "|" + (folder.size() > 255 || folder == "-" ? "" : folder) +
                      "(Unsaved)");
    };
    starts("C:\\Velkaro", "-", "|-", "-");
    starts("C:\\Velkaro", "1", "||First time", ""); // cleared before the greeting shows
    starts("C:\\Velkaro", "", "|-", "");
    starts("C:\\Velkaro", "12345", "|-", "12345");       // too long for its 4-byte read
    starts(std::string(256, 'p'), "-", "|-|Error", "-"); // too long for its 256
    starts("-", "-", "|-|Error", "-");
}

TEST_F(InSuite, GreetingAndAbout) {
    SetValue(kOwnKey, "EersteKeer", "1");
    answers = {Press(IDC_SECOND_BUTTON), Press(IDCANCEL),
               [](HWND greeting) { PostMessageA(greeting, WM_KEYDOWN, VK_RETURN, 0); }};
    Editor editor;
    Command(CMD_ABOUT);
    RunFirstRunDialog();
    std::string texts;
    for (const Box& box : Take())
        texts += box.caption + "|" + box.text + (box.owner == MainWindow ? "\n" : "?\n");
    const std::string greeting = "First time|*Welcome!|This is the first time you started "
                                 "Scribane. Would you like a quick introduction to the "
                                 "programme?|Yes|No\n";
    EXPECT_EQ(texts + Launch(0), // only Enter opens the quick introduction
              greeting +
                  "About|*Scribane v2.0.11|Create your own INF-files or just edit plain text|Made "
                  "by Ostrik|From Velkaro|velkaro.example|Over\n" +
                  greeting + "Hh.exe C:\\Velkaro\\Vellumdoc.chm::/INF/QuickStart.htm");
}

TEST_F(InSuite, ProgrammesMenuAndLaunches) {
    // In order, never the editor itself though installed; a value too long to read leaves its
    // tool out of the menu. Each tool starts with its own command line, never as a program of its
    // name in the current folder (which would log beside itself there).
    for (const auto& [name, path] : {std::pair{"Lexorith", "C:\\" + std::string(252, 'l')},
                                     {"Brasquel", ""s},
                                     {"Terracant", "C:\\T"s},
                                     {"Huevellan", "C:\\" + std::string(297, 'h')}}) {
        SetValue(kSuiteKey, name, path);
        SetValue(kSuiteKey, (name + " Prog"s).c_str(),
                 CharLowerA(std::string(name).data()) + " -"s + name[0]);
    }
    Editor editor;
    CopyFileA((ProgramFolder() + "launch_recorder.exe").c_str(), Path("planted.exe").c_str(), 0);
    SetValue(kSuiteKey, "Terracant Prog", "planted -P"), SetCurrentDirectoryA(folder.c_str());
    Command(591), SetValue(kSuiteKey, "Terracant Prog", "terracant -T");
    const std::string bar = MenuText(GetMenu(MainWindow));
    const size_t at = bar.find("}&Programmes{") + 13;
    std::string launched = bar.substr(at, bar.find("}&Help{") - at) + "\n";
    for (unsigned command : {591, 592, 593, 594, CMD_HELP, CMD_WEB_SITE})
        launched += Launch(command) + "|";
    EXPECT_EQ(
        launched + std::to_string(seen.size()) + ReadBytes(Path("launches.txt")),
        "591 Terracant|593 Brasquel|594 Lexorith|\nterracant -T|huevellan -H|brasquel -B|"
        "lexorith -L|Hh.exe C:\\Velkaro\\Vellumdoc.chm|Explorer.exe http://velkaro.example/|0");
}

TEST_F(InSuite, ASiblingToolStartsWithTheEditorsEnvironmentAsItIs) {
    SetValue(kSuiteKey, "Terracant", "C:\\T");
    SetValue(kSuiteKey, "Terracant Prog", "terracant -T");
    SetEnvironmentVariableA("ScribaneTestMarker", "set by the test");
    DeleteFileA((ProgramFolder() + "environment.txt").c_str());
    Editor editor;
    EXPECT_EQ(Launch(591), "terracant -T");
    EXPECT_EQ(Recorded("ScribaneTestMarker"), "set by the test");
    EXPECT_EQ(Recorded("NoDefaultCurrentDirectoryInExePath"), "-");
    SetEnvironmentVariableA("ScribaneTestMarker", nullptr);
}

TEST_F(InSuite, TheInstallerAndTheProgramItInstalls) {
    const std::string setup = ProgramFolder() + "..\\dist\\scribane-2.0.11-setup.exe",
                      target = "C:\\Velkaro Test", exe = target + "\\scribane.exe",
                      draft = Path("draft.txt");
    if (GetFileAttributesA(setup.c_str()) == INVALID_FILE_ATTRIBUTES)
        GTEST_SKIP() << "no installer was built (makensis or chmcmd missing)";
    const std::string verb = "Software\\Classes\\SystemFileAssociations\\.inf\\shell\\",
                      other = verb + "Other";
    const auto values = [&] {
        std::string text = Value(kSuiteKey, "Tessarine") + "|" + Value(kOwnKey, "EersteKeer") +
                           "|" + Value(kOwnKey, "a") + "|" + Value(kSuiteKey, "Huevellan Prog");
        for (std::string key :
             {verb + "EditWithScribane", verb + "EditWithScribane\\command", other})
            text += "|" + Value(key.c_str(), "");
        return text;
    };
    // Starts `program` with `arguments`, does `use`, and sees it end with exit code 0.
    const auto runs = [](std::string program, std::string arguments, std::function<void()> use) {
        STARTUPINFOA startup{};
        startup.cb = sizeof startup;
        PROCESS_INFORMATION process{};
        DWORD code = STILL_ACTIVE;
        CreateProcessA(program.c_str(), ("\"" + program + "\" " + arguments).data(), nullptr,
                       nullptr, FALSE, 0, nullptr, nullptr, &startup, &process);
        use(), WaitForSingleObject(process.hProcess, 60000);
        EXPECT_TRUE(GetExitCodeProcess(process.hProcess, &code) && !code) << program;
        CloseHandle(process.hProcess), CloseHandle(process.hThread);
    };
    RegDeleteTreeA(HKEY_LOCAL_MACHINE, kSuiteKey);
    // A sibling tool and another program's verb stay as they are.
    SetValue(kSuiteKey, "Huevellan Prog", "huevellan.exe");
    SetValue(other.c_str(), "", "Other");
    runs(setup, "/S /D=" + target, [] {});
    EXPECT_EQ(FolderContents(target), (std::vector<std::string>{"Uninstall Scribane.exe",
                                                                "Vellumdoc.chm", "scribane.exe"}));
    EXPECT_EQ(values(),
              target + "|1|-|huevellan.exe|Edit with Scribane|\"" + exe + "\" \"%1\"|Other");
    HKEY userClasses = nullptr; // the verb is the machine's, not the installing user's
    EXPECT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, "Software\\Classes\\SystemFileAssociations\\.inf", 0,
                            KEY_READ, &userClasses),
              ERROR_FILE_NOT_FOUND);
    // The first start greets; closing over modified text asks, and goes on after Cancel.
    WriteBytes(draft, "draft");
    runs(exe, "\"" + draft + "\"", [&] {
        std::string closing = Await("#32770", IDCANCEL).caption;
        HWND window = FindWindowA("Scribane", nullptr);
        for (int tries = 0; tries < 250 && Describe(window).caption == "Scribane"; ++tries)
            Sleep(20); // the file loads once the greeting has gone
        closing += "|" + Describe(window).caption;
        SendMessageA(FindWindowExA(window, nullptr, "Edit", nullptr), WM_CHAR, '!', 0);
        for (int button : {IDCANCEL, IDYES})
            PostMessageA(window, WM_CLOSE, 0, 0), closing += "|" + Await("#32770", button).caption;
        EXPECT_EQ(closing, "First time|draft.txt - Scribane|Save text|Save text");
    });
    SetValue(kOwnKey, "a", "C:\\L\\one.inf"); // the user's recent list is the user's
    runs(target + "\\Uninstall Scribane.exe", "/S _?=" + target, [] {});
    EXPECT_EQ(FolderContents(target),
              std::vector<std::string>{"Uninstall Scribane.exe"}); // run in place, it stays
    EXPECT_EQ(ReadBytes(draft) + "|" + values(),
              "!draft|-|-|C:\\L\\one.inf|huevellan.exe|-|-|Other");
    RegDeleteTreeA(HKEY_LOCAL_MACHINE, other.c_str());
}
