// The main window as it starts, its commands, Find and the shortcut keys; the editor in its suite:
// the settings and first-run flag, the greeting, About, the Programmes menu, the programs it
// starts, and the installer with the program it installs.
#include "support/harness.h"

#include <sstream>

// A box as a failure message shows it.
void PrintTo(const Box& box, std::ostream* out) {
    *out << "{" << box.caption << " | " << box.text << " | " << testing::PrintToString(box.buttons)
         << " | owner " << box.owner << " | icon " << box.icon << " | main window "
         << (box.mainWindowEnabled ? "enabled}" : "disabled}");
}

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
    // Types `find` into the Find dialog and presses `button`, or Enter for 0.
    static Answer Search(const char* find, int button) {
        return [=](HWND dialog) {
            SetDlgItemTextA(dialog, IDC_FIND_TEXT, find);
            PostMessageA(dialog, button ? WM_COMMAND : WM_KEYDOWN, button ? button : VK_RETURN, 0);
        };
    }
};

TEST_F(Window, StartsAsTheUserSeesIt) {
    Editor editor;
    EXPECT_EQ(Title(), "Scribane");
    EXPECT_EQ(Status(0), "(Unsaved)");
    EXPECT_EQ(Status(1), "");
    EXPECT_EQ(GetWindowLongA(MainWindow, GWL_STYLE), 0x14cf0000);
    EXPECT_EQ(GetWindowLongA(MainWindow, GWL_EXSTYLE), 0x110);
    WNDCLASSA type{};
    GetClassInfoA(ModuleInstance, "Scribane", &type);
    EXPECT_EQ(type.style, 3u);
    int parts[3] = {};
    const int count = int(SendMessageA(StatusBar, SB_GETPARTS, 3, LPARAM(parts)));
    EXPECT_EQ(std::vector(parts, parts + count), std::vector({400, -1}));
    EXPECT_EQ(GetDlgCtrlID(EditorControl), 0);
    EXPECT_EQ(GetWindowLongA(EditorControl, GWL_STYLE), 0x50300004);
    EXPECT_EQ(GetWindowLongA(EditorControl, GWL_EXSTYLE), 0x200);
    EXPECT_EQ(GetFocus(), EditorControl);
    LOGFONTA font{};
    GetObjectA(HFONT(SendMessageA(EditorControl, WM_GETFONT, 0, 0)), sizeof font, &font);
    EXPECT_STREQ(font.lfFaceName, "Verdana");
    EXPECT_EQ(font.lfHeight, 16);
    EXPECT_EQ(
        MenuText(GetMenu(MainWindow)),
        "&File{101 &New|102 &Open...|103 Save &as...|105 &Save|---|100 (Recent files) grayed|"
        "---|104 &Exit|}&Edit{111 &Undo\bCtrl+Z|---|112 &Cut\bCtrl+X|113 &Copy\bCtrl+C|114 "
        "&Paste\bCtrl+V|---|115 &Delete\bDel|116 Date and &time|---|117 &Find...\bCtrl+F|118 "
        "Find &next\bF3|119 Select &all\bCtrl+A|}&Help{131 &About|132 &Quick introduction|133 "
        "&Velkaro online|134 &Help|}");
}

// Where the editor and the status bar moved is repainted: the corner between the editor's scroll
// bars and the status bar's far end are not left black.
TEST_F(Window, MaximizedTheEditorAndTheStatusBarFillTheWindowAndRepaint) {
    Editor editor;
    ShowWindow(MainWindow, SW_MAXIMIZE);
    for (MSG message; PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE);)
        DispatchMessageA(&message);
    RECT area, edit, status;
    GetClientRect(MainWindow, &area);
    GetWindowRect(EditorControl, &edit);
    GetWindowRect(StatusBar, &status);
    MapWindowPoints(nullptr, MainWindow, LPPOINT(&edit), 2);
    MapWindowPoints(nullptr, MainWindow, LPPOINT(&status), 2);
    EXPECT_TRUE(IsZoomed(MainWindow));
    EXPECT_EQ(std::vector({edit.left, edit.top, edit.right, edit.bottom}),
              std::vector({0L, 0L, area.right, status.top}));
    EXPECT_EQ(status.bottom, area.bottom);
    HDC screen = GetDC(MainWindow);
    EXPECT_EQ(GetPixel(screen, edit.right - 8, status.top - 8), RGB(245, 245, 245));
    EXPECT_EQ(GetPixel(screen, area.right - 30, (status.top + area.bottom) / 2),
              RGB(245, 245, 245));
    EXPECT_EQ(GetPixel(screen, edit.right / 2, status.top / 2), RGB(255, 255, 255));
    ReleaseDC(MainWindow, screen);
}

