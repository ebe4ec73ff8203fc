// The main window: one snapshot of it and its menus as it starts, what its procedure does
// with the edit commands and the date stamp, Find, and the shortcut keys.
#include "support/harness.h"

#include <commctrl.h>

#include "app/startup.h"
#include "resources/resource_ids.h"
#include "suite/suite_settings.h"

namespace {

struct Window : Suite {
    static std::string Selection() {
        DWORD start = 0, end = 0;
        SendMessageA(EditorControl, EM_GETSEL, WPARAM(&start), LPARAM(&end));
        return std::to_string(start) + "-" + std::to_string(end);
    }
    static void Select(int start, int end) { SendMessageA(EditorControl, EM_SETSEL, start, end); }
    // Whether the message loop's own step takes `key` in `window` for a shortcut.
    static bool Key(HWND window, WORD key, bool control) {
        BYTE keys[256] = {};
        keys[VK_CONTROL] = control ? 0x80 : 0;
        SetKeyboardState(keys);
        MSG message{window, WM_KEYDOWN, key, 1, 0, {}};
        const bool taken = TranslateEditorAccelerator(message);
        keys[VK_CONTROL] = 0;
        SetKeyboardState(keys);
        return taken;
    }
    static std::string FontOf(WPARAM handle) {
        LOGFONTA font{};
        GetObjectA(HFONT(handle), sizeof font, &font);
        return font.lfFaceName + (" " + std::to_string(font.lfHeight * 1000 + font.lfWeight));
    }
};

} // namespace

TEST_F(Window, StartsAsTheUserSeesIt) {
    SetValue("SOFTWARE\\Bullfrog Productions Ltd\\Populous: The Beginning", "InstallPath", "C:\\G");
    Editor editor;
    RegDeleteTreeA(HKEY_LOCAL_MACHINE, "SOFTWARE\\Bullfrog Productions Ltd");
    WNDCLASSA type{};
    GetClassInfoA(ModuleInstance, "Scribane", &type);
    int parts[3] = {};
    const LRESULT partCount = SendMessageA(StatusBar, SB_GETPARTS, 3, LPARAM(parts));
    char look[256];
    std::snprintf(
        look, sizeof look, "%s %lx %lx|%x %d%d%d|%d %d %d %d %s%s|%d %lx %lx %d", Title().c_str(),
        GetWindowLongA(MainWindow, GWL_STYLE), GetWindowLongA(MainWindow, GWL_EXSTYLE), type.style,
        type.hbrBackground == GetStockObject(GRAY_BRUSH),
        type.hCursor == LoadCursorA(nullptr, IDC_ARROW), type.hIcon != nullptr,
        GetDlgCtrlID(StatusBar), int(partCount), parts[0], parts[1], Status(0).c_str(),
        Status(1).c_str(), GetDlgCtrlID(EditorControl), GetWindowLongA(EditorControl, GWL_STYLE),
        GetWindowLongA(EditorControl, GWL_EXSTYLE), GetFocus() == EditorControl);
    EXPECT_EQ(std::string(look),
              "Scribane 14cf0000 110|3 111|30482 2 400 -1 (Unsaved)|0 50300004 200 1");
    EXPECT_EQ(
        FontOf(SendMessageA(EditorControl, WM_GETFONT, 0, 0)) + "|" +
            FontOf(WPARAM(SuiteSettings.BoldFont)) + "|" + SuiteSettings.SuiteName + " " +
            SuiteSettings.ProgramKeyPath + " " + SuiteSettings.ProgramDirectory + " " +
            SuiteSettings.GameDirectory + " " + std::to_string(SuiteSettings.FirstRun) +
            std::to_string(!SuiteSettings.DocumentsDirectory.empty()),
        "Verdana 16400|Tahoma 16700|Tessarine SOFTWARE\\Velkaro\\Tessarine C:\\Velkaro C:\\G 01");
    EXPECT_EQ(
        MenuText(GetMenu(MainWindow)),
        "&File{101 &New|102 &Open...|103 Save &as...|105 &Save|---|100 (Recent files) grayed|"
        "---|104 &Exit|}&Edit{111 &Undo\bCtrl+Z|---|112 &Cut\bCtrl+X|113 &Copy\bCtrl+C|114 "
        "&Paste\bCtrl+V|---|115 &Delete\bDel|116 Date and &time|---|117 &Find...\bCtrl+F|118 "
        "Find &next\bF3|119 Select &all\bCtrl+A|}&Help{131 &About|132 &Quick introduction|133 "
        "&Velkaro online|134 &Help|}");
    EXPECT_EQ(GetSubMenu(GetMenu(MainWindow), 0), FileMenu);
    EXPECT_TRUE(seen.empty());
}

