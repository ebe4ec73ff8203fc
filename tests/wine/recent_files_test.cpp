// The recent-files list against Wine's registry and menus: the values "a" to "d"
// under the editor's own key, the recent block of the File menu, and real loads.
#include <gtest/gtest.h>
#include <windows.h>
#include "document/search.h"
#include "suite/suite_table.h"

#include <string>
#include <vector>

#include "platform/app_state.h"
#include "document/document.h"
#include "document/recent_files.h"
#include "resources/resource_ids.h"
#include "support/box_watcher.h"
#include "support/editor_session.h"
#include "support/menu_layout.h"
#include "support/test_files.h"

namespace {

using Layout = std::vector<std::string>;

class RecentFiles : public ::testing::Test {
  protected:
    void SetUp() override { InstallSuite("C:\\Velkaro"); }
    void TearDown() override { UninstallSuite(); }
};

// What value `name` of the editor's key holds as text, or "<missing>".
std::string RecentValue(const char* name) {
    const auto bytes = GetRegistryBytes(HKEY_LOCAL_MACHINE, kTestProgramKey, name);
    return bytes ? std::string(bytes->c_str()) : std::string("<missing>");
}

std::vector<std::string> RecentValues() {
    return {RecentValue("a"), RecentValue("b"), RecentValue("c"), RecentValue("d")};
}

void SetRecentValues(const std::vector<std::string>& values) {
    const char* names[] = {"a", "b", "c", "d"};
    for (size_t n = 0; n < values.size(); ++n)
        SetRegistryText(HKEY_LOCAL_MACHINE, kTestProgramKey, names[n], values[n]);
}

// The File menu with `recent` as its recent block.
Layout FileMenuWith(const Layout& recent) {
    Layout layout{"101 &New", "102 &Open...", "103 Save &as...", "105 &Save", "---"};
    layout.insert(layout.end(), recent.begin(), recent.end());
    layout.insert(layout.end(), {"---", "104 &Exit"});
    return layout;
}

const Layout kPlaceholderBlock{"100 (Recent files) grayed"};

// A load as the document code records it: the list first, then the menu.
void RecordLoad(const std::string& path) {
    AddRecentFile(path);
    RefreshRecentFileItems();
}

} // namespace

TEST_F(RecentFiles, AllValuesMissingGivesThePlaceholderAndEmptyEntries) {
    EditorSession session;
    EXPECT_FALSE(HasRecentFiles());
    for (int entry = 1; entry <= 4; ++entry)
        EXPECT_EQ(ReadRecentFile(entry), "(Empty)") << "entry " << entry;
    EXPECT_EQ(MenuLayout(FileMenu), FileMenuWith(kPlaceholderBlock));
    EXPECT_EQ(GetMenuItemCount(FileMenu), 8);
}

TEST_F(RecentFiles, OnlyTheNewestEntryDecidesWhetherTheListIsShown) {
    SetRecentValues({"", "C:\\Levels\\b.inf", "C:\\Levels\\c.inf", ""});
    EditorSession session;
    EXPECT_FALSE(HasRecentFiles());
    EXPECT_EQ(ReadRecentFile(1), "(Empty)");
    EXPECT_EQ(ReadRecentFile(2), "C:\\Levels\\b.inf");
    EXPECT_EQ(MenuLayout(FileMenu), FileMenuWith(kPlaceholderBlock));
}

TEST_F(RecentFiles, MenuShowsFileNamePartsAndGraysEmptyEntries) {
    SetRecentValues({"C:\\Games\\Levels\\credits.txt", "noslash.inf", ""}); // "d" missing
    EditorSession session;
    EXPECT_TRUE(HasRecentFiles());
    EXPECT_EQ(ReadRecentFile(1), "C:\\Games\\Levels\\credits.txt");
    EXPECT_EQ(ReadRecentFile(3), "(Empty)");
    EXPECT_EQ(ReadRecentFile(0), "(Empty)");
    EXPECT_EQ(ReadRecentFile(5), "(Empty)");
    EXPECT_EQ(ReadRecentFile(4), "(Empty)");
    EXPECT_EQ(MenuLayout(FileMenu), FileMenuWith({"106 credits.txt", "107 noslash.inf",
                                                  "108 (Empty) grayed", "109 (Empty) grayed"}));
    EXPECT_EQ(GetMenuItemCount(FileMenu), 11);
}