TEST_F(Window, TypingPastTheControlsOwnLimitKeepsEveryCharacterAndMarksTheTextModified) {
    Editor editor;
    Put(std::string(100000, 'x'), false); // the control's own limit is about 30,000
    SendMessageA(EditorControl, WM_CHAR, 'a', 0);
    EXPECT_EQ(GetWindowTextLengthA(EditorControl), 100001);
    EXPECT_EQ(Status(1), "\tModified");
}

TEST_F(Window, EditCommandsActOnTheSelectionAndOtherNumbersDoNothing) {
    struct Row {
        std::string name;
        int start, end; // the selection in "hello world"
        std::vector<unsigned> commands;
        std::string text, selection;
        bool modified;
    };
    const Row rows[] = {
        {"Cut", 0, 6, {CMD_CUT}, "world", "0-0", true},
        {"Paste", 0, 6, {CMD_CUT, CMD_PASTE, CMD_PASTE}, "hello hello world", "12-12", true},
        {"Undo", 0, 6, {CMD_CUT, CMD_UNDO}, "hello world", "0-6", true},
        {"Delete", 0, 3, {CMD_DELETE}, "lo world", "0-0", true},
        {"Select all", 1, 2, {CMD_SELECT_ALL}, "hello world", "0-11", false},
        // Beside the menus' own: none, the grayed (Recent files), the Edit menu's neighbours,
        // past Help, past the last tool.
        {"no command", 1, 2, {0, 100, 110, 120, 135, 596}, "hello world", "1-2", false},
    };
    Editor editor;
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        Put("hello world", false);
        SendMessageA(EditorControl, EM_SETSEL, row.start, row.end);
        for (unsigned command : row.commands)
            Command(command);
        EXPECT_EQ(Text(), row.text);
        EXPECT_EQ(Selection(), row.selection);
        EXPECT_EQ(Modified(), row.modified);
    }
}

TEST_F(Window, TheDateStampReplacesTheSelectionWithTheLocalTime) {
    TIME_ZONE_INFORMATION zone{};
    GetTimeZoneInformation(&zone);
    ASSERT_NE(zone.Bias, 0) << "scripts/test sets TZ, so that a stamp in UTC shows";
    Editor editor;
    char stamp[64] = "";
    for (int tries = 0; tries < 3 && Text() != "[" + std::string(stamp) + "]"; ++tries) {
        Put("[old]", false); // tried again when the clock's second turned in between
        SendMessageA(EditorControl, EM_SETSEL, 1, 4);
        SYSTEMTIME t;
        GetLocalTime(&t);
        std::snprintf(stamp, sizeof stamp, "%u-%u-%u %u:%u:%u", t.wDay, t.wMonth, t.wYear, t.wHour,
                      t.wMinute, t.wSecond);
        Command(CMD_DATE_TIME);
    }
    EXPECT_EQ(Text(), "[" + std::string(stamp) + "]");
    EXPECT_TRUE(Modified());
    Command(CMD_UNDO);
    EXPECT_EQ(Text(), "[old]");
    EXPECT_TRUE(Take().empty());
}