TEST_F(Window, ProcedureEditCommandsAndDateStamp) {
    Editor editor;
    SendMessageA(EditorControl, WM_CHAR, 'x', 0);
    const std::string typed = Status(1);
    SendMessageA(EditorControl, EM_SETMODIFY, FALSE, 0); // EN_CHANGE from any child reads it
    SendMessageA(MainWindow, WM_COMMAND, MAKEWPARAM(7, EN_CHANGE), LPARAM(StatusBar));
    EXPECT_EQ(typed + "|" + Status(1), "\tModified|\t");
    Put("hello world", false);
    const auto edits = [](int start, int end, unsigned command, const char* text) {
        Select(start, end);
        Command(command);
        EXPECT_EQ(Text() + " " + Selection(), text) << command;
    };
    edits(0, 6, CMD_CUT, "world 0-0");
    edits(5, 5, CMD_PASTE, "worldhello  11-11");
    edits(0, 0, CMD_UNDO, "world 5-5");
    edits(0, 3, CMD_COPY, "world 0-3");
    edits(5, 5, CMD_PASTE, "worldwor 8-8");
    edits(2, 2, CMD_DELETE, "worldwor 2-2");
    edits(0, 5, CMD_DELETE, "wor 0-0");
    edits(1, 1, CMD_SELECT_ALL, "wor 0-3");
    // Commands outside the table do nothing.
    Put(Text(), false);
    for (unsigned id : {0u, 99u, 100u, 110u, 120u, 125u, 130u, 135u, 590u, 596u, 1000u})
        edits(1, 2, id, "wor 1-2");
    MSG message;
    EXPECT_FALSE(PeekMessageA(&message, MainWindow, WM_CLOSE, WM_CLOSE, PM_NOREMOVE) || Modified());
    Command(CMD_EXIT); // taken off the queue undispatched: closing would end this process
    EXPECT_TRUE(PeekMessageA(&message, MainWindow, WM_CLOSE, WM_CLOSE, PM_REMOVE));
    HDC context = GetDC(EditorControl);
    EXPECT_EQ(SendMessageA(MainWindow, WM_CTLCOLOREDIT, WPARAM(context), 0),
              LRESULT(GetSysColorBrush(COLOR_WINDOW)));
    EXPECT_EQ(GetTextColor(context), RGB(0, 0x44, 0));
    EXPECT_EQ(SendMessageA(MainWindow, WM_ERASEBKGND, WPARAM(context), 0), 1);
    ReleaseDC(EditorControl, context);
    SetFocus(StatusBar);
    SetFocus(MainWindow);
    EXPECT_EQ(GetFocus(), EditorControl);
    Put(std::string(100000, 'x'), false); // past the control's own limit of about 30,000
    SendMessageA(EditorControl, WM_CHAR, 'a', 0);
    EXPECT_EQ(GetWindowTextLengthA(EditorControl), 100001);
    // Resizing fits the editor above the status bar.
    MoveWindow(MainWindow, 10, 10, 800, 600, TRUE);
    RECT client, editorPlace, statusPlace;
    GetClientRect(MainWindow, &client);
    GetWindowRect(EditorControl, &editorPlace);
    GetWindowRect(StatusBar, &statusPlace);
    MapWindowPoints(nullptr, MainWindow, LPPOINT(&editorPlace), 2);
    MapWindowPoints(nullptr, MainWindow, LPPOINT(&statusPlace), 2);
    EXPECT_EQ(
        std::vector({editorPlace.left, editorPlace.top, editorPlace.right, editorPlace.bottom,
                     statusPlace.left, statusPlace.right, statusPlace.bottom}),
        std::vector({0L, 0L, client.right, statusPlace.top, 0L, client.right, client.bottom}));

    // The stamp is the local time, in a zone away from UTC so that a stamp in UTC shows.
    TIME_ZONE_INFORMATION zone{};
    GetTimeZoneInformation(&zone);
    ASSERT_NE(zone.Bias, 0) << "scripts/test runs the tests in a zone away from UTC";
    const auto now = [] {
        SYSTEMTIME t;
        GetLocalTime(&t);
        return "[" + std::to_string(t.wDay) + "-" + std::to_string(t.wMonth) + "-" +
               std::to_string(t.wYear) + " " + std::to_string(t.wHour) + ":" +
               std::to_string(t.wMinute) + ":" + std::to_string(t.wSecond) + "]";
    };
    Put("[old]", false);
    Select(1, 4);
    const std::string before = now();
    Command(CMD_DATE_TIME);
    EXPECT_TRUE(Text() == before || Text() == now()) << Text() << " at " << now();
    EXPECT_TRUE(Modified());
    Command(CMD_UNDO);
    EXPECT_EQ(Text(), "[old]");
    EXPECT_TRUE(seen.empty());
}

