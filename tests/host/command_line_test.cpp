#include <gtest/gtest.h>

#include "app/command_line.h"

TEST(FirstCommandLineArgument, TakesTheArgumentAfterTheProgramName) {
    EXPECT_EQ(FirstCommandLineArgument("scribane.exe level.inf"), "level.inf");
    EXPECT_EQ(FirstCommandLineArgument("scribane.exe \t\r level.inf other.txt"), "level.inf");
    EXPECT_EQ(FirstCommandLineArgument("\"C:\\Program Files\\Velkaro\\scribane.exe\" a.txt"),
              "a.txt");
}

TEST(FirstCommandLineArgument, QuotesHoldSeparatorsAndAreRemoved) {
    EXPECT_EQ(FirstCommandLineArgument("scribane.exe \"C:\\My Levels\\x.inf\""),
              "C:\\My Levels\\x.inf");
    EXPECT_EQ(FirstCommandLineArgument("scribane.exe 'C:\\My Levels\\x.inf' y"),
              "C:\\My Levels\\x.inf");
    // A double quote inside single quotes is an ordinary character, and the other way round.
    EXPECT_EQ(FirstCommandLineArgument("scribane.exe 'a\"b'"), "a\"b");
    EXPECT_EQ(FirstCommandLineArgument("scribane.exe \"a'b\""), "a'b");
}

TEST(FirstCommandLineArgument, UnbalancedAndEmptyQuotes) {
    EXPECT_EQ(FirstCommandLineArgument("scribane.exe \"C:\\open ended"), "C:\\open ended");
    EXPECT_EQ(FirstCommandLineArgument("scribane.exe \"\" b.txt"), "");
    EXPECT_EQ(FirstCommandLineArgument("scribane.exe ''"), "");
    EXPECT_EQ(FirstCommandLineArgument("\"unclosed program name a.txt"), "");
}

TEST(FirstCommandLineArgument, NoArgument) {
    EXPECT_EQ(FirstCommandLineArgument(""), "");
    EXPECT_EQ(FirstCommandLineArgument("scribane.exe"), "");
    EXPECT_EQ(FirstCommandLineArgument("scribane.exe   \t "), "");
}

TEST(FirstCommandLineArgument, CutTo255Characters) {
    const std::string longName(300, 'n');
    EXPECT_EQ(FirstCommandLineArgument("scribane.exe " + longName), std::string(255, 'n'));
    EXPECT_EQ(FirstCommandLineArgument("scribane.exe \"" + std::string(255, 'q') + "\""),
              std::string(255, 'q'));
}
