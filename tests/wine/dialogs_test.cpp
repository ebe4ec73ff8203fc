// The first-run greeting, the About box and the Find dialog with its search, shown by
// the real main window and answered from the box watcher; and the keyboard shortcuts
// that reach them.
#include <gtest/gtest.h>
#include <windows.h>
#include "document/search.h"
#include "suite/suite_table.h"

#include <atomic>
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "platform/app_state.h"
#include "app/startup.h"
#include "dialogs/dialogs.h"
#include "resources/resource_ids.h"
#include "suite/suite_settings.h"
#include "suite/suite_table.h"
#include "support/box_watcher.h"
#include "support/editor_session.h"
#include "support/file_dialog_answers.h"
#include "support/test_files.h"

namespace {

const char kQuickStartLaunch[] = "Hh.exe C:\\Velkaro\\Vellumdoc.chm::/INF/QuickStart.htm\r\n";

class Dialogs : public ::testing::Test {
  protected:
    void SetUp() override { InstallSuite("C:\\Velkaro"); }
    void TearDown() override { UninstallSuite(); }
};

class FirstRun : public Dialogs {
  protected:
    void SetUp() override {
        Dialogs::SetUp();
        SetRegistryText(HKEY_LOCAL_MACHINE, kTestProgramKey, "EersteKeer", "1");
    }
};

// A stand-in help viewer beside the test program, where WinExec looks first; it
// writes each command line it is started with to launches.txt.
class HelpViewer {
  public:
    HelpViewer() {
        DeleteFileA(log_.c_str());
        CopyFileA((TestProgramFolder() + "launch_recorder.exe").c_str(), viewer_.c_str(), FALSE);
    }
    ~HelpViewer() {
        // The viewer may still be ending; its file can be deleted once it has.
        for (int tries = 0; tries < 100 && FileExists(viewer_); ++tries) {
            if (!DeleteFileA(viewer_.c_str()))
                Sleep(20);
        }
        DeleteFileA(log_.c_str());
    }
    HelpViewer(const HelpViewer&) = delete;
    HelpViewer& operator=(const HelpViewer&) = delete;

    // The command lines recorded once `lines` of them have arrived, or whatever
    // arrived within `timeoutMs`.
    std::string Launches(size_t lines, DWORD timeoutMs = 10000) const {
        std::string log;
        for (DWORD waited = 0; waited < timeoutMs; waited += 50) {
            log = ReadFileBytes(log_);
            size_t count = 0;
            for (size_t at = log.find('\n'); at != std::string::npos; at = log.find('\n', at + 1))
                ++count;
            if (count >= lines)
                break;
            Sleep(50);
        }
        return log;
    }

