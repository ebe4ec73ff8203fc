// The rules that need no window, a row per case, run natively with the sanitizers.
#include <gtest/gtest.h>

#include "app/command_line.h"
#include "app/date_time_text.h"
#include "document/error_report.h"
#include "document/path_text.h"
#include "document/text_format.h"
#include "suite/program_search.h"

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

TEST(ErrorReport, AShortWriteIsSaidInTheEditorsOwnWords) {
    EXPECT_EQ(FileErrorLine("C:\\a.txt", 101, ""), "C:\\a.txt: Not every byte could be written.");
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
    {"a short stack, whole in one box", 2, {363}, ".txt: File name is too long.\r\n\r\n"},
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

struct Candidates {
    const char* name;
    const char* commandLine;
    std::vector<std::string> candidates;
    const char* editorFolder = "C:\\E";
};

const Candidates kCandidates[] = {
    {"a bare name gets .exe and is tried in each folder, the PATH's absolute ones last",
     "tool",
     {"C:\\E\\tool.exe", "C:\\W\\system32\\tool.exe", "C:\\W\\tool.exe", "C:\\P\\tool.exe",
      "C:\\Q\\tool.exe"}},
    {"a bare name with arguments: the text up to a blank",
     "Hh.exe C:\\S\\V.chm",
     {"C:\\E\\Hh.exe", "C:\\W\\system32\\Hh.exe", "C:\\W\\Hh.exe", "C:\\P\\Hh.exe",
      "C:\\Q\\Hh.exe"}},
    {"a folder the editor could not tell is left out, never the current one",
     "tool",
     {"C:\\W\\system32\\tool.exe", "C:\\W\\tool.exe", "C:\\P\\tool.exe", "C:\\Q\\tool.exe"},
     ""},
    {"unquoted with blanks: the whole line first, then up to each blank from the last",
     "C:\\Program Files\\V T\\Huevellan.exe",
     {"C:\\Program Files\\V T\\Huevellan.exe", "C:\\Program Files\\V.exe", "C:\\Program.exe"}},
    {"unquoted with arguments",
     "C:\\Program Files\\V\\Huevellan.exe -H  x ",
     {"C:\\Program Files\\V\\Huevellan.exe -H  x", "C:\\Program Files\\V\\Huevellan.exe -H",
      "C:\\Program Files\\V\\Huevellan.exe", "C:\\Program.exe"}},
    {"quoted with arguments: the quoted name alone",
     " \"C:\\Program Files\\V\\Huevellan.exe\" -H",
     {"C:\\Program Files\\V\\Huevellan.exe"}},
    {"an absolute name gets .exe after a dotted folder", "\"C:\\v1.2\\t\"", {"C:\\v1.2\\t.exe"}},
    {"a name in a folder relative to the current one has none", "tools\\t.exe", {}},
    {"a name relative to a drive's current folder has none", "C:t.exe", {}},
};

TEST(ProgramSearch, AProgramIsLookedForBesideTheEditorInWindowsFoldersAndOnThePathOnly) {
    for (const Candidates& row : kCandidates) {
        SCOPED_TRACE(row.name);
        const ProgramFolders folders{row.editorFolder, "C:\\W\\system32", "C:\\W",
                                     "C:\\P;;.;tools;\"C:\\Q\\\""};
        EXPECT_EQ(ProgramCandidates(row.commandLine, folders), row.candidates);
    }
}
