// The main window, its commands and keys; the editor in its suite, its programs and installer.
#include "support/harness.h"

#include <process.h>

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
    // Whether Ctrl+F was taken; types `find` into the Find dialog and presses Enter.
    bool Find(const char* find) {
        answers = {[=](HWND dialog) {
            SetDlgItemTextA(dialog, IDC_FIND_TEXT, find);
            PostMessageA(dialog, WM_KEYDOWN, VK_RETURN, 0);
        }};
        return Key(MainWindow, 'F', true);
    }
};

// One search, step by step, in "one two one two" from its end.
TEST_F(Window, FindStartsAtTheTopAndFindNextGoesOnAndWraps) {
    Editor editor;
    const HICON information = LoadIconA(nullptr, IDI_INFORMATION);
    const Box dialog{
        "Find", "Search for the text:||Find|Find next|Cancel", {1, 100, 2}, MainWindow};
    const Box notFound{"Find", "Cannot find \"Two\".", {-IDOK}, MainWindow, information};
    Put("one two one two", false);
    SendMessageA(EditorControl, EM_SETSEL, 15, 15);
    EXPECT_TRUE(Find("two")); // finds from the top
    EXPECT_EQ(Selection(), "4-7");
    EXPECT_TRUE(Key(MainWindow, VK_F3, false)); // finds the next
    EXPECT_EQ(Selection(), "12-15");
    Command(CMD_FIND_NEXT); // wraps at the end
    EXPECT_EQ(Selection(), "4-7");
    EXPECT_TRUE(Find("Two")); // case counts
    EXPECT_EQ(Selection(), "4-7");
    EXPECT_EQ(Take(), (std::vector{dialog, dialog, notFound}));
}

TEST_F(Window, ShortcutKeysInTheEditorRunTheirCommandsOnlyWithCtrl) {
    WriteBytes(Path("named.txt"), "old");
    WriteBytes(Path("other.txt"), "other");
    Editor editor("scribane.exe \"" + Path("named.txt") + "\"");
    Put("new", true);
    EXPECT_TRUE(Key(EditorControl, 'S', true)); // saves the named text without a dialog
    EXPECT_EQ(ReadBytes(Path("named.txt")), "new");
    EXPECT_TRUE(Take().empty());
    answers = {Choose(Path("other.txt"), 3)};
    EXPECT_TRUE(Key(EditorControl, 'O', true));
    EXPECT_EQ(Text(), "other");
    EXPECT_TRUE(Key(EditorControl, 'N', true));
    EXPECT_EQ(Text(), "");
    EXPECT_FALSE(Key(EditorControl, 'S', false));
    EXPECT_FALSE(Key(StatusBar, 'S', true));
}