  private:
    std::string viewer_ = TestProgramFolder() + "Hh.exe";
    std::string log_ = TestProgramFolder() + "launches.txt";
};

// What an answer function saw of a dialog while it was open.
struct DialogLook {
    std::map<int, std::string> texts;
    HFONT boldControlFont = nullptr;
    // Whether the dialog went away because of the answer's key: -1 until the answer
    // knows (the dialog may be gone before it does).
    std::atomic<int> closed{-1};
};

bool ClosedByAnswer(const DialogLook& look) {
    for (DWORD waited = 0; look.closed < 0 && waited < 5000; waited += 10)
        Sleep(10);
    return look.closed == 1;
}

void ReadTexts(HWND dialog, std::initializer_list<int> ids, DialogLook& look) {
    for (int id : ids)
        look.texts[id] = DialogItemText(dialog, id);
}

HFONT ControlFont(HWND dialog, int id) {
    return reinterpret_cast<HFONT>(SendDlgItemMessageA(dialog, id, WM_GETFONT, 0, 0));
}

// Posts a key (WM_KEYDOWN) or the close box (WM_SYSCOMMAND SC_CLOSE) to the dialog, as
// the user would deliver it, and notes whether the dialog closed because of it. One
// that stays open is cancelled so the test goes on.
BoxWatcher::Answer CloseBy(UINT message, WPARAM wParam, DialogLook& look) {
    return [message, wParam, &look](HWND dialog) {
        PostMessageA(dialog, message, wParam, 0);
        for (DWORD waited = 0; waited < 3000; waited += 20) {
            if (!IsWindow(dialog) || !IsWindowVisible(dialog)) {
                look.closed = 1;
                return;
            }
            Sleep(20);
        }
        look.closed = 0;
        PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
    };
}

// Types `text` into the Find dialog and presses `button`.
BoxWatcher::Answer Search(const std::string& text, int button = IDC_FIRST_BUTTON) {
    return [text, button](HWND dialog) {
        SetDlgItemTextA(dialog, IDC_FIND_TEXT, text.c_str());
        PressButton(button)(dialog);
    };
}

using Range = std::pair<DWORD, DWORD>;

Range Selection() {
    DWORD start = 0, end = 0;
    SendMessageA(EditorControl, EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                 reinterpret_cast<LPARAM>(&end));
    return {start, end};
}

void Select(DWORD start, DWORD end) {
    SendMessageA(EditorControl, EM_SETSEL, start, end);
}

// Sets this thread's Ctrl key state, which the shortcut translation reads.
void HoldControl(bool down) {
    BYTE keys[256];
    GetKeyboardState(keys);
    keys[VK_CONTROL] = keys[VK_LCONTROL] = down ? 0x80 : 0;
    SetKeyboardState(keys);
}

// Presses `key` in the editor and hands the message to the message loop's own step.
void PressKeyInEditor(WORD key, bool control = false) {
    HoldControl(control);
    PostMessageA(EditorControl, WM_KEYDOWN, key, 1);
    MSG message;
    while (PeekMessageA(&message, EditorControl, WM_KEYDOWN, WM_KEYDOWN, PM_REMOVE))
        DispatchEditorMessage(message);
    HoldControl(false);
}

// The main window's WM_COMMAND wParams once RecordCommands has run; they do not run.
std::vector<WPARAM> RecordedCommands;
WNDPROC MainProc = nullptr;

LRESULT CALLBACK RecordingProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message != WM_COMMAND)
        return CallWindowProcA(MainProc, window, message, wParam, lParam);
    RecordedCommands.push_back(wParam);
    return 0;
}

void RecordCommands() {
    RecordedCommands.clear();
    MainProc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(MainWindow, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(RecordingProc)));
}

// Whether the message loop turns `key` for `window` into a command.
bool Translates(HWND window, WORD key, bool control) {
    HoldControl(control);
    MSG message{window, WM_KEYDOWN, key, 1, 0, {}};
    const bool translated = TranslateEditorAccelerator(message);
    HoldControl(false);
    return translated;
}

} // namespace

// ---- First run ----------------------------------------------------------------------

TEST_F(FirstRun, GreetsOnceWithTheFlagAlreadyClearedAndNoStartsNothing) {
    HelpViewer viewer;
    BoxWatcher watcher;
    DialogLook look;
    std::optional<std::string> flagWhileShown;
    watcher.Expect([&](HWND dialog) {
        ReadTexts(dialog, {IDC_WELCOME, IDC_WELCOME_TEXT, IDC_FIRST_BUTTON, IDC_SECOND_BUTTON},
                  look);
        look.boldControlFont = ControlFont(dialog, IDC_WELCOME);
        flagWhileShown = GetRegistryBytes(HKEY_LOCAL_MACHINE, kTestProgramKey, "EersteKeer");
        PressButton(IDC_SECOND_BUTTON)(dialog);
    });
    {
        EditorSession session;
        ASSERT_TRUE(session.Started());
        const auto seen = watcher.Seen();
        ASSERT_EQ(seen.size(), 1u);
        EXPECT_TRUE(seen[0].answered);
        EXPECT_EQ(seen[0].caption, "First time");
        EXPECT_EQ(seen[0].owner, MainWindow);
        EXPECT_EQ(seen[0].buttons, (std::vector<int>{1, 2}));
    }
    EXPECT_EQ(look.texts[IDC_WELCOME], "Welcome!");
    EXPECT_EQ(look.texts[IDC_WELCOME_TEXT], "This is the first time you started Scribane. Would "
                                            "you like a quick introduction to the programme?");
    EXPECT_EQ(look.texts[IDC_FIRST_BUTTON], "Yes");
    EXPECT_EQ(look.texts[IDC_SECOND_BUTTON], "No");
    EXPECT_NE(look.boldControlFont, nullptr);
    EXPECT_EQ(look.boldControlFont, SuiteSettings.BoldFont);
    // Cleared before the greeting showed: a program ended now would not greet again.
    EXPECT_EQ(flagWhileShown, std::string(1, '\0'));
    EXPECT_EQ(viewer.Launches(1, 1000), "");

    BoxWatcher second;
    EditorSession session;
    EXPECT_FALSE(SuiteSettings.FirstRun);
    EXPECT_TRUE(second.Seen().empty());
}