TEST_F(RecentFiles, LoadingTheNewestFileAgainChangesNothing) {
    SetRecentValues({"C:\\x.inf", "C:\\b.inf", "C:\\c.inf", "C:\\d.inf"});
    EditorSession session;
    RecordLoad("C:\\x.inf");
    EXPECT_EQ(RecentValues(), (Layout{"C:\\x.inf", "C:\\b.inf", "C:\\c.inf", "C:\\d.inf"}));
    EXPECT_EQ(MenuLayout(FileMenu),
              FileMenuWith({"106 x.inf", "107 b.inf", "108 c.inf", "109 d.inf"}));

    // The comparison is exact: another case is another file.
    RecordLoad("C:\\X.inf");
    EXPECT_EQ(RecentValues(), (Layout{"C:\\X.inf", "C:\\x.inf", "C:\\b.inf", "C:\\c.inf"}));
}

TEST_F(RecentFiles, ANewFileShiftsTheOthersDown) {
    SetRecentValues({"C:\\Levels\\x.inf"});
    EditorSession session;
    RecordLoad("C:\\Levels\\y.inf");
    // Missing values are shifted on as empty ones.
    EXPECT_EQ(RecentValues(), (Layout{"C:\\Levels\\y.inf", "C:\\Levels\\x.inf", "", ""}));
    EXPECT_EQ(MenuLayout(FileMenu),
              FileMenuWith({"106 y.inf", "107 x.inf", "108 (Empty) grayed", "109 (Empty) grayed"}));
}

TEST_F(RecentFiles, OnlyTheNewestEntryIsCompared) {
    SetRecentValues({"C:\\old.inf", "C:\\older.inf", "C:\\oldest.inf", "C:\\gone.inf"});
    EditorSession session;
    RecordLoad("C:\\A.inf");
    RecordLoad("C:\\B.inf");
    RecordLoad("C:\\A.inf");
    EXPECT_EQ(RecentValues(), (Layout{"C:\\A.inf", "C:\\B.inf", "C:\\A.inf", "C:\\old.inf"}));
    EXPECT_EQ(MenuLayout(FileMenu),
              FileMenuWith({"106 A.inf", "107 B.inf", "108 A.inf", "109 old.inf"}));
}

TEST_F(RecentFiles, PathsAreKeptToTheirFirst255Characters) {
    const std::string folder = "C:\\" + std::string(200, 'f') + "\\";
    const std::string exact = folder + std::string(255 - folder.size(), 'e');
    const std::string longer = folder + std::string(300 - folder.size(), 'l');
    EditorSession session;

    RecordLoad(exact);
    EXPECT_EQ(RecentValue("a"), exact);
    EXPECT_EQ(ReadRecentFile(1), exact);

    RecordLoad(longer);
    EXPECT_EQ(RecentValue("a"), longer.substr(0, 255));
    EXPECT_EQ(RecentValue("b"), exact);
    EXPECT_EQ(ReadRecentFile(1), longer.substr(0, 255));
    EXPECT_EQ(MenuLayout(FileMenu)[5], "106 " + std::string(255 - folder.size(), 'l'));

    // The same long path again matches its stored cut and changes nothing.
    RecordLoad(longer);
    EXPECT_EQ(RecentValues(), (Layout{longer.substr(0, 255), exact, "", ""}));
}

TEST_F(RecentFiles, UpdatesMoveEntriesTooLongForTheMenu) {
    // Someone else's 300-character value: too long for the menu's 256-byte reads,
    // but moved on whole by an update, which reads 500 bytes.
    const std::string foreign = "C:\\" + std::string(297, 'q');
    SetRecentValues({foreign});
    EditorSession session;
    EXPECT_FALSE(HasRecentFiles());
    EXPECT_EQ(ReadRecentFile(1), "(Empty)");
    RecordLoad("C:\\new.inf");
    EXPECT_EQ(RecentValues(), (Layout{"C:\\new.inf", foreign, "", ""}));
    EXPECT_EQ(ReadRecentFile(2), "(Empty)");
}

TEST_F(RecentFiles, FirstLoadReplacesThePlaceholderByFourEntries) {
    EditorSession session;
    ASSERT_EQ(MenuLayout(FileMenu), FileMenuWith(kPlaceholderBlock));
    RecordLoad("C:\\Levels\\first.inf");
    EXPECT_EQ(MenuLayout(FileMenu), FileMenuWith({"106 first.inf", "107 (Empty) grayed",
                                                  "108 (Empty) grayed", "109 (Empty) grayed"}));
    RecordLoad("C:\\Levels\\second.inf");
    EXPECT_EQ(MenuLayout(FileMenu), FileMenuWith({"106 second.inf", "107 first.inf",
                                                  "108 (Empty) grayed", "109 (Empty) grayed"}));
    EXPECT_EQ(GetMenuItemCount(FileMenu), 11);
}

