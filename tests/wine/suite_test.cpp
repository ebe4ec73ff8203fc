// The main window, its commands and keys; the editor in its suite and the programs it starts.
#include "support/harness.h"

struct Window : EditorTest {
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

// Started on a level description named relative to the current folder, with a recent list and
// sibling tools installed: every menu item with its identifier and caption, the title, both status
// texts and the text.
TEST_F(Window, AtStartUpTheUserSeesTheMenusTheFileAndItsName) {
    SetCurrentDirectoryA(folder.c_str());
    WriteBytes(Path("X.INF"), "\x11\0\0\0abc\0"s);
    SetValue(kOwnKey, "a", "C:\\L\\R&D notes.txt");
    SetValue(kSuiteKey, "Terracant", "C:\\Velkaro");
    SetValue(kSuiteKey, "Brasquel", "C:\\" + std::string(297, 'b')); // too long to read
    SetValue(kSuiteKey, "Lexorith", "C:\\Velkaro");
    Editor editor("scribane.exe X.INF");
    std::vector<std::string> screen;
    const HMENU bar = GetMenu(MainWindow);
    for (int popup = 0; popup < GetMenuItemCount(bar); ++popup) {
        screen.push_back(MenuItems(bar)[popup] + ":");
        for (const std::string& item : MenuItems(GetSubMenu(bar, popup)))
            screen.back() += " " + item + ",";
    }
    screen.push_back("title: " + Title());
    screen.push_back("status: " + Status(0) + "|" + Status(1));
    screen.push_back("text: " + Text());
    EXPECT_EQ(screen,
              (std::vector<std::string>{
                  "&File: 101 &New, 102 &Open..., 103 Save &as..., 105 &Save, ---, 106 X.INF, 107 "
                  "R&&D notes.txt, 108 (Empty) grayed, 109 (Empty) grayed, ---, 104 &Exit,",
                  "&Edit: 111 &Undo\bCtrl+Z, ---, 112 &Cut\bCtrl+X, 113 &Copy\bCtrl+C, 114 "
                  "&Paste\bCtrl+V, ---, 115 &Delete\bDel, 116 Date and &time, ---, 117 "
                  "&Find...\bCtrl+F, 118 Find &next\bF3, 119 Select &all\bCtrl+A,",
                  "&Programmes: 591 Terracant, 594 Lexorith,",
                  "&Help: 131 &About, 132 &Quick introduction, 133 &Velkaro online, 134 &Help,",
                  "title: X.INF - Scribane", "status:  " + Path("X.INF") + "|\t", "text: abc"}));
}

// One search, step by step, in the text as shown, from its end: "?" is not the character the code
// page lacks. Without memory for a copy of the text, it says so.
TEST_F(Window, FindStartsAtTheTopAndFindNextGoesOnAndWraps) {
    Editor editor;
    const std::string dialog = "Find: Search for the text:||Find|Find next|Cancel";
    SetWindowTextW(EditorControl, L"\u4E00ne two one two");
    SendMessageA(EditorControl, EM_SETSEL, 15, 15);
    EXPECT_TRUE(Find("two")); // finds from the top
    EXPECT_EQ(Selection(), "4-7");
    EXPECT_TRUE(Key(MainWindow, VK_F3, false)); // finds the next
    EXPECT_EQ(Selection(), "12-15");
    Command(CMD_FIND_NEXT); // wraps at the end
    EXPECT_EQ(Selection(), "4-7");
    EXPECT_TRUE(Find("Two")); // case counts
    EXPECT_TRUE(Find("?"));
    EXPECT_EQ(Selection(), "4-7");
    FileCalls.Allocate = [](size_t) -> void* { return nullptr; };
    Command(CMD_FIND_NEXT);
    EXPECT_EQ(Take(), (std::vector<std::string>{dialog, dialog, "Find: Cannot find \"Two\".",
                                                dialog, "Find: Cannot find \"?\".",
                                                "Find: There is not enough memory to search this "
                                                "text."}));
}

TEST_F(Window, ShortcutKeysInTheEditorRunTheirCommandsOnlyWithCtrl) {
    WriteBytes(Path("named.txt"), "old");
    Editor editor("scribane.exe \"" + Path("named.txt") + "\"");
    Put("new", true);
    EXPECT_TRUE(Key(EditorControl, 'S', true)); // saves the named text without a dialog
    EXPECT_EQ(ReadBytes(Path("named.txt")), "new");
    EXPECT_EQ(Take(), std::vector<std::string>{});
    EXPECT_TRUE(Key(EditorControl, 'O', true)); // the Open dialog, cancelled
    EXPECT_TRUE(Key(EditorControl, 'A', true));
    EXPECT_EQ(Selection(), "0-3");
    EXPECT_TRUE(Key(EditorControl, 'N', true));
    EXPECT_EQ(Text(), "");
    EXPECT_FALSE(Key(EditorControl, 'S', false));
    EXPECT_FALSE(Key(StatusBar, 'S', true));
}

// Typed through the message loop, a character reaches the editor whole, whatever the code page
// holds, and past the control's own limit of about 30,000 characters.
TEST_F(Window, TypingGoesThroughTheLoopWholeAndPastTheControlsOwnLimit) {
    WriteBytes(Path("long.txt"), std::string(30000, 'a'));
    Editor editor("scribane.exe \"" + Path("long.txt") + "\"");
    SendMessageW(EditorControl, EM_SETSEL, 30000, 30000);
    PostMessageW(EditorControl, WM_CHAR, 0x0101, 0);
    PostQuitMessage(0);

    RunMessageLoop();

    EXPECT_EQ(WideText(), std::wstring(30000, L'a') + L"\u0101");
}

// scripts/test runs Wine 5 hours 45 minutes east of UTC, so a stamp in UTC shows.
TEST_F(Window, TheDateStampReplacesTheSelectionWithTheLocalTime) {
    TIME_ZONE_INFORMATION zone{};
    GetTimeZoneInformation(&zone);
    ASSERT_EQ(zone.Bias, -345);
    Editor editor;
    char stamp[64] = "(none yet)";
    for (int tries = 0; tries < 3 && Text() != stamp; ++tries) {
        Put("[old]", false); // tried again when the clock's second turned in between
        SendMessageA(EditorControl, EM_SETSEL, 1, 4);
        SYSTEMTIME now;
        GetLocalTime(&now);
        std::snprintf(stamp, sizeof stamp, "[%u-%u-%u %u:%u:%u]", now.wDay, now.wMonth, now.wYear,
                      now.wHour, now.wMinute, now.wSecond);
        Command(CMD_DATE_TIME);
    }
    EXPECT_EQ(Text(), stamp);
}

// Recording stand-ins: tools under a folder with a blank beside a planted C:\Program.exe, Help in
// the Windows folder alone, the shell beside the editor, and planted ones in the current folder.
struct Launches : Window {
    void SetUp() override {
        Window::SetUp();
        SetEnvironmentVariableA("SCRIBANE_LAUNCHES", (ProgramFolder() + "launches.txt").c_str());
        CreateDirectoryA("C:\\Program Files\\Velkaro Test", nullptr);
        SetCurrentDirectoryA(folder.c_str());
        DeleteFileA((ProgramFolder() + "Hh.exe").c_str());
        DeleteFileA("C:\\windows\\system32\\hh.exe");
        for (const std::string& place :
             {"C:\\Program Files\\Velkaro Test\\Terracant.exe"s,
              "C:\\Program Files\\Velkaro Test\\Huevellan.exe"s,
              "C:\\Program Files\\Velkaro Test\\Brasquel.exe"s, "C:\\Program.exe"s,
              ProgramFolder() + "Explorer.exe", "C:\\windows\\hh.exe"s, "Hh.exe"s, "Explorer.exe"s,
              "planted.exe"s})
            CopyFileA((ProgramFolder() + "launch_recorder.exe").c_str(), place.c_str(), FALSE);
    }
    // What the program `command` started logged: "its path|its command line", the editor's own
    // folder left out; empty when nothing has started within three seconds.
    static std::string Launch(unsigned command) {
        const std::string log = ProgramFolder() + "launches.txt";
        DeleteFileA(log.c_str());
        Command(command);
        for (int tries = 0; tries < 30 && ReadBytes(log).find('\n') == std::string::npos; ++tries)
            Sleep(100);
        Sleep(300); // time for a second start, which would show as a second line
        std::string line = ReadBytes(log);
        if (line.starts_with(ProgramFolder()))
            line.erase(0, ProgramFolder().size());
        return line.substr(0, line.find("\r\n"));
    }
};

// The command lines registered for Terracant, Huevellan, Brasquel and Lexorith in turn, and what
// the program each menu item started logged.
struct Started {
    std::string commandLine;
    std::string logged;
};

const std::string kTools = "C:\\Program Files\\Velkaro Test\\";

const Started kStarts[] = {
    {kTools + "Terracant.exe", kTools + "Terracant.exe|" + kTools + "Terracant.exe"},
    {kTools + "Huevellan.exe -H x", kTools + "Huevellan.exe|" + kTools + "Huevellan.exe -H x"},
    {"\"" + kTools + "Brasquel.exe\" -B",
     kTools + "Brasquel.exe|\"" + kTools + "Brasquel.exe\" -B"},
    {"planted -P", ""}, // a bare name found only in the current folder starts nothing
};

TEST_F(Launches, EachProgramStartsFromWhereItIsFoundAndNeverFromTheCurrentFolder) {
    Editor editor;
    for (unsigned command = CMD_PROGRAMME_FIRST; command < CMD_PROGRAMME_LAST; ++command) {
        const Started& row = kStarts[command - CMD_PROGRAMME_FIRST];
        SCOPED_TRACE(row.commandLine);
        SetValue(kSuiteKey, FindSuiteTool(command)->PathValue, row.commandLine);
        EXPECT_EQ(Launch(command), row.logged);
    }
    EXPECT_EQ(Launch(CMD_WEB_SITE), "Explorer.exe|Explorer.exe http://velkaro.example/");
    EXPECT_EQ(Launch(CMD_HELP), "C:\\windows\\hh.exe|Hh.exe C:\\Velkaro\\Vellumdoc.chm");
}