TEST_F(FirstRun, YesOpensTheQuickIntroduction) {
    HelpViewer viewer;
    BoxWatcher watcher;
    watcher.ExpectButton(IDC_FIRST_BUTTON);
    EditorSession session;
    ASSERT_EQ(watcher.Seen().size(), 1u);
    EXPECT_EQ(viewer.Launches(1), kQuickStartLaunch);
}

TEST_F(FirstRun, EnterCountsAsYes) {
    HelpViewer viewer;
    BoxWatcher watcher;
    DialogLook look;
    watcher.Expect(CloseBy(WM_KEYDOWN, VK_RETURN, look));
    EditorSession session;
    EXPECT_TRUE(ClosedByAnswer(look));
    EXPECT_EQ(viewer.Launches(1), kQuickStartLaunch);
}

// ---- About --------------------------------------------------------------------------

TEST_F(Dialogs, AboutShowsNameVersionMakersAndPictureAndClosesOnEnterAndTheCloseBox) {
    EditorSession session;
    BoxWatcher watcher;
    DialogLook look, closeBox;
    BITMAP picture{};
    watcher.Expect([&](HWND dialog) {
        ReadTexts(dialog,
                  {IDC_ABOUT_NAME, IDC_ABOUT_PURPOSE, IDC_ABOUT_MAKER, IDC_ABOUT_PUBLISHER,
                   IDC_ABOUT_WEB},
                  look);
        look.boldControlFont = ControlFont(dialog, IDC_ABOUT_NAME);
        GetObjectA(reinterpret_cast<HBITMAP>(SendDlgItemMessageA(dialog, IDC_ABOUT_PICTURE,
                                                                 STM_GETIMAGE, IMAGE_BITMAP, 0)),
                   sizeof picture, &picture);
        CloseBy(WM_KEYDOWN, VK_RETURN, look)(dialog);
    });
    watcher.Expect(CloseBy(WM_SYSCOMMAND, SC_CLOSE, closeBox));
    SendCommand(CMD_ABOUT);
    EXPECT_TRUE(ClosedByAnswer(look));
    SendCommand(CMD_ABOUT);
    EXPECT_TRUE(ClosedByAnswer(closeBox));

    const auto seen = watcher.Seen();
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen[0].caption, "About");
    EXPECT_EQ(seen[0].owner, MainWindow);
    EXPECT_TRUE(seen[0].buttons.empty());
    EXPECT_EQ(look.texts[IDC_ABOUT_NAME], "Scribane v2.0.11");
    EXPECT_EQ(look.texts[IDC_ABOUT_PURPOSE], "Create your own INF-files or just edit plain text");
    EXPECT_EQ(look.texts[IDC_ABOUT_MAKER], "Made by Ostrik");
    EXPECT_EQ(look.texts[IDC_ABOUT_PUBLISHER], "From Velkaro");
    EXPECT_EQ(look.texts[IDC_ABOUT_WEB], SUITE_WEB_HOST);
    EXPECT_EQ(look.boldControlFont, SuiteSettings.BoldFont);
    EXPECT_EQ(picture.bmWidth, 65);
    EXPECT_EQ(picture.bmHeight, 65);
}

