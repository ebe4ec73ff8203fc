// The text of the file-error report: error numbers, line forms and the 1024-character
// buffer that splits a long report over several boxes.
#include <gtest/gtest.h>

#include "document/error_report.h"

namespace {

// The report line of the address written as `digits`.
std::string AddressLine(const char* digits) {
    return std::string("  0x") + digits + "\r\n";
}

std::vector<std::uint32_t> Addresses(size_t count) {
    std::vector<std::uint32_t> addresses;
    for (size_t i = 0; i < count; ++i)
        addresses.push_back(0x00401000u + static_cast<std::uint32_t>(i));
    return addresses;
}

} // namespace

TEST(ErrorNumbers, SystemCodesMapToTheReportedNumbers) {
    EXPECT_EQ(ErrorNumberForSystemCode(2), 2);
    EXPECT_EQ(ErrorNumberForSystemCode(3), 3);
    EXPECT_EQ(ErrorNumberForSystemCode(5), 5);
    EXPECT_EQ(ErrorNumberForSystemCode(32), 5);
    EXPECT_EQ(ErrorNumberForSystemCode(18), 18);
    EXPECT_EQ(ErrorNumberForSystemCode(19), 150);
    EXPECT_EQ(ErrorNumberForSystemCode(25), 156);
    EXPECT_EQ(ErrorNumberForSystemCode(31), 162);
    EXPECT_EQ(ErrorNumberForSystemCode(33), 33);
    EXPECT_EQ(ErrorNumberForSystemCode(112), 112);
}

TEST(ErrorReport, ShortReportIsOneBox) {
    const auto boxes = ErrorReportBoxes(5, {0x0040ABCD, 0x00401F00, 0x7C80B713});
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0], "Runtime error 5 at 0x0040ABCD\r\n"
                        "  0x0040ABCD\r\n"
                        "  0x00401F00\r\n"
                        "  0x7C80B713\r\n"
                        "\r\n");
}

TEST(ErrorReport, AddressesHaveEightUpperCaseDigits) {
    const auto boxes = ErrorReportBoxes(204, {0x0000ab0f, 0xFFFFFFFF});
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0], "Runtime error 204 at 0x0000AB0F\r\n"
                        "  0x0000AB0F\r\n"
                        "  0xFFFFFFFF\r\n"
                        "\r\n");
}

TEST(ErrorReport, WithoutCallersOnlyTheFailingAddressIsListed) {
    EXPECT_EQ(ErrorReportBoxes(100, {0x12345678}),
              std::vector<std::string>{"Runtime error 100 at 0x12345678\r\n"
                                       "  0x12345678\r\n"
                                       "\r\n"});
}

TEST(ErrorReport, LongReportIsSplitAt1024Characters) {
    // First line 31 characters, address lines 14: 70 lines fit beside the first (1011
    // characters), 13 characters of the 71st complete the first box.
    const auto addresses = Addresses(1 + 256);
    const auto boxes = ErrorReportBoxes(2, addresses);
    ASSERT_EQ(boxes.size(), 4u);
    EXPECT_EQ(boxes[0].size(), 1024u);
    EXPECT_EQ(boxes[0].substr(0, 45),
              "Runtime error 2 at 0x00401000\r\n" + AddressLine("00401000"));
    EXPECT_EQ(boxes[0].substr(1024 - 27), AddressLine("00401045") + "  0x00401046\r");
    // The rest of the cut line is dropped; the next line starts the next box, and 73
    // lines and 2 characters fill it.
    EXPECT_EQ(boxes[1].size(), 1024u);
    EXPECT_EQ(boxes[1].substr(0, 14), AddressLine("00401047"));
    EXPECT_EQ(boxes[1].substr(1024 - 16), AddressLine("0040108F") + "  ");
    EXPECT_EQ(boxes[2].substr(0, 14), AddressLine("00401091"));
    EXPECT_EQ(boxes[2].size(), 1024u);
    // The last box holds the remaining lines and ends with the empty line.
    EXPECT_EQ(boxes[3].substr(0, 14), AddressLine("004010DB"));
    EXPECT_EQ(boxes[3].substr(boxes[3].size() - 16), AddressLine("00401100") + "\r\n");
}

TEST(ErrorReport, ListsAtMost256Callers) {
    const auto boxes = ErrorReportBoxes(2, Addresses(1 + 300));
    const std::string last = boxes.back();
    EXPECT_EQ(last.substr(last.size() - 16), AddressLine("00401100") + "\r\n");
    for (const auto& box : boxes)
        EXPECT_EQ(box.find("00401101"), std::string::npos);
}

TEST(ErrorReport, ALineThatFillsTheBufferExactlyKeepsItOpen) {
    ErrorReportBuffer report;
    AddReportLine(report, std::string(1022, 'x') + "\r\n");
    EXPECT_TRUE(report.Boxes.empty());
    // Nothing of the next line fits: the full buffer becomes a box, the line is lost.
    AddReportLine(report, "next\r\n");
    ASSERT_EQ(report.Boxes.size(), 1u);
    EXPECT_EQ(report.Boxes[0], std::string(1022, 'x') + "\r\n");
    AddReportLine(report, "after\r\n");
    EXPECT_EQ(report.Collected, "after\r\n");
}

TEST(ErrorReport, AnEmptyLineAfterACutLineIsABoxOfItsOwn) {
    ErrorReportBuffer report;
    AddReportLine(report, std::string(1030, 'y') + "\r\n");
    AddReportLine(report, "\r\n");
    ASSERT_EQ(report.Boxes.size(), 2u);
    EXPECT_EQ(report.Boxes[0], std::string(1024, 'y'));
    EXPECT_EQ(report.Boxes[1], "\r\n");
}

TEST(ErrorReport, EmptyLineEndsABoxAndPendingTextIsShownLast) {
    ErrorReportBuffer report;
    AddReportLine(report, "one\r\n");
    AddReportLine(report, "\r\n");
    AddReportLine(report, "two\r\n");
    EXPECT_EQ(report.Boxes, std::vector<std::string>{"one\r\n\r\n"});
    EXPECT_EQ(report.Collected, "two\r\n");
    FlushErrorReport(report);
    EXPECT_EQ(report.Boxes, (std::vector<std::string>{"one\r\n\r\n", "two\r\n"}));
    EXPECT_EQ(report.Collected, "");
    // Nothing pending: no empty box.
    FlushErrorReport(report);
    EXPECT_EQ(report.Boxes.size(), 2u);
}
