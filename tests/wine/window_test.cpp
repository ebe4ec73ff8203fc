// The main window: how it starts (one snapshot of the window and one of its menus), what
// its procedure does with the edit commands and the date stamp, its keys, and Find.
#include "support/harness.h"

#include <commctrl.h>

#include <sstream>

#include "app/startup.h"
#include "document/search.h"
#include "platform/app_state.h"
#include "resources/resource_ids.h"
#include "suite/suite_settings.h"

namespace {

using Window = Suite;

std::string ClassOf(HWND window) {
    char name[64] = "";
    GetClassNameA(window, name, sizeof name);
    return name;
}

std::string FontOf(HFONT handle) {
    LOGFONTA font{};
    GetObjectA(handle, sizeof font, &font);
    return std::string(font.lfFaceName) + " " + std::to_string(font.lfHeight) + " " +
           std::to_string(font.lfWeight) + " " + std::to_string(font.lfCharSet);
}

std::string Selection() {
    DWORD start = 0, end = 0;
    SendMessageA(EditorControl, EM_GETSEL, WPARAM(&start), LPARAM(&end));
    return std::to_string(start) + "-" + std::to_string(end);
}

void Select(int start, int end) {
    SendMessageA(EditorControl, EM_SETSEL, start, end);
}

// Presses `key` in `window`, with Ctrl when `control`, through the message loop's own step.
void Key(HWND window, WORD key, bool control) {
    BYTE keys[256];
    GetKeyboardState(keys);
    keys[VK_CONTROL] = control ? 0x80 : 0;
    SetKeyboardState(keys);
    PostMessageA(window, WM_KEYDOWN, key, 1);
    Pump(0);
    keys[VK_CONTROL] = 0;
    SetKeyboardState(keys);
}

// Types `text` into the Find dialog and presses `button` (0: the Enter key).
Answer Find(const std::string& text, int button) {
    return [=](HWND dialog) {
        SetDlgItemTextA(dialog, IDC_FIND_TEXT, text.c_str());
        button ? Press(button)(dialog) : void(PostMessageA(dialog, WM_KEYDOWN, VK_RETURN, 0));
    };
}

std::string LocalStamp() {
    SYSTEMTIME now;
    GetLocalTime(&now);
    char stamp[64];
    std::snprintf(stamp, sizeof stamp, "%d-%d-%d %d:%d:%d", now.wDay, now.wMonth, now.wYear, now.wHour,
                  now.wMinute, now.wSecond);
    return stamp;
}

const char kNothingToFind[] =
    "There is no text to search for. Choose Find... in the Edit menu and type the text to find.";

} // namespace