// ---- Find ---------------------------------------------------------------------------

TEST_F(Dialogs, FindDialogShowsItsTextsEnterFindsAndCancelKeepsTheSearch) {
    EditorSession session;
    SetEditorText("one two", false);
    BoxWatcher watcher;
    DialogLook first, second;
    watcher.Expect([&](HWND dialog) {
        ReadTexts(dialog, {IDC_FIND_LABEL, IDC_FIND_TEXT, 1, IDC_FIND_NEXT, 2}, first);
        SetDlgItemTextA(dialog, IDC_FIND_TEXT, "two");
        CloseBy(WM_KEYDOWN, VK_RETURN, first)(dialog); // Enter counts as Find
    });
    watcher.Expect([&](HWND dialog) {
        ReadTexts(dialog, {IDC_FIND_TEXT}, second);
        Search("one", IDC_SECOND_BUTTON)(dialog);
    });
    SendCommand(CMD_FIND);
    EXPECT_TRUE(ClosedByAnswer(first));
    EXPECT_EQ(Selection(), Range(4, 7));
    SendCommand(CMD_FIND);
    const auto seen = watcher.Seen();
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen[0].caption, "Find");
    EXPECT_EQ(seen[0].owner, MainWindow);
    EXPECT_EQ(seen[0].buttons, (std::vector<int>{1, 100, 2}));
    EXPECT_EQ(first.texts[IDC_FIND_LABEL], "Search for the text:");
    EXPECT_EQ(first.texts[IDC_FIND_TEXT], "");
    EXPECT_EQ(first.texts[1], "Find");
    EXPECT_EQ(first.texts[IDC_FIND_NEXT], "Find next");
    EXPECT_EQ(first.texts[2], "Cancel");
    // The last search text is not offered again, and Cancel drops what was typed.
    EXPECT_EQ(second.texts[IDC_FIND_TEXT], "");
    EXPECT_EQ(SearchState.SearchText, "two");
    EXPECT_EQ(SearchState.SearchPosition, 8u);
    EXPECT_EQ(Selection(), Range(4, 7));
}

TEST_F(Dialogs, FindSelectsTheFirstMatchAndFindNextTheFollowingOnesWrappingOnce) {
    EditorSession session;
    SetEditorText("one two one two", false);
    Select(15, 15); // Find starts over at the top wherever the caret is
    BoxWatcher watcher;
    watcher.Expect(Search("two"));
    watcher.Expect(Search("one", IDC_FIND_NEXT));
    watcher.Expect(Search("one", IDC_FIRST_BUTTON));
    SendCommand(CMD_FIND);
    EXPECT_EQ(Selection(), Range(4, 7));
    EXPECT_EQ(SearchState.SearchText, "two");
    EXPECT_EQ(SearchState.SearchPosition, 8u); // just past the match, counted from 1
    SendCommand(CMD_FIND_NEXT);
    EXPECT_EQ(Selection(), Range(12, 15));
    SendCommand(CMD_FIND_NEXT);
    EXPECT_EQ(Selection(), Range(4, 7));

    // The dialog's Find next goes on from the last match; its Find starts over.
    SendCommand(CMD_FIND);
    EXPECT_EQ(Selection(), Range(8, 11));
    EXPECT_EQ(SearchState.SearchText, "one");
    SendCommand(CMD_FIND);
    EXPECT_EQ(Selection(), Range(0, 3));
    EXPECT_EQ(watcher.Seen().size(), 3u); // no notice along the way
    EXPECT_EQ(EditorText(), "one two one two");
    EXPECT_FALSE(EditorModified());
}

