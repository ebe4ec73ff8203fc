// The rules that need no window, one table each, run natively with the sanitizers.
#include <gtest/gtest.h>

#include "app/command_line.h"
#include "app/date_time_text.h"
#include "document/document_layout.h"
#include "document/path_text.h"
#include "document/search.h"
#include "suite/suite_table.h"

using namespace std::string_literals;
using Loss = LoadLoss;
constexpr FileType kLevel = FileType::LevelDescription;

TEST(DocumentLayout, DecodeAndEncode) {
    struct Row { FileType type; std::string bytes, text; int error; Loss loss; size_t nul; bool same; };
    const Row rows[] = {  // same: encoding the text gives the bytes back
        {kLevel, "\x11\0\0\0abc\0"s, "abc", 0, Loss::None, 0, true},
        {kLevel, "\x11\0\0\0l 1\r\nl 2\0"s, "l 1\r\nl 2", 0, Loss::None, 0, true},
        {kLevel, "", "", 0, Loss::None, 0, true},
        {kLevel, "\x11\0\0\0"s, "", 0, Loss::None, 0, false},
        {kLevel, "\x11\0\0\0abc"s, "abc", 0, Loss::None, 0, false},
        {kLevel, "\x11\0\0\0ab\0cd\0"s, "ab", 0, Loss::CutAtNul, 6, false},
        {kLevel, "\x11\0\0\0abc\0\0"s, "abc", 0, Loss::CutAtNul, 7, false},
        {kLevel, "\x11\0\0\0\0abc"s, "", 0, Loss::CutAtNul, 4, false},
        {kLevel, "abcdtext\0"s, "text", 0, Loss::MissingHeader, 0, false},
        {kLevel, "\0\0\0\0x"s, "x", 0, Loss::MissingHeader, 0, false},
        {kLevel, "Hello\0world"s, "o", 0, Loss::CutAtNul, 5, false},
        {kLevel, "\x11"s, "", 204, Loss::None, 0, false},
        {kLevel, "\x11\0"s, "", 204, Loss::None, 0, false},
        {kLevel, "\x11\0\0"s, "", 100, Loss::None, 0, false},
        {FileType::Text, "a\r\n\xE9\r\n", "a\r\n\xE9\r\n", 0, Loss::None, 0, true},
        {FileType::Text, "", "", 0, Loss::None, 0, true},
        {FileType::Text, "\x11\0"s, "\x11", 0, Loss::CutAtNul, 1, false},
        {FileType::AllFiles, "ab\0cd"s, "ab", 0, Loss::CutAtNul, 2, false},
        {FileType::Credits, "ab\0"s, "ab", 0, Loss::CutAtNul, 2, false},
        {FileType::None, "\x11\0\0\0abc\0"s, "\x11", 0, Loss::CutAtNul, 1, false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::PrintToString(row.bytes) + " as " + std::to_string(int(row.type)));
        const DecodedDocument decoded = DecodeDocument(row.bytes, row.type);
        EXPECT_EQ(decoded.Text, row.text);
        EXPECT_EQ(decoded.ErrorNumber, row.error);
        EXPECT_EQ(decoded.Loss, row.loss);
        EXPECT_EQ(decoded.NulOffset, row.nul);
        EXPECT_EQ(row.same ? EncodeDocument(row.text, row.type) : row.bytes, row.bytes);
    }
    for (FileType type : {FileType::None, FileType::Credits, FileType::AllFiles})
        EXPECT_EQ(EncodeDocument("abc", type), "abc");
    EXPECT_EQ(FileDialogFilter(), "Populous Credits\0credits.txt\0Level description (*.inf)\0*.inf\0"
                                  "Text file (*.txt)\0*.txt\0All files \0*.*\0\0"s);
}