// One search, step by step, in "one two one two" from its end.
TEST_F(Window, FindStartsAtTheTopAndFindNextGoesOnWrappingOnce) {
    Editor editor;
    const HICON information = LoadIconA(nullptr, IDI_INFORMATION);
    const char* noText = "There is no text to search for. Choose Find... in the Edit menu and type "
                         "the text to find.";
    const Box nothing{"Find", noText, {-IDOK}, MainWindow, information};
    const Box dialog{
        "Find", "Search for the text:||Find|Find next|Cancel", {1, 100, 2}, MainWindow};
    const Box notFound{"Find", "Cannot find \"Two\".", {-IDOK}, MainWindow, information};
    struct Row {
        std::string name;
        WORD key; // pressed in the main window, or 0 to send `command`
        unsigned command;
        Answer answer;
        std::string selection;
        std::vector<Box> boxes;
    };
    const Row rows[] = {
        {"F3 with nothing to find says so", VK_F3, 0, nullptr, "15-15", {nothing}},
        {"Ctrl+F, then Enter, finds from the top", 'F', 0, Search("two", 0), "4-7", {dialog}},
        {"F3 finds the next", VK_F3, 0, nullptr, "12-15", {}},
        {"Find next wraps once at the end", 0, CMD_FIND_NEXT, nullptr, "4-7", {}},
        {"Find next in Find goes on", 0, CMD_FIND, Search("one", IDC_FIND_NEXT), "8-11", {dialog}},
        {"Cancel leaves the selection", 0, CMD_FIND, Search("two", IDCANCEL), "8-11", {dialog}},
        {"Cancel kept the last search", 0, CMD_FIND_NEXT, nullptr, "0-3", {}},
        {"case counts", 0, CMD_FIND, Search("Two", IDC_FIRST_BUTTON), "0-3", {dialog, notFound}},
    };
    Put("one two one two", false);
    SendMessageA(EditorControl, EM_SETSEL, 15, 15);
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        if (row.answer)
            answers = {row.answer};
        if (row.key)
            EXPECT_TRUE(Key(MainWindow, row.key, row.key == 'F'));
        else
            Command(row.command);
        EXPECT_EQ(Selection(), row.selection);
        EXPECT_EQ(Take(), row.boxes);
    }
}

TEST_F(Window, CtrlOCtrlAAndCtrlNInTheEditorRunTheirCommands) {
    struct Row {
        std::string name;
        WORD key;
        std::string text, selection;
    };
    const Row rows[] = {
        {"Ctrl+O opens a file", 'O', "other", "0-0"},
        {"Ctrl+A selects all", 'A', "one", "0-3"},
        {"Ctrl+N starts a new text", 'N', "", "0-0"},
    };
    WriteBytes(Path("other.txt"), "other");
    Editor editor;
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        Put("one", false);
        answers = {Choose(Path("other.txt"), 3)};
        EXPECT_TRUE(Key(EditorControl, row.key, true));
        EXPECT_EQ(Text(), row.text);
        EXPECT_EQ(Selection(), row.selection);
    }
}

TEST_F(Window, KeysWithoutCtrlOrOutsideTheEditorAreNoShortcuts) {
    Editor editor;
    EXPECT_FALSE(Key(EditorControl, 'S', false));
    EXPECT_FALSE(Key(StatusBar, 'S', true));
}

TEST_F(Window, CtrlSOnANewTextAsksForAFileAndSavesIt) {
    Editor editor;
    Put("one two", true);
    answers = {Choose(Path("saved.txt"), 3)};
    EXPECT_TRUE(Key(EditorControl, 'S', true));
    EXPECT_EQ(ReadBytes(Path("saved.txt")), "one two");
    EXPECT_EQ(Take().size(), 1u);
}

