// The rules that need no window, a row per case, run natively with the sanitizers.
#include <gtest/gtest.h>

#include "app/command_line.h"
#include "app/date_time_text.h"
#include "document/error_report.h"
#include "document/path_text.h"
#include "document/text_format.h"

using enum TextEncoding;

// Only valid UTF-8 is read as UTF-8, and never in the game's own files.
struct Detection {
    const char* name;
    std::string text;
    bool gameFile;
    TextEncoding encoding;
};

const Detection kDetections[] = {
    {"a mark before bytes that are not UTF-8", "\xEF\xBB\xBF!\xE9", false, CodePage},
    {"an overlong two-byte form", "\xC0\xAF", false, CodePage},
    {"an overlong three-byte form", "\xE0\x9F\xBF", false, CodePage},
    {"an overlong four-byte form", "\xF0\x8F\xBF\xBF", false, CodePage},
    {"a surrogate", "\xED\xA0\x80", false, CodePage},
    {"beyond U+10FFFF", "\xF4\x90\x80\x80", false, CodePage},
    {"the largest character", "\xF4\x8F\xBF\xBF", false, Utf8},
    {"Western text that is UTF-8 by accident, in a plain file", "CAF\xC9\xA0!", false, Utf8},
    {"the same in one of the game's files", "CAF\xC9\xA0!", true, CodePage},
    {"Western text that is not UTF-8", "caf\xE9!", false, CodePage},
};

TEST(TextFormat, OnlyValidUtf8OutsideTheGamesFilesIsReadAsUtf8) {
    for (const Detection& row : kDetections) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(DetectTextFormat(row.text, row.gameFile).Encoding, row.encoding);
    }
}

// 33 characters and 70 lines of 14 leave room for 11 of the next; its rest goes, the next line
// starts a new box.
TEST(ErrorReport, TheReportFillsBoxesOf1024CharactersAndDropsTheRestOfACutLine) {
    std::vector<std::uint32_t> addresses;
    for (std::uint32_t i = 0; i <= 100; ++i)
        addresses.push_back(0x00401000 + i);

    const std::vector<std::string> boxes = ErrorReportBoxes(206, addresses, {"C:\\a: Too long."});

    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[0].size(), 1024u);
    EXPECT_TRUE(boxes[0].ends_with("  0x00401045\r\n  0x0040104")) << boxes[0];
    EXPECT_EQ(boxes[1].substr(0, 16), "  0x00401047\r\n  ");
    EXPECT_TRUE(boxes[1].ends_with("  0x00401064\r\nC:\\a: Too long.\r\n\r\n")) << boxes[1];
}

TEST(Texts, TheDateStampAndTheTitle) {
    EXPECT_EQ(FormatDateTimeStamp({5, 3, 2001, 9, 7, 3}), "5-3-2001 9:7:3");
    EXPECT_EQ(LoadedDocumentTitle("C:\\" + std::string(250, 'd') + "\\name.inf"), "n - Scribane");
}

struct Argument {
    const char* commandLine;
    std::string first;
};

const Argument kArguments[] = {
    {"scribane.exe \t\r a.inf b.txt", "a.inf"},
    {"\"C:\\P F\\s.exe\" 'a\"b c' y", "a\"b c"},
    {"s.exe \"C:\\My Levels\\x.inf\" y", "C:\\My Levels\\x.inf"},
    {"\"open s.exe a.txt", ""},
};

TEST(CommandLine, TheFirstArgumentIsTheFileToLoadInEitherQuotes) {
    for (const Argument& row : kArguments) {
        SCOPED_TRACE(row.commandLine);
        EXPECT_EQ(FirstCommandLineArgument(row.commandLine), row.first);
    }
}
