// Files reached by name rather than through the file dialog: the recent list, the command
// line and files dropped on the window, and the layout each name asks for.
#include "document/document.h"
#include "document/recent_files.h"
#include "platform/app_state.h"
#include "resources/resource_ids.h"
#include "support/harness.h"

namespace {

using namespace std::string_literals;
using Names = Suite;
const char* const kEntries[] = {"a", "b", "c", "d"};

std::string RecentValues() {
    std::string values;
    for (const char* entry : kEntries)
        values += Value(kOwnKey, entry).value_or("-") + "|";
    return values;
}

std::string RecentBlock() {
    const std::string menu = MenuText(FileMenu), start = "105 &Save|---|";
    return menu.substr(start.size() + menu.find(start), menu.rfind("|---|104 &Exit|") - menu.find(start) - start.size() + 1);
}

} // namespace

TEST_F(Names, RecentListRows) {
    const std::string folder200 = "C:\\" + std::string(200, 'f') + "\\", exact = folder200 + std::string(51, 'e'),
                      longer = folder200 + std::string(96, 'l'), foreign = "C:\\" + std::string(297, 'q');
    const std::string empty = "108 (Empty) grayed|109 (Empty) grayed|";
    enum { kKeep, kNoKey, kKeyGoesAfterStart };
    struct Row { std::vector<std::string> before, loads; int key; std::string after, block; };
    const Row rows[] = {
        {{}, {}, kKeep, "-|-|-|-|", "100 (Recent files) grayed|"},
        {{"", "C:\\b.inf", "C:\\c.inf"}, {}, kKeep, "|C:\\b.inf|C:\\c.inf|-|", "100 (Recent files) grayed|"},
        {{"C:\\G\\credits.txt", "noslash.inf", ""}, {}, kKeep, "C:\\G\\credits.txt|noslash.inf||-|",
         "106 credits.txt|107 noslash.inf|" + empty},
        {{}, {"C:\\L\\first.inf"}, kKeep, "C:\\L\\first.inf||||", "106 first.inf|107 (Empty) grayed|" + empty},
        {{"C:\\x.inf"}, {"C:\\y.inf"}, kKeep, "C:\\y.inf|C:\\x.inf|||", "106 y.inf|107 x.inf|" + empty},
        {{"C:\\x.inf", "C:\\b", "C:\\c", "C:\\d"}, {"C:\\x.inf"}, kKeep, "C:\\x.inf|C:\\b|C:\\c|C:\\d|",
         "106 x.inf|107 b|108 c|109 d|"},
        {{"C:\\x.inf", "C:\\b", "C:\\c", "C:\\d"}, {"C:\\X.inf"}, kKeep, "C:\\X.inf|C:\\x.inf|C:\\b|C:\\c|",
         "106 X.inf|107 x.inf|108 b|109 c|"},
        {{"C:\\o", "C:\\p", "C:\\q", "C:\\r"}, {"C:\\A", "C:\\B", "C:\\A"}, kKeep, "C:\\A|C:\\B|C:\\A|C:\\o|",
         "106 A|107 B|108 A|109 o|"}, // only the newest entry is compared
        {{}, {exact, longer, longer}, kKeep, longer.substr(0, 255) + "|" + exact + "|||",
         "106 " + std::string(51, 'l') + "|107 " + std::string(51, 'e') + "|" + empty},
        {{foreign}, {"C:\\new.inf"}, kKeep, "C:\\new.inf|" + foreign + "|||",
         "106 new.inf|107 (Empty) grayed|" + empty}, // too long for the menu, moved on whole
        {{}, {"C:\\Tom&Jerry.txt"}, kKeep, "C:\\Tom&Jerry.txt||||", "106 Tom&&Jerry.txt|107 (Empty) grayed|" + empty},
        {{}, {"C:\\x.inf"}, kNoKey, "-|-|-|-|", "100 (Recent files) grayed|"}, // keys are never created
        {{"C:\\a.inf"}, {"C:\\x.inf"}, kKeyGoesAfterStart, "-|-|-|-|",
         "106 (Empty) grayed|107 (Empty) grayed|" + empty},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.after.substr(0, 40));
        RegDeleteTreeA(HKEY_LOCAL_MACHINE, kOwnKey);
        if (row.key != kNoKey)
            SetValue(kOwnKey, "EersteKeer", ""); // the key, and no greeting
        for (size_t i = 0; i < row.before.size(); ++i)
            SetValue(kOwnKey, kEntries[i], row.before[i]);
        Editor editor;
        if (row.key == kKeyGoesAfterStart)
            RegDeleteTreeA(HKEY_LOCAL_MACHINE, kOwnKey);
        for (const std::string& path : row.loads) // as a load records it
            AddRecentFile(path), RefreshRecentFileItems();
        EXPECT_EQ(RecentValues(), row.after);
        EXPECT_EQ(RecentBlock(), row.block);
    }
}