TEST_F(Window, StartsAsTheUserSeesIt) {
    SetValue("SOFTWARE\\Bullfrog Productions Ltd\\Populous: The Beginning", "InstallPath", "C:\\Game");
    Editor editor;
    RegDeleteTreeA(HKEY_LOCAL_MACHINE, "SOFTWARE\\Bullfrog Productions Ltd");
    WNDCLASSA type{};
    GetClassInfoA(ModuleInstance, "Scribane", &type);
    int parts[3] = {};
    const LRESULT partCount = SendMessageA(StatusBar, SB_GETPARTS, 3, LPARAM(parts));
    std::ostringstream look;
    look << ClassOf(MainWindow) << "|" << Title() << std::hex << "|" << GetWindowLongA(MainWindow, GWL_STYLE)
         << " " << GetWindowLongA(MainWindow, GWL_EXSTYLE) << "|class " << type.style << " "
         << (type.hbrBackground == GetStockObject(GRAY_BRUSH)) << (type.hCursor == LoadCursorA(nullptr, IDC_ARROW))
         << !!type.hIcon << "|status " << std::dec << GetDlgCtrlID(StatusBar) << " " << partCount << " "
         << parts[0] << " " << parts[1] << " " << Status(0) << "|" << Status(1) << "|editor "
         << ClassOf(EditorControl) << " " << GetDlgCtrlID(EditorControl) << std::hex << " "
         << GetWindowLongA(EditorControl, GWL_STYLE) << " " << GetWindowLongA(EditorControl, GWL_EXSTYLE) << " "
         << FontOf(HFONT(SendMessageA(EditorControl, WM_GETFONT, 0, 0))) << " focus " << (GetFocus() == EditorControl)
         << "|bold " << FontOf(SuiteSettings.BoldFont) << "|" << SuiteSettings.SuiteName << " "
         << SuiteSettings.ProgramKeyPath << " " << SuiteSettings.ProgramDirectory << " "
         << SuiteSettings.GameDirectory << " " << !SuiteSettings.DocumentsDirectory.empty() << SuiteSettings.FirstRun;
    EXPECT_EQ(look.str(), "Scribane|Scribane|14cf0000 110|class 3 111|status 30482 2 400 -1 (Unsaved)||editor Edit 0 "
                          "50300004 200 Verdana 16 400 1 focus 1|bold Tahoma 16 700 1|Tessarine "
                          "SOFTWARE\\Velkaro\\Tessarine C:\\Velkaro C:\\Game 10");
    EXPECT_EQ(MenuText(GetMenu(MainWindow)),
              "&File{101 &New|102 &Open...|103 Save &as...|105 &Save|---|100 (Recent files) grayed|---|104 &Exit|}"
              "&Edit{111 &Undo\bCtrl+Z|---|112 &Cut\bCtrl+X|113 &Copy\bCtrl+C|114 &Paste\bCtrl+V|---|"
              "115 &Delete\bDel|116 Date and &time|---|117 &Find...\bCtrl+F|118 Find &next\bF3|"
              "119 Select &all\bCtrl+A|}&Help{131 &About|132 &Quick introduction|133 &Velkaro online|134 &Help|}");
    EXPECT_EQ(GetSubMenu(GetMenu(MainWindow), 0), FileMenu);
    EXPECT_TRUE(boxes.seen.empty());
}

TEST_F(Window, ProcedureAndEditCommands) {
    Editor editor;
    SendMessageA(EditorControl, WM_CHAR, 'x', 0);
    EXPECT_EQ(Status(1), "\tModified");
    // EN_CHANGE from any child refreshes the indicator from the editor's flag.
    SendMessageA(EditorControl, EM_SETMODIFY, FALSE, 0);
    SendMessageA(MainWindow, WM_COMMAND, MAKEWPARAM(7, EN_CHANGE), LPARAM(StatusBar));
    EXPECT_EQ(Status(1), "\t");

    Put("hello world", false);
    struct Step { int start, end; unsigned command; const char* text; };
    const Step steps[] = {{0, 6, CMD_CUT, "world"}, {5, 5, CMD_PASTE, "worldhello "}, {-1, 0, CMD_UNDO, "world"},
                          {0, 3, CMD_COPY, "world"}, {5, 5, CMD_PASTE, "worldwor"}, {2, 2, CMD_DELETE, "worldwor"},
                          {0, 5, CMD_DELETE, "wor"}, {-1, 0, CMD_UNDO, "worldwor"}, {2, 3, CMD_SELECT_ALL, "worldwor"}};
    for (const Step& step : steps) {
        if (step.start >= 0)
            Select(step.start, step.end);
        Command(step.command);
        EXPECT_EQ(Text(), step.text) << step.command;
    }
    EXPECT_EQ(Selection(), "0-8");
    // Commands outside the table do nothing.
    Put(Text(), false);
    Select(2, 4);
    for (unsigned id : {0u, 99u, 100u, 110u, 120u, 125u, 130u, 135u, 590u, 596u, 1000u})
        Command(id);
    EXPECT_EQ(Text() + Selection() + (Modified() ? " modified" : ""), "worldwor2-4");
    MSG message;
    EXPECT_FALSE(PeekMessageA(&message, MainWindow, WM_CLOSE, WM_CLOSE, PM_NOREMOVE));
    Command(CMD_EXIT); // taken off the queue undispatched: closing would end this process
    EXPECT_TRUE(PeekMessageA(&message, MainWindow, WM_CLOSE, WM_CLOSE, PM_REMOVE));

    HDC context = GetDC(EditorControl);
    EXPECT_EQ(SendMessageA(MainWindow, WM_CTLCOLOREDIT, WPARAM(context), LPARAM(EditorControl)),
              LRESULT(GetSysColorBrush(COLOR_WINDOW)));
    EXPECT_EQ(GetTextColor(context), RGB(0, 0x44, 0));
    EXPECT_EQ(SendMessageA(MainWindow, WM_ERASEBKGND, WPARAM(context), 0), 1);
    ReleaseDC(EditorControl, context);
    SetFocus(StatusBar);
    SetFocus(MainWindow);
    EXPECT_EQ(GetFocus(), EditorControl);

    // The editor takes typing past the control's own limit of about 30,000 characters.
    Put(std::string(100000, 'x'), false);
    Select(5, 5);
    SendMessageA(EditorControl, WM_CHAR, 'a', 0);
    EXPECT_EQ(GetWindowTextLengthA(EditorControl), 100001);

    // Resizing fits the editor above the status bar and repaints both.
    MoveWindow(MainWindow, 10, 10, 640, 480, TRUE);
    Pump(50);
    ValidateRect(EditorControl, nullptr);
    ValidateRect(StatusBar, nullptr);
    MoveWindow(MainWindow, 10, 10, 800, 600, TRUE);
    EXPECT_TRUE(GetUpdateRect(EditorControl, nullptr, FALSE));
    EXPECT_TRUE(GetUpdateRect(StatusBar, nullptr, FALSE));
    RECT client, editorRect, status;
    GetClientRect(MainWindow, &client);
    GetWindowRect(EditorControl, &editorRect);
    GetWindowRect(StatusBar, &status);
    MapWindowPoints(nullptr, MainWindow, reinterpret_cast<POINT*>(&editorRect), 2);
    MapWindowPoints(nullptr, MainWindow, reinterpret_cast<POINT*>(&status), 2);
    EXPECT_EQ(std::vector<LONG>({editorRect.left, editorRect.top, editorRect.right, editorRect.bottom, status.left,
                                 status.top, status.right, status.bottom}),
              std::vector<LONG>({0, 0, client.right, status.top, 0, status.top, client.right, client.bottom}));
    EXPECT_TRUE(boxes.seen.empty());
}

