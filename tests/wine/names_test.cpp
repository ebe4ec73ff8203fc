// Files reached by name rather than through the file dialog: the recent list, the command
// line and files dropped on the window, and the layout each name asks for.
#include "support/harness.h"

#include "document/document.h"
#include "document/recent_files.h"
#include "resources/resource_ids.h"

namespace {

using namespace std::string_literals;

struct Names : Suite {
    static std::string Recent() {
        std::string menu = MenuText(FileMenu), values;
        for (const char* entry : {"a", "b", "c", "d"})
            values += Value(kOwnKey, entry) + "|";
        return values + menu.substr(52, menu.size() - 66); // the block between the separators
    }
};

} // namespace

TEST_F(Names, RecentListRows) {
    const std::string empty = "108 (Empty) grayed|109 (Empty) grayed|";
    enum { kKeep, kNoKey, kKeyGoesAfterStart };
    const auto lists = [&](std::vector<std::string> before, std::vector<std::string> loads, int key,
                           std::string after) {
        RegDeleteTreeA(HKEY_LOCAL_MACHINE, kOwnKey);
        if (key != kNoKey)
            SetValue(kOwnKey, "EersteKeer", "");
        for (size_t i = 0; i < before.size(); ++i)
            SetValue(kOwnKey, std::string(1, char('a' + i)).c_str(), before[i]);
        Editor editor;
        if (key == kKeyGoesAfterStart)
            RegDeleteTreeA(HKEY_LOCAL_MACHINE, kOwnKey);
        for (const std::string& path : loads) // as a load records it
            AddRecentFile(path), RefreshRecentFileItems();
        EXPECT_EQ(Recent(), after);
    };
    lists({}, {}, kKeep, "-|-|-|-|100 (Recent files) grayed|");
    lists({"", "C:\\b", "C:\\c"}, {}, kKeep, "|C:\\b|C:\\c|-|100 (Recent files) grayed|");
    lists({"C:\\G\\credits.txt", "x.inf", ""}, {}, kKeep,
          "C:\\G\\credits.txt|x.inf||-|106 credits.txt|107 x.inf|" + empty);
    lists({}, {"C:\\L\\Tom&Jerry.txt"}, kKeep,
          "C:\\L\\Tom&Jerry.txt||||106 Tom&&Jerry.txt|107 (Empty) grayed|" + empty);
    lists({"C:\\x"}, {"C:\\y"}, kKeep, "C:\\y|C:\\x|||106 y|107 x|" + empty);
    lists({"C:\\x", "C:\\b", "C:\\c", "C:\\d"}, {"C:\\x", "C:\\X"}, kKeep,
          "C:\\X|C:\\x|C:\\b|C:\\c|106 X|107 x|108 b|109 c|");
    lists({"C:\\o", "C:\\p", "C:\\q", "C:\\r"}, {"C:\\A", "C:\\B", "C:\\A"}, kKeep,
          "C:\\A|C:\\B|C:\\A|C:\\o|106 A|107 B|108 A|109 o|");
    const std::string path = "C:\\" + std::string(200, 'f') + "\\", e(51, 'e'), l(96, 'l');
    lists({}, {path + e, path + l, path + l}, kKeep,
          path + l.substr(0, 51) + "|" + path + e + "|||106 " + l.substr(0, 51) + "|107 " + e +
              "|" + empty);
    lists({"C:\\" + std::string(297, 'q')}, {"C:\\new"}, kKeep,
          "C:\\new|C:\\" + std::string(297, 'q') + "|||106 new|107 (Empty) grayed|" + empty);
    lists({}, {"C:\\x"}, kNoKey, "-|-|-|-|100 (Recent files) grayed|");
    lists({"C:\\a"}, {"C:\\x"}, kKeyGoesAfterStart,
          "-|-|-|-|106 (Empty) grayed|107 (Empty) grayed|" + empty);
}

