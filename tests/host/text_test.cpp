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

TEST(DocumentLayout, DecodeFrameAndTypeForName) {
    std::string decoded, types;
    for (auto [type, bytes] :
         {std::pair{kLevel, ""s}, {kLevel, "abcdtext\0"s}, {FileType::None, "\x11\0\0\0abc\0"s}}) {
        const DecodedDocument read = DecodeDocument(bytes, type);
        decoded += read.Text + "|" + std::to_string(read.ErrorNumber) +
                   std::to_string(int(read.Loss)) + std::to_string(read.NulOffset) + "|";
    }
    EXPECT_EQ(decoded, "|000|text|020|\x11|011|");
    for (const char* name :
         {"a.inf", "C:\\L\\B.INF", ".iNf", "a.txt", "inf", "a.inf.txt", "a.infx", ""})
        types += std::to_string(int(FileTypeForName(name)));
    EXPECT_EQ(types, "22200000");
    EXPECT_EQ(
        LoadLossWarning(CutAtNul, 39) + LoadLossWarning(MissingHeader, 0),
        "This file holds a NUL byte at position 39: only the text before it is shown, and saving "
        "it would cut the file there.This file does not start with a level description header: its "
        "first four bytes are not shown, and saving it would replace them.");
    EXPECT_EQ(
        SaveLossQuestion(CutAtNul, 39, 18) + SaveLossQuestion(MissingHeader, 11, 12),
        "Saving will shorten this file from 39 to 18 bytes. Save anyway?Saving will replace the "
        "first four bytes of this file. Save anyway?");
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