TEST_F(RecentFiles, AMissingKeyLeavesTheListAndCreatesNothing) {
    EditorSession session;
    DeleteRegistryTree(HKEY_LOCAL_MACHINE, kTestProgramKey);
    RecordLoad("C:\\Levels\\x.inf");
    HKEY own = nullptr;
    EXPECT_NE(RegOpenKeyExA(HKEY_LOCAL_MACHINE, kTestProgramKey, 0, KEY_QUERY_VALUE, &own), 0);
    // Nothing was recorded, so the menu keeps the placeholder.
    EXPECT_EQ(MenuLayout(FileMenu), FileMenuWith(kPlaceholderBlock));
}

TEST_F(RecentFiles, AnUnreadableListShowsFourEmptyEntries) {
    SetRecentValues({"C:\\a.inf", "C:\\b.inf"});
    EditorSession session;
    DeleteRegistryTree(HKEY_LOCAL_MACHINE, kTestProgramKey);
    EXPECT_FALSE(HasRecentFiles());
    RecordLoad("C:\\Levels\\x.inf");
    EXPECT_EQ(MenuLayout(FileMenu), FileMenuWith({"106 (Empty) grayed", "107 (Empty) grayed",
                                                  "108 (Empty) grayed", "109 (Empty) grayed"}));
}

namespace {

// Real loads through the document commands, of files in a fresh folder.
class RecentFilesAfterLoads : public RecentFiles {
  protected:
    void SetUp() override {
        RecentFiles::SetUp();
        folder_ = FreshFolder("recent-files");
        for (const char* name : {"first.txt", "second.txt"})
            WriteFileBytes(Path(name), std::string("text of ") + name);
    }
    std::string Path(const char* name) const { return folder_ + "\\" + name; }

  private:
    std::string folder_;
};

} // namespace

TEST_F(RecentFilesAfterLoads, EachLoadIsListedNewestFirst) {
    EditorSession session;
    ASSERT_EQ(MenuLayout(FileMenu), FileMenuWith(kPlaceholderBlock));
    ASSERT_TRUE(LoadDocument(Path("first.txt"), FileType::Text));
    EXPECT_EQ(MenuLayout(FileMenu), FileMenuWith({"106 first.txt", "107 (Empty) grayed",
                                                  "108 (Empty) grayed", "109 (Empty) grayed"}));
    ASSERT_TRUE(LoadDocument(Path("second.txt"), FileType::Text));
    ASSERT_TRUE(LoadDocument(Path("second.txt"), FileType::Text));
    EXPECT_EQ(RecentValues(), (Layout{Path("second.txt"), Path("first.txt"), "", ""}));
    EXPECT_EQ(MenuLayout(FileMenu), FileMenuWith({"106 second.txt", "107 first.txt",
                                                  "108 (Empty) grayed", "109 (Empty) grayed"}));
}

TEST_F(RecentFilesAfterLoads, ChoosingAnEntryReopensItsFileAtTheTop) {
    SetRecentValues({Path("second.txt"), Path("first.txt")});
    EditorSession session;
    SendCommand(CMD_RECENT_1 + 1);
    EXPECT_EQ(EditorText(), "text of first.txt");
    EXPECT_EQ(RecentValues(),
              (Layout{Path("first.txt"), Path("second.txt"), Path("first.txt"), ""}));
    EXPECT_EQ(MenuLayout(FileMenu), FileMenuWith({"106 first.txt", "107 second.txt",
                                                  "108 first.txt", "109 (Empty) grayed"}));
}

TEST_F(RecentFilesAfterLoads, AFailedLoadLeavesTheListAlone) {
    SetRecentValues({Path("first.txt")});
    EditorSession session;
    BoxWatcher watcher;
    watcher.ExpectButton(IDOK);
    EXPECT_FALSE(LoadDocument(Path("missing.txt"), FileType::Text));
    EXPECT_EQ(watcher.Seen().size(), 1u);
    EXPECT_EQ(RecentValues(), (Layout{Path("first.txt"), "<missing>", "<missing>", "<missing>"}));
    EXPECT_EQ(MenuLayout(FileMenu), FileMenuWith({"106 first.txt", "107 (Empty) grayed",
                                                  "108 (Empty) grayed", "109 (Empty) grayed"}));
}