TEST_F(Names, TheLayoutComesFromTheNameHoweverTheFileIsReached) {
    SetCurrentDirectoryA(folder.c_str());
    const auto loads = [&](const char* way, const char* name, std::string bytes, std::string text,
                           std::string saved) {
        SCOPED_TRACE(std::string(way) + " " + name);
        WriteBytes(Path(name), bytes);
        SetValue(kOwnKey, "a", Path(name));
        Editor editor(way == "command line"s ? "scribane.exe "s + name
                                             : "scribane.exe"); // relative
        way == "recent entry"s ? Command(CMD_RECENT_1) : void();
        way == "drop"s ? void(DropFiles({Path(name), Path("other.txt")})) : void();
        EXPECT_EQ(Look(), text + "|saved|" + Path(name) + "|" + (text == "abc" ? "2|" : "0|") +
                              name + " - Scribane| " + Path(name) + "|\t|" + Path(name) + "|-|-|-");
        Put(text + "!", true);
        Command(CMD_SAVE);
        EXPECT_EQ(ReadBytes(Path(name)), saved);
    };
    for (const char* way : {"command line", "recent entry", "drop"}) {
        loads(way, "lvl.inf", "\x11\0\0\0abc\0"s, "abc", "\x11\0\0\0abc!\0"s);
        loads(way, "UP.INF", "\x11\0\0\0abc\0"s, "abc", "\x11\0\0\0abc!\0"s);
        loads(way, "credits.txt", "Hello world", "Hello world", "Hello world!");
    }
    // A failed load by name is reported and changes nothing.
    CreateDirectoryA(Path("folder.txt").c_str(), nullptr);
    SetValue(kOwnKey, "b", Path("gone.txt"));
    Editor editor;
    Put("unsaved", false);
    const std::string before = Look();
    Command(CMD_RECENT_1 + 1);
    EXPECT_EQ(GlobalSize(DropFiles({Path("folder.txt")})), 0u);
    EXPECT_EQ(Look(), before);
    EXPECT_EQ(std::to_string(ReportedError(seen.at(0))) + std::to_string(ReportedError(seen.at(1))),
              "25");
}

TEST_F(Names, CommandLineNames) {
    std::string nest = folder; // a folder of 246 characters, holding "name.txt" at 255
    for (size_t room; (room = 246 - nest.size()) > 0; CreateDirectoryA(nest.c_str(), nullptr))
        nest += "\\" + std::string(room - 1 > 100 ? 60 : room - 1, 'f');
    WriteBytes(nest + "\\name.txt", "long");
    WriteBytes(nest + "\\abcdefgh.txt", "deep");
    const auto starts = [&](std::string arguments, std::string current, std::string text,
                            int error) {
        SCOPED_TRACE(arguments.substr(arguments.size() > 20 ? arguments.size() - 20 : 0));
        SetCurrentDirectoryA(current.c_str());
        Editor editor("scribane.exe " + arguments);
        EXPECT_EQ(Text() + "|" + Status(0),
                  text + (text.empty() ? "|(Unsaved)" : "| " + nest + "\\name.txt"));
        EXPECT_EQ(std::to_string(seen.size() ? ReportedError(Take()[0]) : 0),
                  std::to_string(error));
    };
    starts("\"" + nest + "\\name.txt\"", folder, "long", 0);
    starts("\"" + nest + "\\name.txtx\"", folder, "", 206); // its first 255 characters name a file
    starts("abcdefgh.txt", nest, "", 206);                  // as long once made absolute
    starts("missing.txt", folder, "", 2);
    starts("\"\" " + nest + "\\name.txt", folder, "", 0);
    EXPECT_EQ(Value(kOwnKey, "a"), nest + "\\name.txt");
    // Longer paths come only from the file dialog: the status bar, the title and the recent
    // list keep their first 255 characters.
    WriteBytes(nest + "\\nnnnnnnn.txt", "259");
    Editor editor;
    ASSERT_TRUE(LoadDocument(nest + "\\nnnnnnnn.txt", FileType::Text));
    EXPECT_EQ(Status(0) + "|" + Title() + "|" + Value(kOwnKey, "a"),
              " " + nest + "\\nnnnnnnn|nnnnnnnn - Scribane|" + nest + "\\nnnnnnnn");
}
