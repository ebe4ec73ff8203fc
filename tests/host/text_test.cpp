// The rules that need no window, a row per case, run natively with the sanitizers.
#include <gtest/gtest.h>

#include <algorithm>

#include "app/command_line.h"
#include "app/date_time_text.h"
#include "document/document_layout.h"
#include "document/path_text.h"
#include "document/search.h"
#include "document/text_format.h"
#include "suite/program_search.h"
#include "suite/suite_table.h"

using namespace std::string_literals;
using enum TextEncoding;

// Only valid UTF-8 is read as UTF-8: any other bytes are kept as they are, in the code page.
struct Detection {
    const char* name;
    std::string text;
    TextEncoding encoding;
};

const Detection kDetections[] = {
    {"a mark before bytes that are not UTF-8", "\xEF\xBB\xBF!\xE9", CodePage},
    {"an overlong two-byte form", "\xC0\xAF", CodePage},
    {"an overlong three-byte form", "\xE0\x9F\xBF", CodePage},
    {"an overlong four-byte form", "\xF0\x8F\xBF\xBF", CodePage},
    {"a surrogate", "\xED\xA0\x80", CodePage},
    {"beyond U+10FFFF", "\xF4\x90\x80\x80", CodePage},
    {"the largest character", "\xF4\x8F\xBF\xBF", Utf8},
};

TEST(TextFormat, OnlyValidUtf8IsReadAsUtf8) {
    for (const Detection& row : kDetections) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(DetectTextFormat(row.text, FileType::Text).Encoding, row.encoding);
    }
}

struct CodeNumber {
    unsigned long code;
    int number;
};

const CodeNumber kCodeNumbers[] = {
    {32, 5}, {18, 18}, {19, 150}, {31, 162}, {33, 33},
};

TEST(ErrorReport, SystemCodesBecomeTheNumbersTheReportShows) {
    for (const CodeNumber& row : kCodeNumbers) {
        SCOPED_TRACE(row.code);
        EXPECT_EQ(ErrorNumberForSystemCode(row.code), row.number);
    }
}

TEST(ErrorReport, ALongReportFillsBoxesOf1024CharactersAndDropsTheRestOfACutLine) {
    std::vector<std::uint32_t> addresses; // 300 callers, of which 256 are listed
    for (std::uint32_t i = 0; i <= 300; ++i)
        addresses.push_back(0x00401000 + i);
    const std::vector<std::string> boxes =
        ErrorReportBoxes(2, addresses, {"C:\\gone.txt: File not found."});
    ASSERT_EQ(boxes.size(), 4u);
    // A first line of 31 characters and 70 lines of 14 leave room for 13 of the next.
    EXPECT_EQ(boxes[0].size(), 1024u);
    EXPECT_TRUE(boxes[0].starts_with("Runtime error 2 at 0x00401000\r\n  0x00401000\r\n"));
    EXPECT_TRUE(boxes[0].ends_with("  0x00401045\r\n  0x00401046\r"));
    EXPECT_TRUE(boxes[1].starts_with("  0x00401047\r\n"));
    EXPECT_EQ(boxes[3].size(), 564u);
    EXPECT_TRUE(boxes[3].ends_with("  0x00401100\r\nC:\\gone.txt: File not found.\r\n\r\n"));
}

struct WhatFailed {
    const char* name;
    int number;
    const char* systemMessage;
    std::string line;
};

const WhatFailed kWhatFailed[] = {
    {"a system error", 2, "File not found.", "C:\\a.txt: File not found."},
    {"a short write, which no system message names", 101, "",
     "C:\\a.txt: Not every byte could be written."},
};

TEST(ErrorReport, TheLineThatSaysWhatFailedNamesTheFile) {
    for (const WhatFailed& row : kWhatFailed) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(FileErrorLine("C:\\a.txt", row.number, row.systemMessage), row.line);
    }
}

struct Argument {
    const char* commandLine;
    std::string first;
};

const Argument kArguments[] = {
    {"scribane.exe \t\r a.inf b.txt", "a.inf"},
    {"\"C:\\P F\\s.exe\" 'a\"b c' y", "a\"b c"},
    {"s.exe \"a'b\"", "a'b"},
    {"s.exe \"C:\\open", "C:\\open"},
    {"\"open s.exe a.txt", ""},
};

TEST(CommandLine, TheFirstArgumentIsTheFileToLoad) {
    for (const Argument& row : kArguments) {
        SCOPED_TRACE(row.commandLine);
        EXPECT_EQ(FirstCommandLineArgument(row.commandLine), row.first);
    }
}

TEST(CommandLine, ALongArgumentIsKeptWhole) {
    EXPECT_EQ(FirstCommandLineArgument("s.exe " + std::string(300, 'n')), std::string(300, 'n'));
}

struct Search {
    const char* name;
    std::wstring text, needle;
    size_t from;
    std::optional<size_t> match;
};

const Search kSearches[] = {
    {"from past the end it wraps to the first", L"one two one two", L"one", 115, 0},
    {"matches may overlap", L"aaaa", L"aa", 1, 1},
    {"a needle longer than the text", L"one", L"one two", 0, std::nullopt},
};

TEST(Search, FindNextMatchGoesOnFromThePlaceGivenAndWrapsOnce) {
    for (const Search& row : kSearches) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(FindNextMatch(row.text, row.needle, row.from), row.match);
    }
}

TEST(Texts, TheDateStampAndTheTitle) {
    EXPECT_EQ(FormatDateTimeStamp({5, 3, 2001, 9, 7, 3}), "5-3-2001 9:7:3");
    EXPECT_EQ(FormatDateTimeStamp({31, 12, 30827, 23, 59, 59}), "31-12-30827 23:59:5");
    EXPECT_EQ(LoadedDocumentTitle("C:\\" + std::string(250, 'd') + "\\name.inf"), "n - Scribane");
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
        {"an absolute name is that file alone, its extension kept",
         "C:\\Tools\\t.exe -x",
         {"C:\\Tools\\t.exe"}},
        {"an absolute name gets .exe after a dotted folder",
         "\"C:\\v1.2\\t\"",
         {"C:\\v1.2\\t.exe"}},
        {"a name in a folder relative to the current one has none", "tools\\t.exe", {}},
        {"a name on the current drive's root has none", "\\t.exe", {}},
        {"a name relative to a drive's current folder has none", "C:t.exe", {}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(ProgramCandidates(row.commandLine, folders), row.candidates);
    }
}