TEST_F(Window, CtrlSOnANamedTextSavesItWithoutADialog) {
    WriteBytes(Path("named.txt"), "old");
    Editor editor("scribane.exe \"" + Path("named.txt") + "\"");
    Put("new", true);
    EXPECT_TRUE(Key(EditorControl, 'S', true));
    EXPECT_EQ(ReadBytes(Path("named.txt")), "new");
    EXPECT_TRUE(Take().empty());
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
        Sleep(300); // time for a second start, which would show as a second line
        const std::string line = ReadBytes(log);
        DeleteFileA(log.c_str());
        return line.substr(0, line.size() - 2); // without its CR LF
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

TEST_F(InSuite, TheSettingsAndTheFirstRunFlagDecideWhatShowsAtStart) {
    struct Row {
        std::string name;
        std::string folder, flag; // the program folder and the first-run flag, "-" for none
        std::vector<std::string> captions;
        std::string flagAfter, programDirectory;
    };
    const Row rows[] = {
        {"installed", "C:\\Velkaro", "-", {}, "-", "C:\\Velkaro"},
        {"the flag greets, cleared", "C:\\Velkaro", "1", {"First time"}, "", "C:\\Velkaro"},
        {"an empty flag", "C:\\Velkaro", "", {}, "", "C:\\Velkaro"},
        {"a flag too long for 4 bytes", "C:\\Velkaro", "12345", {}, "12345", "C:\\Velkaro"},
        {"a folder too long for 256", std::string(256, 'p'), "-", {"Error"}, "-", ""},
        {"no folder", "-", "-", {"Error"}, "-", ""},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        RegDeleteTreeA(HKEY_LOCAL_MACHINE, kSuiteKey);
        if (row.folder != "-")
            SetValue(kSuiteKey, "Tessarine", row.folder);
        if (row.flag != "-")
            SetValue(kOwnKey, "EersteKeer", row.flag);
        Editor editor;
        std::vector<std::string> captions;
        for (const Box& box : Take())
            captions.push_back(box.caption);
        EXPECT_EQ(captions, row.captions);
        EXPECT_EQ(Value(kOwnKey, "EersteKeer"), row.flagAfter);
        EXPECT_EQ(SuiteSettings.ProgramDirectory, row.programDirectory);
        EXPECT_EQ(Status(0), "(Unsaved)");
    }
}

// It has no owner, but the main window waits until it is answered.
TEST_F(InSuite, TheInstallationWarningAsTheUserSeesIt) {
    RegDeleteTreeA(HKEY_LOCAL_MACHINE, kSuiteKey);
    Editor editor;
    const char* text = "Scribane isn't properly installed. Please run the installation again. If "
                       "neccessary, you can download the installation programme from "
                       "http://velkaro.example/";
    const Box warning{"Error", text, {-IDOK}, nullptr, LoadIconA(nullptr, IDI_WARNING)};
    EXPECT_EQ(Take(), std::vector{warning});
}

TEST_F(InSuite, TheFirstRunFlagIsClearedBeforeTheGreetingShows) {
    SetValue(kOwnKey, "EersteKeer", "1");
    std::string flagWhileGreeting = "not shown";
    answers = {[&](HWND greeting) {
        flagWhileGreeting = Value(kOwnKey, "EersteKeer");
        Press(IDCANCEL)(greeting);
    }};
    Editor editor;
    EXPECT_EQ(flagWhileGreeting, "");
}

TEST_F(InSuite, OnlyEnterOnTheGreetingOpensTheQuickIntroduction) {
    SetValue(kOwnKey, "EersteKeer", "1");
    answers = {Press(IDC_SECOND_BUTTON),
               [](HWND greeting) { PostMessageA(greeting, WM_KEYDOWN, VK_RETURN, 0); }};
    Editor editor;
    RunFirstRunDialog();
    EXPECT_EQ(Launch(0), "Hh.exe C:\\Velkaro\\Vellumdoc.chm::/INF/QuickStart.htm");
    const char* text = "*Welcome!|This is the first time you started Scribane. Would you like a "
                       "quick introduction to the programme?|Yes|No";
    const Box greeting{"First time", text, {1, 2}, MainWindow};
    EXPECT_EQ(Take(), (std::vector{greeting, greeting}));
}

TEST_F(InSuite, AboutAsTheUserSeesIt) {
    Editor editor;
    Command(CMD_ABOUT);
    const char* text = "*Scribane v2.0.11|Create your own INF-files or just edit plain text|Made "
                       "by Ostrik|From Velkaro|velkaro.example|Over";
    const Box about{"About", text, {}, MainWindow};
    EXPECT_EQ(Take(), std::vector{about});
}

TEST_F(InSuite, TheProgrammesMenuListsTheInstalledSiblingToolsInTheSuitesOrder) {
    SetValue(kSuiteKey, "Lexorith", "C:\\" + std::string(252, 'l')); // fills its 256 bytes
    SetValue(kSuiteKey, "Brasquel", "");                             // installed all the same
    SetValue(kSuiteKey, "Terracant", "C:\\T");
    SetValue(kSuiteKey, "Huevellan", "C:\\" + std::string(297, 'h')); // too long to read
    Editor editor; // installed as Tessarine itself, and never listed
    char caption[32] = "";
    GetMenuStringA(GetMenu(MainWindow), 2, caption, sizeof caption, MF_BYPOSITION);
    EXPECT_STREQ(caption, "&Programmes");
    EXPECT_EQ(MenuText(GetSubMenu(GetMenu(MainWindow), 2)),
              "591 Terracant|593 Brasquel|594 Lexorith|");
}

TEST_F(InSuite, EachProgrammeAndLinkStartsWithItsOwnCommandLine) {
    struct Row {
        std::string name;
        unsigned command;
        std::string commandLine;
    };
    const Row rows[] = {
        {"Terracant", 591, "terracant -T"},
        {"Huevellan", 592, "huevellan -H"},
        {"Brasquel", 593, "brasquel -B"},
        {"Lexorith", 594, "lexorith -L"},
        {"Help, on the help file's first page", CMD_HELP, "Hh.exe C:\\Velkaro\\Vellumdoc.chm"},
        {"Velkaro online", CMD_WEB_SITE, "Explorer.exe http://velkaro.example/"},
    };
    for (const char* name : {"Terracant", "Huevellan", "Brasquel", "Lexorith"})
        SetValue(kSuiteKey, (name + " Prog"s).c_str(),
                 CharLowerA(std::string(name).data()) + " -"s + name[0]);
    Editor editor;
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(Launch(row.command), row.commandLine);
    }
    EXPECT_TRUE(Take().empty());
}

