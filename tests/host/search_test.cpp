#include <gtest/gtest.h>

#include <string>

#include "document/search.h"

TEST(Search, FindsMatchesAtTheStartAndAtTheEnd) {
    EXPECT_EQ(FindNextMatch("needle in hay", "needle", 0), 0u);
    EXPECT_EQ(FindNextMatch("hay with needle", "needle", 0), 9u);
    EXPECT_EQ(FindNextMatch("hay with needle", "needle", 9), 9u);
    EXPECT_EQ(FindNextMatch("needle", "needle", 0), 0u);
    EXPECT_EQ(FindNextMatch("x", "x", 0), 0u);
}

TEST(Search, GoesOnFromTheGivenOffset) {
    const std::string text = "one two one two";
    EXPECT_EQ(FindNextMatch(text, "two", 0), 4u);
    EXPECT_EQ(FindNextMatch(text, "two", 5), 12u);
    EXPECT_EQ(FindNextMatch(text, "one", 1), 8u);
}

TEST(Search, OverlappingOccurrencesAreFoundAtEachOffset) {
    EXPECT_EQ(FindNextMatch("aaaa", "aa", 0), 0u);
    EXPECT_EQ(FindNextMatch("aaaa", "aa", 1), 1u);
    EXPECT_EQ(FindNextMatch("aaaa", "aa", 2), 2u);
    // From offset 3 only one "a" is left: back to the start.
    EXPECT_EQ(FindNextMatch("aaaa", "aa", 3), 0u);
}

TEST(Search, WrapsToTheStartOnce) {
    const std::string text = "one two one two";
    EXPECT_EQ(FindNextMatch(text, "two", 13), 4u);
    EXPECT_EQ(FindNextMatch(text, "one", 9), 0u);
    // Offsets at and past the end wrap as well.
    EXPECT_EQ(FindNextMatch(text, "one", text.size()), 0u);
    EXPECT_EQ(FindNextMatch(text, "one", text.size() + 100), 0u);
    // A match that begins before the offset and runs across it is found after the wrap.
    EXPECT_EQ(FindNextMatch("abcdef", "bcd", 2), 1u);
}

TEST(Search, MissesAndEmptyNeedlesFindNothing) {
    EXPECT_EQ(FindNextMatch("one two", "three", 0), std::nullopt);
    EXPECT_EQ(FindNextMatch("one two", "one two three", 0), std::nullopt);
    EXPECT_EQ(FindNextMatch("", "x", 0), std::nullopt);
    EXPECT_EQ(FindNextMatch("one two", "", 0), std::nullopt);
    EXPECT_EQ(FindNextMatch("", "", 0), std::nullopt);
    // Exact bytes only: no case folding.
    EXPECT_EQ(FindNextMatch("One TWO", "one", 0), std::nullopt);
    EXPECT_EQ(FindNextMatch("One TWO", "Two", 0), std::nullopt);
}

TEST(Search, LineBreaksAndHighBytesAreOrdinaryText) {
    EXPECT_EQ(FindNextMatch("first\r\nsecond", "\r\ns", 0), 5u);
    EXPECT_EQ(FindNextMatch("caf\xE9 caf\xE9", "\xE9", 4), 8u);
}

TEST(Search, OffsetsBeyond16BitsWork) {
    std::string text(70000, 'x');
    text.replace(100, 6, "needle");
    text.replace(69000, 6, "needle");
    EXPECT_EQ(FindNextMatch(text, "needle", 0), 100u);
    EXPECT_EQ(FindNextMatch(text, "needle", 106), 69000u);
    // 69006 cut to 16 bits would be 3470, which finds 69000 again instead of wrapping.
    EXPECT_EQ(FindNextMatch(text, "needle", 69006), 100u);
    EXPECT_EQ(FindNextMatch(text + "needle", "needle", 69006), 70000u);
}
