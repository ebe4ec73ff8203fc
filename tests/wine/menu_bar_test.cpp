// The menu bar as the user sees it: popups, captions, identifiers and states.
#include <gtest/gtest.h>
#include <windows.h>
#include "document/search.h"
#include "suite/suite_table.h"

#include "platform/app_state.h"
#include "resources/resource_ids.h"
#include "support/editor_session.h"
#include "support/test_files.h"

namespace {

struct Item {
    std::string caption; // "-" for a separator
    UINT id;
    bool grayed;
};

Item ItemAt(HMENU menu, int position) {
    MENUITEMINFOA info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_FTYPE | MIIM_ID | MIIM_STATE;
    GetMenuItemInfoA(menu, position, TRUE, &info);
    if (info.fType & MFT_SEPARATOR)
        return {"-", 0, false};
    char caption[256] = "";
    GetMenuStringA(menu, position, caption, sizeof caption, MF_BYPOSITION);
    return {caption, info.wID, (info.fState & MFS_GRAYED) != 0};
}

void ExpectItems(HMENU menu, const std::vector<Item>& expected) {
    for (size_t i = 0; i < expected.size(); ++i) {
        SCOPED_TRACE("position " + std::to_string(i));
        const Item item = ItemAt(menu, static_cast<int>(i));
        EXPECT_EQ(item.caption, expected[i].caption);
        EXPECT_EQ(item.id, expected[i].id);
        EXPECT_EQ(item.grayed, expected[i].grayed);
    }
}

std::vector<std::string> BarCaptions() {
    HMENU bar = GetMenu(MainWindow);
    std::vector<std::string> captions;
    for (int i = 0; i < GetMenuItemCount(bar); ++i) {
        char caption[64] = "";
        GetMenuStringA(bar, i, caption, sizeof caption, MF_BYPOSITION);
        captions.push_back(caption);
    }
    return captions;
}

class MenuBar : public ::testing::Test {
  protected:
    void SetUp() override { InstallSuite(); }
    void TearDown() override { UninstallSuite(); }
};

} // namespace

TEST_F(MenuBar, FileEditAndHelpWhenNoSiblingToolIsInstalled) {
    EditorSession session;
    EXPECT_EQ(BarCaptions(), (std::vector<std::string>{"&File", "&Edit", "&Help"}));
    EXPECT_EQ(GetSubMenu(GetMenu(MainWindow), 0), FileMenu);
}

TEST_F(MenuBar, FileMenuWithAnEmptyRecentListHasEightItems) {
    EditorSession session;
    ASSERT_EQ(GetMenuItemCount(FileMenu), 8);
    ExpectItems(FileMenu, {{"&New", CMD_NEW, false},
                           {"&Open...", CMD_OPEN, false},
                           {"Save &as...", CMD_SAVE_AS, false},
                           {"&Save", CMD_SAVE, false},
                           {"-", 0, false},
                           {"(Recent files)", 100, true},
                           {"-", 0, false},
                           {"&Exit", CMD_EXIT, false}});
}

TEST_F(MenuBar, EditMenuRightAlignsItsShortcutTexts) {
    EditorSession session;
    HMENU edit = GetSubMenu(GetMenu(MainWindow), 1);
    ExpectItems(edit, {{"&Undo\bCtrl+Z", CMD_UNDO, false},
                       {"-", 0, false},
                       {"&Cut\bCtrl+X", CMD_CUT, false},
                       {"&Copy\bCtrl+C", CMD_COPY, false},
                       {"&Paste\bCtrl+V", CMD_PASTE, false},
                       {"-", 0, false},
                       {"&Delete\bDel", CMD_DELETE, false},
                       {"Date and &time", CMD_DATE_TIME, false}});
}

TEST_F(MenuBar, HelpMenuHasFourItemsAndNoSeparator) {
    EditorSession session;
    HMENU help = GetSubMenu(GetMenu(MainWindow), 2);
    ASSERT_EQ(GetMenuItemCount(help), 4);
    ExpectItems(help, {{"&About", CMD_ABOUT, false},
                       {"&Quick introduction", CMD_QUICK_INTRO, false},
                       {"&Velkaro online", CMD_WEB_SITE, false},
                       {"&Help", CMD_HELP, false}});
}