// A level opened from a downloaded folder may have brought a program named like a tool.
TEST_F(InSuite, AProgramInTheCurrentFolderIsNeverStarted) {
    SetValue(kSuiteKey, "Terracant Prog", "planted -P");
    SetValue(kSuiteKey, "Huevellan Prog", "huevellan -H");
    CopyFileA((ProgramFolder() + "launch_recorder.exe").c_str(), Path("planted.exe").c_str(), 0);
    SetCurrentDirectoryA(folder.c_str());
    Editor editor;
    Command(591);
    EXPECT_EQ(Launch(592), "huevellan -H"); // and time for the planted one to have logged
    EXPECT_EQ(ReadBytes(Path("launches.txt")), "");
}

TEST_F(InSuite, ASiblingToolStartsWithTheEditorsEnvironmentAsItIs) {
    SetValue(kSuiteKey, "Terracant Prog", "terracant -T");
    SetEnvironmentVariableA("ScribaneTestMarker", "set by the test");
    DeleteFileA((ProgramFolder() + "environment.txt").c_str());
    Editor editor;
    EXPECT_EQ(Launch(591), "terracant -T");
    EXPECT_EQ(Recorded("ScribaneTestMarker"), "set by the test");
    EXPECT_EQ(Recorded("NoDefaultCurrentDirectoryInExePath"), "-");
    SetEnvironmentVariableA("ScribaneTestMarker", nullptr);
}

// Starts `program` with `arguments`, does `use`, and sees it end with exit code 0.
static void RunToEnd(const std::string& program, const std::string& arguments,
                     const std::function<void()>& use) {
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    std::string line = "\"" + program + "\" " + arguments;
    CreateProcessA(program.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                   &startup, &process);
    use();
    WaitForSingleObject(process.hProcess, 60000);
    DWORD code = STILL_ACTIVE;
    GetExitCodeProcess(process.hProcess, &code);
    EXPECT_EQ(code, 0u) << program;
    CloseHandle(process.hProcess);
    CloseHandle(process.hThread);
}

// The caption of another process's first visible box, which is then closed with `button`.
static std::string CloseOtherBox(int button) {
    HWND box = nullptr;
    for (int tries = 0; tries < 500 && !IsWindowVisible(box); ++tries) {
        Sleep(20);
        box = FindWindowA("#32770", nullptr);
    }
    const std::string caption = TextOf(box);
    PostMessageA(box, WM_COMMAND, button, 0);
    for (int tries = 0; tries < 250 && IsWindow(box); ++tries)
        Sleep(20);
    return caption;
}

