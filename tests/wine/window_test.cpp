// The main window: a snapshot of it and its menus as it starts, its procedure with the edit
// commands and the date stamp, Find, and the shortcut keys.
#include "support/harness.h"

struct Window : Suite {
    static std::string Selection() {
        DWORD start = 0, end = 0;
        SendMessageA(EditorControl, EM_GETSEL, WPARAM(&start), LPARAM(&end));
        return std::to_string(start) + "-" + std::to_string(end);
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
    SendMessageA(EditorControl, WM_CHAR, 'x', 0);
    EXPECT_EQ(Status(1), "\tModified");
    Put("hello world", false);
    Edits(0, 6, CMD_CUT, "world 0-0+");
    Edits(5, 5, CMD_PASTE, "worldhello  11-11+");
    Edits(0, 0, CMD_UNDO, "world 5-5+");
    Edits(0, 3, CMD_DELETE, "ld 0-0+");
    Put(Text(), false);
    for (unsigned id :
         {0u, 100u, 110u, 120u, 135u, 596u, unsigned(CMD_SELECT_ALL)}) // only the last acts
        Edits(1, 2, id, id == CMD_SELECT_ALL ? "ld 0-2" : "ld 1-2");
    Put(std::string(100000, 'x'), false); // past the control's own limit of about 30,000
    SendMessageA(EditorControl, WM_CHAR, 'a', 0);
    EXPECT_EQ(GetWindowTextLengthA(EditorControl), 100001);
    // The stamp is the local time, here in a zone where a stamp in UTC shows.
    TIME_ZONE_INFORMATION zone{};
    ASSERT_NE(GetTimeZoneInformation(&zone) == TIME_ZONE_ID_INVALID ? 0 : zone.Bias, 0)
        << "scripts/test sets TZ";
    const auto stamp = [](SYSTEMTIME t) {
        GetLocalTime(&t);
        return "[" +
               FormatDateTimeStamp({t.wDay, t.wMonth, t.wYear, t.wHour, t.wMinute, t.wSecond}) +
               "]";
    };
    Put("[old]", false);
    SendMessageA(EditorControl, EM_SETSEL, 1, 4);
    const std::string before = stamp({});
    Command(CMD_DATE_TIME);
    EXPECT_TRUE((Text() == before || Text() == stamp({})) && Modified()) << Text();
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