// With recording stand-ins for Help, the shell and the tools, where the editor looks first.
struct InSuite : Suite {
    void SetUp() override {
        Suite::SetUp();
        for (auto name : {"Hh", "Explorer", "terracant", "huevellan", "brasquel", "lexorith"})
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
};

// Installed, start shows no box (every other test starts so); without the program folder it warns,
// and the editor opens all the same.
TEST_F(InSuite, StartWithoutTheProgramFolderWarnsOfTheInstallation) {
    const char* text = "Scribane isn't properly installed. Please run the installation again. If "
                       "neccessary, you can download the installation programme from "
                       "http://velkaro.example/";
    RegDeleteTreeA(HKEY_LOCAL_MACHINE, kSuiteKey);
    Editor editor;
    EXPECT_EQ(Take(), (std::vector<Box>{
                          {"Error", text, {-IDOK}, nullptr, LoadIconA(nullptr, IDI_WARNING)}}));
    EXPECT_EQ(Status(0), "(Unsaved)");
}

// The greeting answered No at start, About, then the greeting again answered with Enter.
TEST_F(InSuite, TheGreetingClearsTheFlagFirstAndOnlyEnterOpensTheIntroductionAndAbout) {
    SetValue(kOwnKey, "EersteKeer", "1");
    std::string flagWhileGreeting = "not shown";
    answers = {[&](HWND greeting) {
                   flagWhileGreeting = Value(kOwnKey, "EersteKeer");
                   Press(IDC_SECOND_BUTTON)(greeting);
               },
               Press(IDCANCEL),
               [](HWND greeting) { PostMessageA(greeting, WM_KEYDOWN, VK_RETURN, 0); }};
    Editor editor;
    Command(CMD_ABOUT);
    RunFirstRunDialog();
    EXPECT_EQ(flagWhileGreeting, "");
    EXPECT_EQ(Launch(0), "Hh.exe C:\\Velkaro\\Vellumdoc.chm::/INF/QuickStart.htm");
    const char* welcome = "*Welcome!|This is the first time you started Scribane. Would you like a "
                          "quick introduction to the programme?|Yes|No";
    const Box greeting{"First time", welcome, {1, 2}, MainWindow};
    const std::vector<Box> boxes = Take();
    ASSERT_EQ(boxes.size(), 3u);
    EXPECT_EQ(boxes[0], greeting);
    EXPECT_EQ(boxes[1].caption, "About");
    EXPECT_EQ(boxes[2], greeting);
}

TEST_F(InSuite, TheProgrammesMenuAndHowEachProgramIsStarted) {
    for (const char* name : {"Terracant", "Huevellan", "Brasquel", "Lexorith"}) {
        SetValue(kSuiteKey, name, "C:\\"s + name);
        SetValue(kSuiteKey, (name + " Prog"s).c_str(),
                 CharLowerA(std::string(name).data()) + " -"s + name[0]);
    }
    SetValue(kSuiteKey, "Huevellan", "C:\\" + std::string(297, 'h')); // too long to read
    SetEnvironmentVariableA("ScribaneTestMarker", "set by the test");
    Editor editor; // installed as Tessarine, which is never listed: the tools in the suite's order
    const HMENU bar = GetMenu(MainWindow);
    EXPECT_EQ(MenuItems(bar), (std::vector<std::string>{"&File", "&Edit", "&Programmes", "&Help"}));
    EXPECT_EQ(MenuItems(GetSubMenu(bar, 2)),
              (std::vector<std::string>{"591 Terracant", "593 Brasquel", "594 Lexorith"}));
    EXPECT_EQ(Launch(591), "terracant -T");
    EXPECT_EQ(Launch(593), "brasquel -B");
    EXPECT_EQ(Launch(594), "lexorith -L");
    EXPECT_EQ(Launch(CMD_HELP), "Hh.exe C:\\Velkaro\\Vellumdoc.chm"); // on its first page
    EXPECT_EQ(Launch(CMD_WEB_SITE), "Explorer.exe http://velkaro.example/");
    const std::string environment = ReadBytes(ProgramFolder() + "environment.txt");
    EXPECT_NE(environment.find("ScribaneTestMarker=set by the test\r\n"), std::string::npos);
    EXPECT_EQ(environment.find("NoDefaultCurrentDirectoryInExePath"), std::string::npos);
    SetEnvironmentVariableA("ScribaneTestMarker", nullptr);
    // A program in the current folder, perhaps brought by a downloaded level, is never started.
    CopyFileA((ProgramFolder() + "launch_recorder.exe").c_str(), Path("planted.exe").c_str(), 0);
    SetCurrentDirectoryA(folder.c_str());
    SetValue(kSuiteKey, "Terracant Prog", "planted -P");
    Command(591);
    // Huevellan starts though left out of the menu, and by then the planted one would have logged.
    EXPECT_EQ(Launch(592), "huevellan -H");
    EXPECT_EQ(ReadBytes(Path("launches.txt")), "");
}

TEST_F(InSuite, TheInstallerAndTheProgramItInstalls) {
    const std::string setup = ProgramFolder() + "..\\dist\\scribane-2.0.11-setup.exe";
    if (GetFileAttributesA(setup.c_str()) == INVALID_FILE_ATTRIBUTES)
        GTEST_SKIP() << "no installer was built (makensis or chmcmd missing)";
    const std::string target = "C:\\Velkaro Test";
    const std::string verb = "Software\\Classes\\SystemFileAssociations\\.inf\\shell\\";
    SetValue((verb + "Other").c_str(), "", "Other"); // another program's verb, which stays
    EXPECT_EQ(_spawnl(_P_WAIT, setup.c_str(), "setup", "/S", ("/D=" + target).c_str(), nullptr), 0);
    EXPECT_EQ(FolderContents(target), (std::vector<std::string>{"Uninstall Scribane.exe",
                                                                "Vellumdoc.chm", "scribane.exe"}));
    EXPECT_EQ(Value(kSuiteKey, "Tessarine"), "C:\\Velkaro Test");
    EXPECT_EQ(Value(kOwnKey, "EersteKeer"), "1");
    EXPECT_EQ(Value((verb + "EditWithScribane").c_str(), ""), "Edit with Scribane");
    EXPECT_EQ(Value((verb + "EditWithScribane\\command").c_str(), ""),
              "\"C:\\Velkaro Test\\scribane.exe\" \"%1\"");
    // Machine-wide, never in the installing user's own classes.
    EXPECT_EQ(Value((verb + "EditWithScribane").c_str(), "", HKEY_CURRENT_USER), "-");
    SetValue(kOwnKey, "EersteKeer", ""); // no greeting: it has a test of its own
    const intptr_t editor =
        _spawnl(_P_NOWAIT, (target + "\\scribane.exe").c_str(), "scribane", nullptr);
    WaitForInputIdle(HANDLE(editor), 10000);
    HWND window = FindWindowA("Scribane", nullptr);
    EXPECT_EQ(TextOf(window), "Scribane");
    PostMessageA(window, WM_CLOSE, 0, 0);
    int code = -1;
    _cwait(&code, editor, _WAIT_CHILD);
    EXPECT_EQ(code, 0);
    SetValue(kOwnKey, "a", "C:\\L\\one.inf"); // the user's recent list is the user's
    EXPECT_EQ(_spawnl(_P_WAIT, (target + "\\Uninstall Scribane.exe").c_str(), "uninstall", "/S",
                      ("_?=" + target).c_str(), nullptr),
              0);
    EXPECT_EQ(FolderContents(target),
              std::vector<std::string>{"Uninstall Scribane.exe"}); // run in place, it stays
    EXPECT_EQ(Value(kSuiteKey, "Tessarine"), "-");
    EXPECT_EQ(Value(kOwnKey, "EersteKeer"), "-");
    EXPECT_EQ(Value(kOwnKey, "a"), "C:\\L\\one.inf");
    EXPECT_EQ(Value((verb + "EditWithScribane").c_str(), ""), "-");
    EXPECT_EQ(Value((verb + "EditWithScribane\\command").c_str(), ""), "-");
    EXPECT_EQ(Value((verb + "Other").c_str(), ""), "Other");
    RegDeleteTreeA(HKEY_LOCAL_MACHINE, (verb + "Other").c_str());
}
