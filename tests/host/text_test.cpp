// The rules that need no window, a row per case, run natively with the sanitizers.
#include <gtest/gtest.h>

#include "app/command_line.h"
#include "app/date_time_text.h"
#include "document/document_layout.h"
#include "document/path_text.h"
#include "document/search.h"
#include "suite/program_search.h"
#include "suite/suite_table.h"

using namespace std::string_literals;
using enum LoadLoss;
constexpr FileType kLevel = FileType::LevelDescription;

struct Decoding {
    const char* name;
    std::string bytes;
    FileType type;
    std::string text;
    int error;
    LoadLoss loss;
    size_t nulOffset;
};

const Decoding kDecodings[] = {
    {"empty level description", "", kLevel, "", 0, None, 0},
    {"level description", "\x11\0\0\0text\0"s, kLevel, "text", 0, None, 0},
    {"level description without its header", "abcdtext\0"s, kLevel, "text", 0, MissingHeader, 0},
    {"level description with a NUL inside", "\x11\0\0\0ab\0cd\0"s, kLevel, "ab", 0, CutAtNul, 6},
    {"level description of two bytes", "\x11\x11", kLevel, "", 204, None, 0},
    {"level description of three bytes", "\x11\x11\x11", kLevel, "", 100, None, 0},
    {"level description read as plain text", "\x11\0\0\0abc\0"s, FileType::None, "\x11", 0,
     CutAtNul, 1},
    {"plain text with its last byte a NUL", "abc\0"s, FileType::Text, "abc", 0, CutAtNul, 3},
};

TEST(DocumentLayout, DecodingFindsTheTextAndWhatItLeavesOut) {
    for (const Decoding& row : kDecodings) {
        SCOPED_TRACE(row.name);
        const DecodedDocument decoded = DecodeDocument(row.bytes, row.type);
        EXPECT_EQ(decoded.Text, row.text);
        EXPECT_EQ(decoded.ErrorNumber, row.error);
        EXPECT_EQ(decoded.Loss, row.loss);
        EXPECT_EQ(decoded.NulOffset, row.nulOffset);
    }
}

struct TypeForName {
    const char* name;
    FileType type;
};

const TypeForName kTypesForNames[] = {
    {"a.inf", kLevel},          {"C:\\L\\B.INF", kLevel}, {".iNf", kLevel},
    {"a.txt", FileType::None},  {"inf", FileType::None},  {"a.inf.txt", FileType::None},
    {"a.infx", FileType::None}, {"", FileType::None},
};

TEST(DocumentLayout, OnlyANameEndingInInfIsALevelDescription) {
    for (const TypeForName& row : kTypesForNames) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(FileTypeForName(row.name), row.type);
    }
}

TEST(ErrorReport, NumbersBoxesAndTheirBuffer) {
    std::string numbers, boxes;
    for (unsigned long code : {2, 5, 32, 18, 19, 31, 33})
        numbers += std::to_string(ErrorNumberForSystemCode(code)) + " ";
    EXPECT_EQ(numbers, "2 5 5 18 150 162 33 ");
    EXPECT_EQ(
        ErrorReportBoxes(5, {0x0040ABCD, 0xab0f}),
        std::vector{"Runtime error 5 at 0x0040ABCD\r\n  0x0040ABCD\r\n  0x0000AB0F\r\n\r\n"s});
    // 300 callers, 256 of them listed: a first line of 31 characters and lines of 14 fill boxes of
    // 1024, and the rest of a line cut at the end of a box is dropped.
    std::vector<std::uint32_t> addresses;
    for (std::uint32_t i = 0; i <= 300; ++i)
        addresses.push_back(0x00401000 + i);
    for (const std::string& box : ErrorReportBoxes(2, addresses))
        boxes +=
            std::to_string(box.size()) + box.substr(0, 14) + "..." + box.substr(box.size() - 16);
    EXPECT_EQ(
        boxes,
        "1024Runtime error ...5\r\n  0x00401046\r1024  0x00401047\r\n...  0x0040108F\r\n  1024  "
        "0x00401091\r\n...  0x004010D9\r\n  534  0x004010DB\r\n...  0x00401100\r\n\r\n");
}

TEST(Texts, CommandLineSearchStampAndTitle) {
    std::string arguments;
    for (std::string line : {"scribane.exe \t\r a.inf b.txt", "\"C:\\P F\\s.exe\" 'a\"b c' y",
                             "s.exe \"a'b\"", "s.exe \"C:\\open", "\"open s.exe a.txt"})
        arguments += FirstCommandLineArgument(line) + "|";
    EXPECT_EQ(arguments + FirstCommandLineArgument("s.exe " + std::string(300, 'n')),
              "a.inf|a\"b c|a'b|C:\\open||" + std::string(300, 'n'));
    std::string big(70000, 'x');
    big.replace(100, 6, "needle").replace(69000, 6, "needle");
    EXPECT_EQ(
        std::vector({FindNextMatch("one two one two", "one", 115), FindNextMatch("aaaa", "aa", 1),
                     FindNextMatch("one", "one two", 0), FindNextMatch(big, "needle", 69006)}),
        std::vector<std::optional<size_t>>({0, 1, {}, 100})); // wraps; overlaps; too long; wraps
    EXPECT_EQ(FormatDateTimeStamp({5, 3, 2001, 9, 7, 3}) + "|" +
                  FormatDateTimeStamp({31, 12, 30827, 23, 59, 59}) + "|" +
                  LoadedDocumentTitle("C:\\" + std::string(250, 'd') + "\\name.inf"),
              "5-3-2001 9:7:3|31-12-30827 23:59:5|n - Scribane");
    EXPECT_EQ(InstallationWarningText(),
              "Scribane isn't properly installed. Please run the installation again. "
              "If neccessary, you can download the installation programme from "
              "http://velkaro.example/");
}

TEST(ProgramSearch, ABareNameIsLookedForBesideTheEditorInWindowsFoldersAndOnThePathOnly) {
    const ProgramFolders folders{"C:\\E", "C:\\W\\system32", "C:\\W", "C:\\P;;.;tools;\"C:\\Q\\\""};
    struct Row {
        const char* name;
        const char* commandLine;
        std::vector<std::string> candidates;
    };
    const Row rows[] = {
        {"a bare name gets .exe and is tried in each folder, the PATH's absolute ones last",
         "tool -T",
         {"C:\\E\\tool.exe", "C:\\W\\system32\\tool.exe", "C:\\W\\tool.exe", "C:\\P\\tool.exe",
          "C:\\Q\\tool.exe"}},
        {"a quoted name runs to the closing quote",
         "\"my tool\"-x",
         {"C:\\E\\my tool.exe", "C:\\W\\system32\\my tool.exe", "C:\\W\\my tool.exe",
          "C:\\P\\my tool.exe", "C:\\Q\\my tool.exe"}},
        {"an absolute name is that file alone, its extension kept",
         "C:\\Tools\\t.exe -x",
         {"C:\\Tools\\t.exe"}},
        {"an absolute name gets .exe after a dotted folder",
         "\"C:\\v1.2\\t\"",
         {"C:\\v1.2\\t.exe"}},
        {"a network name is that file alone", "\\\\host\\t.exe", {"\\\\host\\t.exe"}},
        {"a name in a folder relative to the current one has none", "tools\\t.exe", {}},
        {"a name on the current drive's root has none", "\\t.exe", {}},
        {"a name relative to a drive's current folder has none", "C:t.exe", {}},
        {"an empty command line has none", "  ", {}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(ProgramCandidates(row.commandLine, folders), row.candidates);
    }
}
