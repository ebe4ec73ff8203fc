// Files reached by name rather than through the file dialog: the recent list, the command line and
// files dropped on the window, and the layout each name asks for.
#include "support/harness.h"

#include "document/document.h"
#include "document/recent_files.h"
#include "resources/resource_ids.h"

using namespace std::string_literals;
using Names = Suite;

TEST_F(Names, RecentListRows) {
    enum { kKeep, kNoKey, kKeyGoesAfterStart };
    const auto lists = [&](std::vector<std::string> before, std::vector<std::string> loads, int key,
                           std::string after) {
        RegDeleteTreeA(HKEY_LOCAL_MACHINE, kOwnKey);
        if (key != kNoKey)
            SetValue(kOwnKey, "EersteKeer", ""); // the key, without a greeting
        for (size_t i = 0; i < before.size(); ++i)
            SetValue(kOwnKey, std::string(1, char('a' + i)).c_str(), before[i]);
        Editor editor;
        if (key == kKeyGoesAfterStart)
            RegDeleteTreeA(HKEY_LOCAL_MACHINE, kOwnKey);
        for (const std::string& path : loads) // as a load records it
            AddRecentFile(path), RefreshRecentFileItems();
        const std::string menu =
            MenuText(FileMenu); // the block between the separators, after the values
        EXPECT_EQ(Value(kOwnKey, "a") + "|" + Value(kOwnKey, "b") + "|" + Value(kOwnKey, "c") +
                      "|" + Value(kOwnKey, "d") + "|" + menu.substr(52, menu.size() - 66),
                  after);
    };
    const std::string empty = "108 (Empty) grayed|109 (Empty) grayed|",
                      path = "C:\\" + std::string(200, 'f') + "\\";
    lists({}, {}, kKeep, "-|-|-|-|100 (Recent files) grayed|");
    lists({"", "C:\\b", "C:\\c"}, {}, kKeep, "|C:\\b|C:\\c|-|100 (Recent files) grayed|");
    lists({"C:\\G\\credits.txt", "x.inf", ""}, {}, kKeep,
          "C:\\G\\credits.txt|x.inf||-|106 credits.txt|107 x.inf|" + empty);
    lists({}, {"C:\\Tom&Jerry.txt"}, kKeep,
          "C:\\Tom&Jerry.txt||||106 Tom&&Jerry.txt|107 (Empty) grayed|" + empty);
    lists({"C:\\x", "C:\\b", "C:\\c", "C:\\d"}, {"C:\\x", "C:\\X"}, kKeep,
          "C:\\X|C:\\x|C:\\b|C:\\c|106 X|107 x|108 b|109 c|");
    lists({"C:\\o", "C:\\p", "C:\\q"}, {"C:\\A", "C:\\B", "C:\\A"}, kKeep,
          "C:\\A|C:\\B|C:\\A|C:\\o|106 A|107 B|108 A|109 o|");
    lists({},
          {path + std::string(51, 'e'), path + std::string(96, 'l'), path + std::string(96, 'l')},
          kKeep,
          path + std::string(51, 'l') + "|" + path + std::string(51, 'e') + "|||106 " +
              std::string(51, 'l') + "|107 " + std::string(51, 'e') + "|" +
              empty); // 255 characters kept
    lists({"C:\\" + std::string(297, 'q')}, {"C:\\n"}, kKeep,
          "C:\\n|C:\\" + std::string(297, 'q') + "|||106 n|107 (Empty) grayed|" +
              empty); // too long to show
    lists({}, {"C:\\x"}, kNoKey, "-|-|-|-|100 (Recent files) grayed|");
    lists({"C:\\a"}, {"C:\\x"}, kKeyGoesAfterStart,
          "-|-|-|-|106 (Empty) grayed|107 (Empty) grayed|" + empty);
}

TEST_F(Names, TheLayoutComesFromTheNameHoweverTheFileIsReached) {
    SetCurrentDirectoryA(folder.c_str());
    for (const char* way : {"command line", "recent entry", "drop"})
        for (auto [name, bytes, saved] :
             {std::tuple{"lvl.inf", "\x11\0\0\0abc\0"s, "\x11\0\0\0abc!\0"s},
              {"UP.INF", "\x11\0\0\0abc\0"s, "\x11\0\0\0abc!\0"s},
              {"credits.txt", "abc"s, "abc!"s}}) {
            SCOPED_TRACE(std::string(way) + " " + name);
            WriteBytes(Path(name), bytes);
            SetValue(kOwnKey, "a", Path(name));
            Editor editor(way == "command line"s ? "scribane.exe "s + name
                                                 : "scribane.exe"); // a relative name
            way == "recent entry"s ? Command(CMD_RECENT_1) : void();
            way == "drop"s ? void(DropFiles({Path(name), Path("other.txt")})) : void();
            EXPECT_EQ(Look(), "abc|saved|" + Path(name) + (saved.size() > 4 ? "|2|" : "|0|") +
                                  name + " - Scribane| " + Path(name) + "|\t|" + Path(name) +
                                  "|-|-|-");
            Put("abc!", true);
            Command(CMD_SAVE);
            EXPECT_EQ(ReadBytes(Path(name)), saved);
        }
    // A failed load by name is reported and changes nothing.
    CreateDirectoryA(Path("folder.txt").c_str(), nullptr);
    SetValue(kOwnKey, "b", Path("gone.txt"));
    Editor editor;
    Put("unsaved", false);
    const std::string before = Look();
    Command(CMD_RECENT_1 + 1);
    EXPECT_EQ(GlobalSize(DropFiles({Path("folder.txt")})), 0u);
    EXPECT_EQ(Look() + std::to_string(ReportedError(seen.at(0))) +
                  std::to_string(ReportedError(seen.at(1))),
              before + "25");
}

TEST_F(Names, CommandLineNames) {
    std::string nest = folder; // a folder of 246 characters, holding "name.txt" at 255
    for (size_t room; (room = 246 - nest.size()) > 0; CreateDirectoryA(nest.c_str(), nullptr))
        nest += "\\" + std::string(room - 1 > 100 ? 60 : room - 1, 'f');
    WriteBytes(nest + "\\name.txt", "long");
    WriteBytes(nest + "\\abcdefgh.txt", "deep");
    WriteBytes(nest + "\\nnnnnnnn.txt", "259");
    const auto starts = [&](std::string arguments, std::string current, std::string look) {
        SetCurrentDirectoryA(current.c_str());
        Editor editor("scribane.exe " + arguments);
        EXPECT_EQ(Text() + "|" + Status(0) + "|" +
                      std::to_string(seen.size() ? ReportedError(Take()[0]) : 0),
                  look);
    };
    starts("\"" + nest + "\\name.txt\"", folder, "long| " + nest + "\\name.txt|0");
    starts("\"" + nest + "\\name.txtx\"", folder,
           "|(Unsaved)|206");                       // its first 255 characters name a file
    starts("abcdefgh.txt", nest, "|(Unsaved)|206"); // as long once made absolute
    starts("missing.txt", folder, "|(Unsaved)|2");
    starts("\"\" " + nest + "\\name.txt", folder, "|(Unsaved)|0");
    // Longer paths come only from the file dialog: the status bar, the title and the recent list
    // keep 255 characters.
    Editor editor;
    ASSERT_TRUE(LoadDocument(nest + "\\nnnnnnnn.txt", FileType::Text));
    EXPECT_EQ(Status(0) + "|" + Title() + "|" + Value(kOwnKey, "a"),
              " " + nest + "\\nnnnnnnn|nnnnnnnn - Scribane|" + nest + "\\nnnnnnnn");
}
