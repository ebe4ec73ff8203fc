#include <gtest/gtest.h>

#include "app/date_time_text.h"
#include "document/path_text.h"
#include "suite/suite_table.h"

TEST(DateTimeStamp, HasNoLeadingZeros) {
    EXPECT_EQ(FormatDateTimeStamp({5, 3, 2001, 9, 7, 3}), "5-3-2001 9:7:3");
    EXPECT_EQ(FormatDateTimeStamp({1, 1, 2001, 0, 0, 0}), "1-1-2001 0:0:0");
    EXPECT_EQ(FormatDateTimeStamp({31, 12, 2026, 23, 59, 59}), "31-12-2026 23:59:59");
}

TEST(DateTimeStamp, AFiveDigitYearIsCutTo19Characters) {
    EXPECT_EQ(FormatDateTimeStamp({31, 12, 30827, 23, 59, 59}), "31-12-30827 23:59:5");
}

TEST(PathText, FileNamePartIsTheTextAfterTheLastBackslash) {
    EXPECT_EQ(FileNamePart("C:\\Games\\Levels\\credits.txt"), "credits.txt");
    EXPECT_EQ(FileNamePart("credits.txt"), "credits.txt");
    EXPECT_EQ(FileNamePart("C:\\Games\\"), "");
}

TEST(PathText, TitleUsesTheFirst255CharactersAndTheWholeSuffix) {
    EXPECT_EQ(LoadedDocumentTitle("C:\\Levels\\some.inf"), "some.inf - Scribane");
    const std::string longPath = "C:\\" + std::string(250, 'd') + "\\name.inf";
    // 3 + 250 + 1 characters reach the last backslash; the cut keeps one more.
    EXPECT_EQ(LoadedDocumentTitle(longPath), "n - Scribane");
}

TEST(SuiteTable, KeyPathsAndCommandLines) {
    EXPECT_EQ(ProgramKeyPathFor("Tessarine"), "SOFTWARE\\Velkaro\\Tessarine");
    EXPECT_EQ(HelpCommandLine("C:\\Suite", "INF/QuickStart.htm"),
              "Hh.exe C:\\Suite\\Vellumdoc.chm::/INF/QuickStart.htm");
    EXPECT_EQ(HelpCommandLine("C:\\Suite", ""), "Hh.exe C:\\Suite\\Vellumdoc.chm");
    EXPECT_EQ(HelpCommandLine("", ""), "Hh.exe \\Vellumdoc.chm");
    EXPECT_EQ(WebSiteCommandLine(), std::string("Explorer.exe ") + kSuiteWebAddress);
}

TEST(SuiteTable, FindsToolsByCommand) {
    ASSERT_NE(FindSuiteTool(592), nullptr);
    EXPECT_STREQ(FindSuiteTool(592)->PathValue, "Huevellan Prog");
    EXPECT_STREQ(FindSuiteTool(595)->Caption, "Scribane");
    EXPECT_EQ(FindSuiteTool(590), nullptr);
    EXPECT_EQ(FindSuiteTool(596), nullptr);
}