TEST_F(Window, FindAndTheShortcutKeys) {
    const auto find = [](std::string text, int button) -> Answer {
        return [=](HWND dialog) { // button 0: the Enter key
            SetDlgItemTextA(dialog, IDC_FIND_TEXT, text.c_str());
            PostMessageA(dialog, button ? WM_COMMAND : WM_KEYDOWN, button ? button : VK_RETURN, 0);
        };
    };
    Editor editor;
    Put("one two one two", false);
    Select(15, 15);
    const auto step = [&](unsigned command, std::string typed, int button, const char* selection,
                          std::string notice) {
        if (!typed.empty() || button)
            answers.push_back(find(typed, button));
        command == 'F' || command == VK_F3 ? void(Key(MainWindow, command, command == 'F'))
                                           : Command(command);
        EXPECT_EQ(Selection(), selection) << typed;
        std::string boxes;
        for (const Box& box : Take()) // the dialog, then a notice with an "i"
            boxes += box.caption + "|" + box.text +
                     (box.owner == MainWindow ? "|" : "| not owned") +
                     (box.icon == LoadIconA(nullptr, IDI_INFORMATION) ? "i|" : "|");
        EXPECT_EQ(
            boxes,
            (typed.empty() && !button ? "" : "Find|Search for the text:||Find|Find next|Cancel||") +
                (notice.empty() ? "" : "Find|" + notice + "|i|"))
            << typed;
    };
    const std::string nothing = "There is no text to search for. Choose Find... in the Edit menu "
                                "and type the text to find.";
    step(VK_F3, "", 0, "15-15", nothing);
    step('F', "two", 0, "4-7", ""); // Find starts at the top
    step(VK_F3, "", 0, "12-15", "");
    step(CMD_FIND_NEXT, "", 0, "4-7", "");            // and wraps once
    step(CMD_FIND, "one", IDC_FIND_NEXT, "8-11", ""); // the dialog's Find next goes on
    step(CMD_FIND, "one", IDC_FIRST_BUTTON, "0-3", "");
    step(CMD_FIND, "two", IDCANCEL, "0-3", ""); // Cancel keeps the last search
    step(CMD_FIND_NEXT, "", 0, "8-11", "");
    step(CMD_FIND, "Two", IDC_FIRST_BUTTON, "8-11", "Cannot find \"Two\".");
    step(CMD_FIND_NEXT, "", 0, "8-11", "Cannot find \"Two\".");
    step(CMD_FIND, "", IDC_FIRST_BUTTON, "8-11", nothing);
    EXPECT_EQ(Text() + (Modified() ? " modified" : ""), "one two one two");
    // The search text is cut to 255 characters, and places past 16 bits are kept.
    Put("x" + std::string(300, 'a'), false);
    step(CMD_FIND, std::string(300, 'a'), IDC_FIRST_BUTTON, "1-256", "");
    std::string text(70000, 'x');
    Put(text.replace(100, 6, "needle").replace(69000, 6, "needle"), false);
    step(CMD_FIND, "needle", IDC_FIRST_BUTTON, "100-106", "");
    step(CMD_FIND_NEXT, "", 0, "69000-69006", "");
    step(CMD_FIND_NEXT, "", 0, "100-106", ""); // a 16-bit place would find 69000 again

    // Ctrl+S saves, asking for a file first; Ctrl+O opens; Ctrl+N empties; Ctrl+A selects.
    WriteBytes(Path("other.txt"), "other");
    answers = {Choose(Path("saved.txt"), 3), Choose(Path("other.txt"), 3)};
    EXPECT_TRUE(Key(EditorControl, 'S', true) && Key(EditorControl, 'O', true));
    EXPECT_EQ(ReadBytes(Path("saved.txt")) + "|" + Text(), text + "|other");
    EXPECT_TRUE(Key(EditorControl, 'A', true));
    EXPECT_EQ(Selection(), "0-5");
    EXPECT_TRUE(Key(MainWindow, 'N', true));
    EXPECT_EQ(Text() + std::to_string(Take().size()), "2");
    // Only with Ctrl, and only in the main window and its editor.
    for (WORD key : {'A', 'F', 'N', 'O', 'S'})
        EXPECT_FALSE(Key(EditorControl, key, false) || Key(StatusBar, key, true)) << key;
    EXPECT_TRUE(seen.empty());
}
