// The two on-disk layouts, byte for byte, and every short or odd file a load can meet.
#include <gtest/gtest.h>

#include "document/document_layout.h"

namespace {

using namespace std::string_literals;

const FileType kPlainTypes[] = {FileType::None, FileType::Credits, FileType::Text,
                                FileType::AllFiles};

} // namespace

TEST(DocumentLayout, LevelDescriptionIsHeaderTextAndNul) {
    EXPECT_EQ(EncodeDocument("abc", FileType::LevelDescription), "\x11\0\0\0abc\0"s);
    EXPECT_EQ(EncodeDocument("line 1\r\nline 2", FileType::LevelDescription),
              "\x11\0\0\0line 1\r\nline 2\0"s);
    EXPECT_EQ(EncodeDocument("x", FileType::LevelDescription).size(), 6u);
}

TEST(DocumentLayout, EveryOtherTypeIsTheBareText) {
    for (FileType type : kPlainTypes) {
        SCOPED_TRACE(static_cast<int>(type));
        EXPECT_EQ(EncodeDocument("abc", type), "abc");
        EXPECT_EQ(EncodeDocument("a\r\n\xE9\r\n", type), "a\r\n\xE9\r\n");
    }
}

TEST(DocumentLayout, AnEmptyTextIsAnEmptyFileInEveryLayout) {
    EXPECT_EQ(EncodeDocument("", FileType::LevelDescription), "");
    for (FileType type : kPlainTypes)
        EXPECT_EQ(EncodeDocument("", type), "");
}

TEST(DocumentLayout, LevelDescriptionReadsTheTextAfterTheHeader) {
    const auto decoded = DecodeDocument("\x11\0\0\0abc\0"s, FileType::LevelDescription);
    EXPECT_EQ(decoded.ErrorNumber, 0);
    EXPECT_EQ(decoded.Text, "abc");
    // What saving writes, loading gives back.
    const std::string text = "first\r\nsecond\r\n";
    EXPECT_EQ(
        DecodeDocument(EncodeDocument(text, FileType::LevelDescription), FileType::LevelDescription)
            .Text,
        text);
}

TEST(DocumentLayout, TheHeaderIsNeverExamined) {
    for (const std::string& header : {"\xFF\xFF\xFF\xFF"s, "\0\0\0\0"s, "abcd"s}) {
        const auto decoded = DecodeDocument(header + "text\0"s, FileType::LevelDescription);
        EXPECT_EQ(decoded.ErrorNumber, 0);
        EXPECT_EQ(decoded.Text, "text");
    }
}

TEST(DocumentLayout, LevelDescriptionTextEndsAtTheFirstNulOrTheEnd) {
    EXPECT_EQ(DecodeDocument("\x11\0\0\0ab\0cd\0"s, FileType::LevelDescription).Text, "ab");
    EXPECT_EQ(DecodeDocument("\x11\0\0\0abc"s, FileType::LevelDescription).Text, "abc");
    EXPECT_EQ(DecodeDocument("\x11\0\0\0\0abc"s, FileType::LevelDescription).Text, "");
}

TEST(DocumentLayout, ShortLevelDescriptionFiles) {
    // An empty file is an empty level description: the file saving one writes.
    auto decoded = DecodeDocument("", FileType::LevelDescription);
    EXPECT_EQ(decoded.ErrorNumber, 0);
    EXPECT_EQ(decoded.Text, "");
    // One or two bytes: the text length comes out below -1.
    EXPECT_EQ(DecodeDocument("\x11"s, FileType::LevelDescription).ErrorNumber, 204);
    EXPECT_EQ(DecodeDocument("\x11\0"s, FileType::LevelDescription).ErrorNumber, 204);
    // Three bytes: the header read comes up short.
    EXPECT_EQ(DecodeDocument("\x11\0\0"s, FileType::LevelDescription).ErrorNumber, 100);
    // A bare header holds an empty text.
    decoded = DecodeDocument("\x11\0\0\0"s, FileType::LevelDescription);
    EXPECT_EQ(decoded.ErrorNumber, 0);
    EXPECT_EQ(decoded.Text, "");
}

TEST(DocumentLayout, PlainFilesEndAtTheirFirstNul) {
    for (FileType type : kPlainTypes) {
        SCOPED_TRACE(static_cast<int>(type));
        EXPECT_EQ(DecodeDocument("abc", type).Text, "abc");
        EXPECT_EQ(DecodeDocument("ab\0cd"s, type).Text, "ab");
        EXPECT_EQ(DecodeDocument("", type).Text, "");
        // Every length is fine; only the level description has a header to run out of.
        EXPECT_EQ(DecodeDocument("\x11\0"s, type).ErrorNumber, 0);
        // A level description read as plain text shows its first header byte only.
        const auto decoded = DecodeDocument("\x11\0\0\0abc\0"s, type);
        EXPECT_EQ(decoded.ErrorNumber, 0);
        EXPECT_EQ(decoded.Text, "\x11");
    }
}