TEST_F(Window, DateStampIsTheLocalTimeAwayFromUtc) {
    TIME_ZONE_INFORMATION zone{};
    GetTimeZoneInformation(&zone);
    ASSERT_NE(zone.Bias, 0) << "scripts/test runs the tests in a zone away from UTC";
    Editor editor;
    Put("[old]", false);
    Select(1, 4);
    const std::string before = LocalStamp();
    Command(CMD_DATE_TIME);
    const std::string after = LocalStamp(), text = Text();
    EXPECT_TRUE(text == "[" + before + "]" || text == "[" + after + "]") << text << " at " << after;
    EXPECT_TRUE(Modified());
    Command(CMD_UNDO);
    EXPECT_EQ(Text(), "[old]");
}

TEST_F(Window, ShortcutKeys) {
    WriteBytes(Path("other.txt"), "other");
    Editor editor;
    Put("one two one two", false);
    Key(EditorControl, 'A', true);
    EXPECT_EQ(Selection(), "0-15");
    boxes.answers = {Find("two", IDC_FIRST_BUTTON)};
    Key(MainWindow, 'F', true);
    EXPECT_EQ(Selection(), "4-7");
    Key(EditorControl, VK_F3, false);
    EXPECT_EQ(Selection(), "12-15");
    boxes.answers = {Choose(Path("saved.txt"), 3)};
    Key(EditorControl, 'S', true);
    EXPECT_EQ(ReadBytes(Path("saved.txt")), "one two one two");
    boxes.answers = {Choose(Path("other.txt"), 3)};
    Key(EditorControl, 'O', true);
    EXPECT_EQ(Text(), "other");
    Key(MainWindow, 'N', true);
    EXPECT_EQ(Text(), "");
    EXPECT_EQ(boxes.Take().size(), 3u);
    // Only with Ctrl, and only in the main window and its editor.
    BYTE keys[256] = {};
    for (HWND window : {EditorControl, StatusBar}) {
        keys[VK_CONTROL] = window == StatusBar ? 0x80 : 0;
        SetKeyboardState(keys);
        for (WORD key : {'A', 'F', 'N', 'O', 'S'}) {
            MSG message{window, WM_KEYDOWN, key, 1, 0, {}};
            EXPECT_FALSE(TranslateEditorAccelerator(message)) << key;
        }
    }
    keys[VK_CONTROL] = 0;
    SetKeyboardState(keys);
    EXPECT_TRUE(boxes.seen.empty());
}