TEST_F(Names, RecentEntriesReopenAndFailedOnesChangeNothing) {
    WriteBytes(Path("first.txt"), "text of first");
    WriteBytes(Path("second.txt"), "second");
    SetValue(kOwnKey, "a", Path("second.txt"));
    SetValue(kOwnKey, "b", Path("first.txt"));
    Editor editor;
    Command(CMD_RECENT_1 + 1);
    EXPECT_EQ(Text(), "text of first");
    EXPECT_EQ(RecentValues(), Path("first.txt") + "|" + Path("second.txt") + "|" + Path("first.txt") + "||");
    EXPECT_EQ(RecentBlock(), "106 first.txt|107 second.txt|108 first.txt|109 (Empty) grayed|");
    // An entry that is gone or has become a folder, or a dropped folder, is reported.
    CreateDirectoryA(Path("folder.txt").c_str(), nullptr);
    SetValue(kOwnKey, "c", Path("folder.txt"));
    SetValue(kOwnKey, "d", Path("gone.txt"));
    Put("unsaved work", false);
    const std::string before = Look();
    Command(CMD_RECENT_4);
    Command(CMD_RECENT_1 + 2);
    EXPECT_EQ(GlobalSize(DropFiles({Path("folder.txt")})), 0u);
    EXPECT_EQ(Look(), before);
    std::string errors;
    for (const Box& box : boxes.seen)
        errors += std::to_string(ReportedError(box)) + " ";
    EXPECT_EQ(errors, "2 5 5 ");
}

TEST_F(Names, TheLayoutComesFromTheName) {
    struct Row { const char* name; std::string bytes, text, saved; };
    const Row rows[] = {{"lvl.inf", "\x11\0\0\0abc\0"s, "abc", "\x11\0\0\0abc!\0"s},
                        {"UP.INF", "\x11\0\0\0abc\0"s, "abc", "\x11\0\0\0abc!\0"s},
                        {"credits.txt", "Hello world", "Hello world", "Hello world!"}};
    SetCurrentDirectoryA(folder.c_str());
    for (const char* way : {"command line", "recent entry", "drop"})
        for (const Row& row : rows) {
            SCOPED_TRACE(std::string(way) + " " + row.name);
            const std::string path = Path(row.name);
            WriteBytes(path, row.bytes);
            SetValue(kOwnKey, "a", path);
            // A relative name on the command line is made absolute.
            Editor editor(way == "command line"s ? "scribane.exe "s + row.name : "scribane.exe");
            if (way == "recent entry"s)
                Command(CMD_RECENT_1);
            if (way == "drop"s)
                DropFiles({path, Path("other.txt")});
            EXPECT_EQ(Look(), row.text + "|saved|" + path + "|" + (row.text == "abc" ? "2" : "0") + "|" + row.name +
                                  " - Scribane| " + path + "|\t|" + path + "|-|-|-");
            Put(row.text + "!", true);
            Command(CMD_SAVE);
            EXPECT_EQ(ReadBytes(path), row.saved);
        }
    EXPECT_TRUE(boxes.seen.empty());
}

TEST_F(Names, CommandLineNames) {
    // A folder of 246 characters: its file "name.txt" has a path of 255.
    std::string nest = folder;
    for (size_t room; (room = 246 - nest.size()) > 0; CreateDirectoryA(nest.c_str(), nullptr))
        nest += "\\" + std::string(room - 1 > 100 ? 60 : room - 1, 'f');
    const std::string path255 = nest + "\\name.txt";
    WriteBytes(path255, "long");
    WriteBytes(nest + "\\abcdefgh.txt", "deep");
    WriteBytes(Path("quoted name.txt"), "quoted");
    struct Row { std::string arguments, current, text; int error; };
    const Row rows[] = {
        {"\"" + path255 + "\"", folder, "long", 0},
        {"\"" + path255 + "x\"", folder, "", 206}, // its first 255 characters name a file
        {"abcdefgh.txt", nest, "", 206},           // as long once made absolute
        {"missing.txt", folder, "", 2},
        {"\"" + Path("quoted name.txt"), folder, "quoted", 0}, // an open quote runs to the end
        {"\"\"", folder, "", 0}, {"'' other.txt", folder, "", 0}, {"  ", folder, "", 0},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.arguments.substr(row.arguments.size() > 30 ? row.arguments.size() - 30 : 0));
        SetCurrentDirectoryA(row.current.c_str());
        Editor editor("scribane.exe " + row.arguments);
        EXPECT_EQ(Text(), row.text);
        EXPECT_EQ(Status(0), row.text.empty() ? "(Unsaved)" : " " + DocumentState.CurrentFileName);
        EXPECT_EQ(Title() == "Scribane", row.text.empty());
        const auto seen = boxes.Take();
        ASSERT_EQ(seen.size(), row.error ? 1u : 0u);
        EXPECT_EQ(row.error ? ReportedError(seen[0]) : 0, row.error);
    }
    EXPECT_EQ(RecentValues(), Path("quoted name.txt") + "|" + path255 + "|||");
    // Longer paths come only from the file dialog: the status bar, the title and the
    // recent list keep their first 255 characters.
    const std::string path259 = nest + "\\nnnnnnnn.txt";
    WriteBytes(path259, "259");
    Editor editor;
    ASSERT_TRUE(LoadDocument(path259, FileType::Text));
    EXPECT_EQ(Status(0) + "|" + Title(), " " + path259.substr(0, 255) + "|nnnnnnnn - Scribane");
    EXPECT_EQ(Value(kOwnKey, "a"), path259.substr(0, 255));
}
