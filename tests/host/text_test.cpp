// The rules that need no window, a row per case, run natively with the sanitizers.
#include <gtest/gtest.h>

#include "app/date_time_text.h"
#include "document/error_report.h"
#include "document/path_text.h"
#include "document/text_format.h"
#include "suite/program_search.h"

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
        EXPECT_EQ(DetectTextFormat(row.text, false).Encoding, row.encoding);
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

TEST(Texts, TheDateStampAndTheTitle) {
    EXPECT_EQ(FormatDateTimeStamp({5, 3, 2001, 9, 7, 3}), "5-3-2001 9:7:3");
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
        {"an absolute name gets .exe after a dotted folder",
         "\"C:\\v1.2\\t\"",
         {"C:\\v1.2\\t.exe"}},
        {"a name in a folder relative to the current one has none", "tools\\t.exe", {}},
        {"a name relative to a drive's current folder has none", "C:t.exe", {}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(ProgramCandidates(row.commandLine, folders), row.candidates);
    }
}
