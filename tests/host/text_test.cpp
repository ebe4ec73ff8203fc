// The rules that need no window, a row per case, run natively with the sanitizers.
#include <gtest/gtest.h>

#include "app/command_line.h"
#include "app/date_time_text.h"
#include "document/error_report.h"
#include "document/path_text.h"
#include "document/text_format.h"

using enum TextEncoding;

// Only valid UTF-8 is read as UTF-8, and never in the game's own files: any other bytes are kept
// as they are, in the code page.
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

// A first line of 31 characters and 70 lines of 14 leave room for 13 of the next; a long name's
// line that does not fit either is cut where the box ends, and no box of line ends alone follows.
struct ReportBoxes {
    const char* name;
    size_t callers;
    std::vector<size_t> sizes;
    std::string lastEnd;
};

const std::string kNameLine = "C:\\" + std::string(253, 'n') + ".txt: File name is too long.";

const ReportBoxes kReportBoxes[] = {
    {"a stack that fills the box to the name's line", 60, {1024}, "nnnnnnnn"},
    {"a stack longer than a box", 100, {1024, 708}, ".txt: File name is too long.\r\n\r\n"},
};

TEST(ErrorReport, TheReportFillsBoxesOf1024CharactersAndNoBoxHoldsLineEndsAlone) {
    for (const ReportBoxes& row : kReportBoxes) {
        SCOPED_TRACE(row.name);
        std::vector<std::uint32_t> addresses;
        for (std::uint32_t i = 0; i <= row.callers; ++i)
            addresses.push_back(0x00401000 + i);

        const std::vector<std::string> boxes = ErrorReportBoxes(206, addresses, {kNameLine});

        std::vector<size_t> sizes;
        for (const std::string& box : boxes)
            sizes.push_back(box.size());
        EXPECT_EQ(sizes, row.sizes);
        EXPECT_TRUE(boxes.back().ends_with(row.lastEnd)) << boxes.back();
    }
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