TEST_F(Dialogs, AMissIsReportedAndKeepsTheSelection) {
    EditorSession session;
    SetEditorText("one two", false);
    Select(1, 3);
    BoxWatcher watcher;
    watcher.Expect(Search("Two")); // matching is case-sensitive
    watcher.ExpectButton(IDOK);
    watcher.ExpectButton(IDOK);
    SendCommand(CMD_FIND);
    SendCommand(CMD_FIND_NEXT);
    const auto seen = watcher.Seen();
    ASSERT_EQ(seen.size(), 3u);
    for (size_t box = 1; box < 3; ++box) {
        SCOPED_TRACE(box);
        EXPECT_EQ(seen[box].caption, "Find");
        EXPECT_EQ(seen[box].text, "Cannot find \"Two\".");
        EXPECT_EQ(seen[box].owner, MainWindow);
        EXPECT_EQ(seen[box].buttons, std::vector<int>{IDOK});
        EXPECT_EQ(seen[box].icon, LoadIconA(nullptr, IDI_INFORMATION));
    }
    EXPECT_EQ(Selection(), Range(1, 3));
    EXPECT_EQ(SearchState.SearchPosition, 1u);
}

TEST_F(Dialogs, AnEmptySearchTextFindsNothingAndSaysSo) {
    EditorSession session;
    SetEditorText("one two", false);
    Select(2, 5);
    BoxWatcher watcher;
    watcher.ExpectButton(IDOK); // Find next before any Find
    watcher.Expect(Search("")); // Find with an empty field
    watcher.ExpectButton(IDOK);
    SendCommand(CMD_FIND_NEXT);
    SendCommand(CMD_FIND);
    const auto seen = watcher.Seen();
    ASSERT_EQ(seen.size(), 3u);
    for (size_t box : {0u, 2u}) {
        SCOPED_TRACE(box);
        EXPECT_EQ(seen[box].caption, "Find");
        EXPECT_EQ(seen[box].text, "There is no text to search for. Choose Find... in the Edit "
                                  "menu and type the text to find.");
        EXPECT_EQ(seen[box].owner, MainWindow);
    }
    EXPECT_EQ(SearchState.SearchPosition, 1u);
    EXPECT_EQ(Selection(), Range(2, 5));
}

TEST_F(Dialogs, TheSearchTextIsCutTo255Characters) {
    EditorSession session;
    SetEditorText("x" + std::string(300, 'a'), false);
    BoxWatcher watcher;
    watcher.Expect(Search(std::string(300, 'a')));
    SendCommand(CMD_FIND);
    EXPECT_EQ(SearchState.SearchText, std::string(255, 'a'));
    EXPECT_EQ(Selection(), Range(1, 256));
}

TEST_F(Dialogs, PositionsBeyond16BitsAreKept) {
    EditorSession session;
    std::string text(70000, 'x');
    text.replace(100, 6, "needle");
    text.replace(69000, 6, "needle");
    SetEditorText(text, false);
    ASSERT_EQ(GetWindowTextLengthA(EditorControl), 70000);
    BoxWatcher watcher;
    watcher.Expect(Search("needle"));
    SendCommand(CMD_FIND);
    EXPECT_EQ(Selection(), Range(100, 106));
    SendCommand(CMD_FIND_NEXT);
    EXPECT_EQ(Selection(), Range(69000, 69006));
    EXPECT_EQ(SearchState.SearchPosition, 69007u);
    // A position cut to 16 bits would find 69000 again instead of wrapping.
    SendCommand(CMD_FIND_NEXT);
    EXPECT_EQ(Selection(), Range(100, 106));
}

// ---- Menu and shortcuts -------------------------------------------------------------

