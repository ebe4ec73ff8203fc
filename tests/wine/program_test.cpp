// The real scribane.exe in a process of its own: starting, closing and its exit code.
#include <gtest/gtest.h>
#include <windows.h>
#include "document/search.h"
#include "suite/suite_table.h"

#include "resources/resource_ids.h"
#include "support/box_watcher.h"
#include "support/program_process.h"
#include "support/test_files.h"

namespace {

class Program : public ::testing::Test {
  protected:
    void SetUp() override { InstallSuite(); }
    void TearDown() override { UninstallSuite(); }
};

std::string TextOf(HWND window) {
    char text[1024] = "";
    SendMessageA(window, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text));
    return text;
}

// Gives the editor of another process modified text, as typing would.
void TypeInto(HWND editor, const char* text) {
    for (const char* c = text; *c; ++c)
        SendMessageA(editor, WM_CHAR, static_cast<unsigned char>(*c), 0);
}

} // namespace

TEST_F(Program, ShowsItsWindowAndExitsWithCodeZero) {
    ProgramProcess program;
    HWND window = program.WaitForMainWindow();
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(TextOf(window), "Scribane");
    PostMessageA(window, WM_COMMAND, CMD_EXIT, 0);
    EXPECT_EQ(program.WaitForExit(), 0u);
}

TEST_F(Program, CloseBoxEndsAnUnmodifiedDocumentWithoutAsking) {
    ProgramProcess program;
    HWND window = program.WaitForMainWindow();
    ASSERT_NE(window, nullptr);
    PostMessageA(window, WM_CLOSE, 0, 0);
    EXPECT_EQ(program.WaitForExit(), 0u);
}

TEST_F(Program, ClosingModifiedTextAsksAndCancelKeepsItRunning) {
    ProgramProcess program;
    HWND window = program.WaitForMainWindow();
    ASSERT_NE(window, nullptr);
    BoxWatcher watcher(0, program.Id());
    TypeInto(EditorOf(window), "level text");

    watcher.ExpectButton(IDCANCEL);
    PostMessageA(window, WM_CLOSE, 0, 0);
    ASSERT_TRUE(watcher.WaitForSeen(1));
    EXPECT_EQ(program.WaitForExit(1000), static_cast<DWORD>(STILL_ACTIVE));
    const SeenBox prompt = watcher.Seen()[0];
    EXPECT_EQ(prompt.caption, "Save text");
    EXPECT_EQ(prompt.text, "Would you like to save this text?");
    EXPECT_EQ(prompt.owner, window);
    EXPECT_EQ(prompt.buttons, (std::vector<int>{IDYES, IDNO, IDCANCEL}));
    EXPECT_EQ(TextOf(EditorOf(window)), "level text");

    // Exit takes the same path; No ends the program without saving.
    watcher.ExpectButton(IDNO);
    PostMessageA(window, WM_COMMAND, CMD_EXIT, 0);
    EXPECT_EQ(program.WaitForExit(), 0u);
    EXPECT_EQ(watcher.Seen().size(), 2u);
}