TEST_F(Window, FindAndFindNext) {
    Editor editor;
    Put("one two one two", false);
    Select(15, 15);
    struct Step { unsigned command; const char* find; int button; const char* selection; const char* notice; };
    const Step steps[] = {
        {CMD_FIND_NEXT, nullptr, 0, "15-15", kNothingToFind},
        {CMD_FIND, "two", 0, "4-7", nullptr},            // Find starts at the top
        {CMD_FIND_NEXT, nullptr, 0, "12-15", nullptr},
        {CMD_FIND_NEXT, nullptr, 0, "4-7", nullptr},      // and wraps once
        {CMD_FIND, "one", IDC_FIND_NEXT, "8-11", nullptr}, // the dialog's Find next goes on
        {CMD_FIND, "one", IDC_FIRST_BUTTON, "0-3", nullptr},
        {CMD_FIND, "two", IDCANCEL, "0-3", nullptr},      // Cancel keeps the last search
        {CMD_FIND_NEXT, nullptr, 0, "8-11", nullptr},
        {CMD_FIND, "Two", IDC_FIRST_BUTTON, "8-11", "Cannot find \"Two\"."},
        {CMD_FIND_NEXT, nullptr, 0, "8-11", "Cannot find \"Two\"."},
        {CMD_FIND, "", IDC_FIRST_BUTTON, "8-11", kNothingToFind},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(std::string(step.find ? step.find : "next") + " " + step.selection);
        if (step.find)
            boxes.answers.push_back(Find(step.find, step.button));
        Command(step.command);
        EXPECT_EQ(Selection(), step.selection);
        const auto seen = boxes.Take();
        ASSERT_EQ(seen.size(), (step.find ? 1u : 0u) + (step.notice ? 1u : 0u));
        if (step.find) {
            EXPECT_EQ(seen[0].caption + "|" + seen[0].text, "Find|Search for the text:||Find|Find next|Cancel");
            EXPECT_EQ(seen[0].buttons, (std::vector<int>{IDC_FIRST_BUTTON, IDC_FIND_NEXT, IDCANCEL}));
        }
        if (step.notice) {
            EXPECT_EQ(seen.back().caption + "|" + seen.back().text, std::string("Find|") + step.notice);
            EXPECT_EQ(seen.back().icon, LoadIconA(nullptr, IDI_INFORMATION));
        }
        for (const Box& box : seen)
            EXPECT_EQ(box.owner, MainWindow);
    }
    EXPECT_EQ(boxes.seen.size(), 0u);
    EXPECT_EQ(Text(), "one two one two");
    EXPECT_FALSE(Modified());

    // The search text is cut to 255 characters, and positions past 16 bits are kept.
    Put("x" + std::string(300, 'a'), false);
    boxes.answers = {Find(std::string(300, 'a'), IDC_FIRST_BUTTON)};
    Command(CMD_FIND);
    EXPECT_EQ(Selection(), "1-256");
    std::string text(70000, 'x');
    Put(text.replace(100, 6, "needle").replace(69000, 6, "needle"), false);
    boxes.answers = {Find("needle", IDC_FIRST_BUTTON)};
    Command(CMD_FIND);
    EXPECT_EQ(Selection(), "100-106");
    Command(CMD_FIND_NEXT);
    EXPECT_EQ(Selection(), "69000-69006");
    Command(CMD_FIND_NEXT); // a position cut to 16 bits would find 69000 again
    EXPECT_EQ(Selection(), "100-106");
    EXPECT_EQ(boxes.Take().size(), 2u);
}