TEST_F(InSuite, TheInstallerAndTheProgramItInstalls) {
    const std::string setup = ProgramFolder() + "..\\dist\\scribane-2.0.11-setup.exe";
    if (GetFileAttributesA(setup.c_str()) == INVALID_FILE_ATTRIBUTES)
        GTEST_SKIP() << "no installer was built (makensis or chmcmd missing)";
    const std::string target = "C:\\Velkaro Test";
    const std::string verb = "Software\\Classes\\SystemFileAssociations\\.inf\\shell\\";
    RegDeleteTreeA(HKEY_LOCAL_MACHINE, kSuiteKey);
    SetValue(kSuiteKey, "Huevellan Prog", "huevellan.exe"); // a sibling tool's, which stays
    SetValue((verb + "Other").c_str(), "", "Other");        // another program's verb, which stays
    RunToEnd(setup, "/S /D=" + target, [] {});
    EXPECT_EQ(FolderContents(target), (std::vector<std::string>{"Uninstall Scribane.exe",
                                                                "Vellumdoc.chm", "scribane.exe"}));
    EXPECT_EQ(Value(kSuiteKey, "Tessarine"), "C:\\Velkaro Test");
    EXPECT_EQ(Value(kOwnKey, "EersteKeer"), "1");
    EXPECT_EQ(Value((verb + "EditWithScribane").c_str(), ""), "Edit with Scribane");
    EXPECT_EQ(Value((verb + "EditWithScribane\\command").c_str(), ""),
              "\"C:\\Velkaro Test\\scribane.exe\" \"%1\"");
    HKEY userClasses = nullptr; // the verb is the machine's, not the installing user's
    EXPECT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, "Software\\Classes\\SystemFileAssociations\\.inf", 0,
                            KEY_READ, &userClasses),
              ERROR_FILE_NOT_FOUND);
    // The first start greets; closing over changed text asks, and Cancel keeps the editor open.
    WriteBytes(Path("draft.txt"), "draft");
    RunToEnd(target + "\\scribane.exe", "\"" + Path("draft.txt") + "\"", [] {
        EXPECT_EQ(CloseOtherBox(IDCANCEL), "First time");
        HWND window = FindWindowA("Scribane", nullptr);
        for (int tries = 0; tries < 250 && TextOf(window) == "Scribane"; ++tries)
            Sleep(20); // the file loads once the greeting has gone
        EXPECT_EQ(TextOf(window), "draft.txt - Scribane");
        SendMessageA(FindWindowExA(window, nullptr, "Edit", nullptr), WM_CHAR, '!', 0);
        PostMessageA(window, WM_CLOSE, 0, 0);
        EXPECT_EQ(CloseOtherBox(IDCANCEL), "Save text");
        PostMessageA(window, WM_CLOSE, 0, 0);
        EXPECT_EQ(CloseOtherBox(IDYES), "Save text");
    });
    EXPECT_EQ(ReadBytes(Path("draft.txt")), "!draft");
    SetValue(kOwnKey, "a", "C:\\L\\one.inf"); // the user's recent list is the user's
    RunToEnd(target + "\\Uninstall Scribane.exe", "/S _?=" + target, [] {});
    EXPECT_EQ(FolderContents(target),
              std::vector<std::string>{"Uninstall Scribane.exe"}); // run in place, it stays
    EXPECT_EQ(Value(kSuiteKey, "Tessarine"), "-");
    EXPECT_EQ(Value(kOwnKey, "EersteKeer"), "-");
    EXPECT_EQ(Value(kOwnKey, "a"), "C:\\L\\one.inf");
    EXPECT_EQ(Value(kSuiteKey, "Huevellan Prog"), "huevellan.exe");
    EXPECT_EQ(Value((verb + "EditWithScribane").c_str(), ""), "-");
    EXPECT_EQ(Value((verb + "EditWithScribane\\command").c_str(), ""), "-");
    EXPECT_EQ(Value((verb + "Other").c_str(), ""), "Other");
    RegDeleteTreeA(HKEY_LOCAL_MACHINE, (verb + "Other").c_str());
}
