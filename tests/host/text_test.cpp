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
using enum LoadLoss;
using enum TextEncoding;
using enum LineEnds;
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

struct Detection {
    const char* name;
    std::string text;
    FileType type;
    TextEncoding encoding;
    LineEnds ends;
};

const Detection kDetections[] = {
    {"ASCII with CR LF", "a\r\nb\r\n", FileType::Text, CodePage, AsStored},
    {"ASCII with LF alone", "a\nb\n", FileType::Text, CodePage, LineFeed},
    {"mixed line ends", "a\r\nb\n", FileType::Text, CodePage, AsStored},
    {"UTF-8 without a mark", "caf\xC3\xA9\n", FileType::None, Utf8, LineFeed},
    {"UTF-8 with its mark",
     "\xEF\xBB\xBF"
     "ab",
     FileType::AllFiles, Utf8WithMark, AsStored},
    {"a mark before bytes that are not UTF-8",
     "\xEF\xBB\xBF"
     "caf\xE9",
     FileType::Text, CodePage, AsStored},
    {"a code-page letter", "caf\xE9", FileType::Text, CodePage, AsStored},
    {"an overlong form", "\xC0\xAF", FileType::Text, CodePage, AsStored},
    {"an overlong three-byte form", "\xE0\x9F\xBF", FileType::Text, CodePage, AsStored},
    {"an overlong four-byte form", "\xF0\x8F\xBF\xBF", FileType::Text, CodePage, AsStored},
    {"a surrogate", "\xED\xA0\x80", FileType::Text, CodePage, AsStored},
    {"beyond U+10FFFF", "\xF4\x90\x80\x80", FileType::Text, CodePage, AsStored},
    {"the largest character", "\xF4\x8F\xBF\xBF", FileType::Text, Utf8, AsStored},
    {"a level description holding UTF-8", "caf\xC3\xA9\n", kLevel, CodePage, LineFeed},
};

TEST(TextFormat, AFileIsUtf8OnlyWhenItsBytesAreAndItsLinesEndAsTheyAre) {
    for (const Detection& row : kDetections) {
        SCOPED_TRACE(row.name);
        const TextFormat format = DetectTextFormat(row.text, row.type);
        EXPECT_EQ(format.Encoding, row.encoding);
        EXPECT_EQ(format.Ends, row.ends);
    }
}

struct LineEndChange {
    const char* name;
    std::string stored;
    std::string shown;
};

const LineEndChange kLineEndChanges[] = {
    {"lines ending in LF", "a\nb\n", "a\r\nb\r\n"},
    {"a lone LF first", "\nb", "\r\nb"},
    {"no line end", "ab", "ab"},
    {"empty", "", ""},
};

TEST(TextFormat, LfLineEndsAreShownAsCrLfAndStoredAsLfAgain) {
    for (const LineEndChange& row : kLineEndChanges) {
        SCOPED_TRACE(row.name);
        const size_t lineFeeds = static_cast<size_t>(std::ranges::count(row.stored, '\n'));
        std::string text = row.stored + std::string(lineFeeds, '#');
        text.resize(ExpandLineFeeds(text.data(), row.stored.size(), lineFeeds));
        EXPECT_EQ(text, row.shown);
        text.resize(CollapseLineEnds(text.data(), text.size()));
        EXPECT_EQ(text, row.stored);
    }
}

TEST(TextFormat, ACrWithoutAnLfStaysWhenLineEndsAreStoredAsLf) {
    std::string text = "a\r\nb\rc\r";
    text.resize(CollapseLineEnds(text.data(), text.size()));
    EXPECT_EQ(text, "a\nb\rc\r");
}

struct CodeNumber {
    unsigned long code;
    int number;
};

const CodeNumber kCodeNumbers[] = {
    {2, 2}, {5, 5}, {32, 5}, {18, 18}, {19, 150}, {31, 162}, {33, 33},
};

TEST(ErrorReport, SystemCodesBecomeTheNumbersTheReportShows) {
    for (const CodeNumber& row : kCodeNumbers) {
        SCOPED_TRACE(row.code);
        EXPECT_EQ(ErrorNumberForSystemCode(row.code), row.number);
    }
}

TEST(ErrorReport, AShortReportIsOneBoxEndingInTheLineThatSaysWhatFailed) {
    EXPECT_EQ(ErrorReportBoxes(5, {0x0040ABCD, 0xab0f}, {"C:\\a.txt: Access denied."}),
              std::vector<std::string>{"Runtime error 5 at 0x0040ABCD\r\n"
                                       "  0x0040ABCD\r\n"
                                       "  0x0000AB0F\r\n"
                                       "C:\\a.txt: Access denied.\r\n"
                                       "\r\n"});
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
    {"a short read", 100, "", "C:\\a.txt: The file is shorter than its size."},
    {"a short write", 101, "", "C:\\a.txt: Not every byte could be written."},
    {"a level description of two bytes", 204, "",
     "C:\\a.txt: The file is too short for a level description."},
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