// '\b' is the byte 0x08 that right-aligns a shortcut text; the items before these
// are checked with the rest of the menu bar.
TEST_F(Dialogs, EditMenuEndsWithFindAndFindNext) {
    EditorSession session;
    HMENU edit = GetSubMenu(GetMenu(MainWindow), 1);
    ASSERT_EQ(GetMenuItemCount(edit), 11);
    EXPECT_EQ(GetMenuItemID(edit, 7), static_cast<UINT>(CMD_DATE_TIME));
    EXPECT_TRUE(GetMenuState(edit, 8, MF_BYPOSITION) & MF_SEPARATOR);
    char caption[64] = "";
    GetMenuStringA(edit, 9, caption, sizeof caption, MF_BYPOSITION);
    EXPECT_STREQ(caption, "&Find...\bCtrl+F");
    EXPECT_EQ(GetMenuItemID(edit, 9), static_cast<UINT>(CMD_FIND));
    GetMenuStringA(edit, 10, caption, sizeof caption, MF_BYPOSITION);
    EXPECT_STREQ(caption, "Find &next\bF3");
    EXPECT_EQ(GetMenuItemID(edit, 10), static_cast<UINT>(CMD_FIND_NEXT));
}

TEST_F(Dialogs, CtrlFOpensFindAndF3FindsNext) {
    EditorSession session;
    SetEditorText("one two one two", false);
    BoxWatcher watcher;
    watcher.Expect(Search("two"));
    PressKeyInEditor('F', true);
    ASSERT_EQ(watcher.Seen().size(), 1u);
    EXPECT_EQ(watcher.Seen()[0].caption, "Find");
    EXPECT_EQ(Selection(), Range(4, 7));
    PressKeyInEditor(VK_F3);
    EXPECT_EQ(Selection(), Range(12, 15));
    // The keys became commands: nothing was typed.
    EXPECT_EQ(EditorText(), "one two one two");
}

TEST_F(Dialogs, ShortcutsSendTheirCommandsFromTheMainWindowAndItsEditorOnly) {
    EditorSession session;
    RecordCommands();
    struct Shortcut {
        WORD key;
        bool control;
        unsigned command;
    };
    for (const Shortcut& shortcut : {Shortcut{'F', true, CMD_FIND},
                                     {VK_F3, false, CMD_FIND_NEXT},
                                     {'N', true, CMD_NEW},
                                     {'O', true, CMD_OPEN},
                                     {'S', true, CMD_SAVE}}) {
        SCOPED_TRACE(shortcut.command);
        for (HWND window : {MainWindow, EditorControl}) {
            RecordedCommands.clear();
            EXPECT_TRUE(Translates(window, shortcut.key, shortcut.control));
            // A shortcut's command carries 1 in the high word.
            EXPECT_EQ(RecordedCommands, std::vector<WPARAM>{MAKEWPARAM(shortcut.command, 1)});
        }
        if (shortcut.control) {
            EXPECT_FALSE(Translates(EditorControl, shortcut.key, false));
        }
        EXPECT_FALSE(Translates(StatusBar, shortcut.key, shortcut.control));
    }
}

TEST_F(Dialogs, CtrlSSavesAndCtrlNAndCtrlOAskToSaveFirst) {
    const std::string path = FreshFolder("dialogs-shortcuts") + "\\typed.txt";
    EditorSession session;
    SetEditorText("typed", true);
    BoxWatcher watcher;
    watcher.Expect(ChooseInFileDialog(path, 3)); // no file yet: Save as asks for one
    PressKeyInEditor('S', true);
    EXPECT_EQ(ReadFileBytes(path), "typed");
    EXPECT_FALSE(EditorModified());
    SetEditorText("again", true);
    PressKeyInEditor('S', true);
    EXPECT_EQ(ReadFileBytes(path), "again");
    EXPECT_EQ(watcher.Seen().size(), 1u);

    SetEditorText("draft", true);
    watcher.ExpectButton(IDCANCEL);
    PressKeyInEditor('N', true);
    watcher.ExpectButton(IDCANCEL);
    PressKeyInEditor('O', true);
    const auto seen = watcher.Seen();
    ASSERT_EQ(seen.size(), 3u);
    for (size_t box : {1u, 2u}) {
        SCOPED_TRACE(box);
        EXPECT_EQ(seen[box].caption, "Save text");
        EXPECT_EQ(seen[box].text, "Would you like to save this text?");
    }
    EXPECT_EQ(EditorText(), "draft");
    EXPECT_TRUE(EditorModified());
    EXPECT_EQ(ReadFileBytes(path), "again");
}