TEST(DocumentLayout, TypeForNameAndLossTexts) {
    for (const char* name : {"a.inf", "C:\\L\\B.INF", ".Inf", "x.iNf"})
        EXPECT_EQ(FileTypeForName(name), kLevel) << name;
    for (const char* name : {"a.txt", "credits.txt", "inf", "a.inf.txt", "a.in", "a.infx", ""})
        EXPECT_EQ(FileTypeForName(name), FileType::None) << name;
    EXPECT_EQ(LoadLossWarning(Loss::CutAtNul, 39), "This file holds a NUL byte at position 39: only the "
              "text before it is shown, and saving it would cut the file there.");
    EXPECT_EQ(LoadLossWarning(Loss::MissingHeader, 0), "This file does not start with a level "
              "description header: its first four bytes are not shown, and saving it would replace them.");
    EXPECT_EQ(SaveLossQuestion(Loss::CutAtNul, 39, 18), "Saving will shorten this file from 39 to 18 "
              "bytes. Save anyway?");
    EXPECT_EQ(SaveLossQuestion(Loss::MissingHeader, 11, 12),
              "Saving will replace the first four bytes of this file. Save anyway?");
}

TEST(ErrorReport, NumbersAndBoxes) {
    const std::pair<unsigned long, int> numbers[] = {{2, 2}, {3, 3}, {5, 5}, {32, 5}, {18, 18},
        {19, 150}, {25, 156}, {31, 162}, {33, 33}, {112, 112}, {206, 206}, {1177, 1177}};
    for (const auto& [code, number] : numbers)
        EXPECT_EQ(ErrorNumberForSystemCode(code), number) << code;
    EXPECT_EQ(ErrorReportBoxes(5, {0x0040ABCD, 0x00401F00, 0x7C80B713}), std::vector<std::string>{
        "Runtime error 5 at 0x0040ABCD\r\n  0x0040ABCD\r\n  0x00401F00\r\n  0x7C80B713\r\n\r\n"});
    EXPECT_EQ(ErrorReportBoxes(204, {0x0000ab0f}),
              std::vector<std::string>{"Runtime error 204 at 0x0000AB0F\r\n  0x0000AB0F\r\n\r\n"});
    // 300 callers, of which 256 are listed: a first line of 31 characters and lines of 14
    // fill boxes of 1024, and the rest of a cut line is dropped.
    std::vector<std::uint32_t> addresses;
    for (std::uint32_t i = 0; i <= 300; ++i)
        addresses.push_back(0x00401000 + i);
    const auto boxes = ErrorReportBoxes(2, addresses);
    const std::pair<std::string, std::string> ends[] = {
        {"Runtime error 2 at 0x00401000\r\n  0x00401000\r\n", "  0x00401045\r\n  0x00401046\r"},
        {"  0x00401047\r\n", "  0x0040108F\r\n  "}, {"  0x00401091\r\n", "  0x004010D9\r\n  "},
        {"  0x004010DB\r\n", "  0x00401100\r\n\r\n"}};
    ASSERT_EQ(boxes.size(), 4u);
    for (size_t i = 0; i < 4; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(boxes[i].size() == 1024, i < 3);
        EXPECT_EQ(boxes[i].substr(0, ends[i].first.size()), ends[i].first);
        EXPECT_EQ(boxes[i].substr(boxes[i].size() - ends[i].second.size()), ends[i].second);
    }
}

TEST(ErrorReport, BufferOf1024Characters) {
    struct Row { std::vector<std::string> lines, boxes; std::string collected; };
    const std::string x(1022, 'x'), y(1030, 'y');
    const Row rows[] = {
        {{x + "\r\n"}, {}, x + "\r\n"},
        {{x + "\r\n", "next\r\n", "after\r\n"}, {x + "\r\n"}, "after\r\n"},
        {{y + "\r\n", "\r\n"}, {y.substr(0, 1024), "\r\n"}, ""},
        {{"one\r\n", "\r\n", "two\r\n"}, {"one\r\n\r\n"}, "two\r\n"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.lines.size());
        ErrorReportBuffer report;
        for (const std::string& line : row.lines)
            AddReportLine(report, line);
        EXPECT_EQ(report.Boxes, row.boxes);
        EXPECT_EQ(report.Collected, row.collected);
        FlushErrorReport(report);
        FlushErrorReport(report);
        EXPECT_EQ(report.Boxes.size(), row.boxes.size() + !row.collected.empty());
    }
}

TEST(CommandLine, FirstArgument) {
    const std::pair<std::string, std::string> rows[] = {
        {"scribane.exe level.inf", "level.inf"}, {"scribane.exe \t\r a.inf b.txt", "a.inf"},
        {"\"C:\\Program Files\\V\\scribane.exe\" a.txt", "a.txt"},
        {"scribane.exe \"C:\\My Levels\\x.inf\"", "C:\\My Levels\\x.inf"},
        {"scribane.exe 'C:\\My Levels\\x.inf' y", "C:\\My Levels\\x.inf"},
        {"scribane.exe 'a\"b'", "a\"b"}, {"scribane.exe \"a'b\"", "a'b"},
        {"scribane.exe \"C:\\open ended", "C:\\open ended"}, {"scribane.exe \"\" b.txt", ""},
        {"scribane.exe ''", ""}, {"\"unclosed program a.txt", ""}, {"", ""}, {"scribane.exe", ""},
        {"scribane.exe   \t ", ""}, {"s.exe " + std::string(300, 'n'), std::string(300, 'n')},
    };
    for (const auto& [line, argument] : rows)
        EXPECT_EQ(FirstCommandLineArgument(line), argument) << line;
}

TEST(Search, FindNextMatch) {
    std::string big(70000, 'x');
    big.replace(100, 6, "needle").replace(69000, 6, "needle");
    struct Row { std::string text, needle; size_t from; std::optional<size_t> match; };
    const Row rows[] = {
        {"needle in hay", "needle", 0, 0}, {"hay with needle", "needle", 9, 9}, {"x", "x", 0, 0},
        {"one two one two", "two", 5, 12}, {"one two one two", "one", 1, 8},
        {"one two one two", "two", 13, 4}, {"one two one two", "one", 15, 0},
        {"one two one two", "one", 115, 0}, {"abcdef", "bcd", 2, 1}, {"aaaa", "aa", 1, 1},
        {"aaaa", "aa", 3, 0}, {"one two", "three", 0, {}}, {"one", "one two", 0, {}},
        {"", "x", 0, {}}, {"one", "", 0, {}}, {"One TWO", "one", 0, {}}, {"One TWO", "Two", 0, {}},
        {"first\r\nsecond", "\r\ns", 0, 5}, {"caf\xE9 caf\xE9", "\xE9", 4, 8},
        {big, "needle", 106, 69000}, {big, "needle", 69006, 100},
    };
    for (const Row& row : rows)
        EXPECT_EQ(FindNextMatch(row.text, row.needle, row.from), row.match)
            << row.text.substr(0, 20) << " / " << row.needle << " from " << row.from;
}

TEST(Texts, StampTitlesAndSuite) {
    EXPECT_EQ(FormatDateTimeStamp({5, 3, 2001, 9, 7, 3}), "5-3-2001 9:7:3");
    EXPECT_EQ(FormatDateTimeStamp({31, 12, 2026, 23, 59, 59}), "31-12-2026 23:59:59");
    EXPECT_EQ(FormatDateTimeStamp({31, 12, 30827, 23, 59, 59}), "31-12-30827 23:59:5");
    EXPECT_EQ(FileNamePart("C:\\Games\\credits.txt") + FileNamePart("a.inf") + FileNamePart("C:\\G\\"),
              "credits.txta.inf");
    EXPECT_EQ(LoadedDocumentTitle("C:\\Levels\\some.inf"), "some.inf - Scribane");
    // The first 255 characters reach one past the last backslash.
    EXPECT_EQ(LoadedDocumentTitle("C:\\" + std::string(250, 'd') + "\\name.inf"), "n - Scribane");
    EXPECT_EQ(ProgramKeyPathFor("Tessarine"), "SOFTWARE\\Velkaro\\Tessarine");
    EXPECT_EQ(HelpCommandLine("C:\\S", "INF/QuickStart.htm"), "Hh.exe C:\\S\\Vellumdoc.chm::/INF/QuickStart.htm");
    EXPECT_EQ(HelpCommandLine("", ""), "Hh.exe \\Vellumdoc.chm");
    EXPECT_EQ(WebSiteCommandLine(), "Explorer.exe http://velkaro.example/");
    EXPECT_EQ(InstallationWarningText(), "Scribane isn't properly installed. Please run the installation "
              "again. If neccessary, you can download the installation programme from http://velkaro.example/");
    EXPECT_EQ(FindSuiteTool(590), nullptr);
    EXPECT_EQ(FindSuiteTool(596), nullptr);
}
