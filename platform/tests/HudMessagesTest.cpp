#include "platform/HudMessages.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

TEST(HudMessagesTest, ShowMessageOfAStatisticsLineHasTheSizesTheHudProgramExpects)
{
    const std::wstring text = std::wstring(kHudStatsMarkup) + L"Blue 42 30.0 20.0 5.0 0.0\n";
    ASSERT_EQ(text.size(), 59u);
    const auto bytes = EncodeHudMessage(MakeShowMessage(0x2A00013, HudNumber(6, 2), text));

    ASSERT_EQ(bytes.size(), 147u);
    EXPECT_EQ(bytes[0], 0x13);
    EXPECT_EQ(bytes[3], 0x02);
    EXPECT_EQ(bytes[8] | bytes[9] << 8, 1000);
    EXPECT_EQ(bytes[12], 116);
    EXPECT_EQ(bytes[16], 1);
    EXPECT_EQ(bytes[20], 118);
    EXPECT_EQ(bytes[24] | bytes[25] | bytes[26] | bytes[27], 0);
    EXPECT_EQ(bytes[28], '[');
    EXPECT_EQ(bytes[29], 0);
    EXPECT_EQ(bytes.back(), 0);

    const auto decoded = DecodeHudMessage(bytes);
    ASSERT_TRUE(decoded.has_value());
    EXPECT_EQ(FromUtf16(decoded->text), text);
    EXPECT_EQ(decoded->hudNumber, 116);
}

TEST(HudMessagesTest, ResetAndShutdownCarryOnlyAHeaderAndOneZeroByte)
{
    const auto reset = EncodeHudMessage(MakeResetMessage());
    ASSERT_EQ(reset.size(), 29u);
    const std::vector<uint8_t> expected = {0,    0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0xFF, 0xFF, 0xFF,
                                           0xFF, 6, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,    0};
    EXPECT_EQ(reset, expected);
    const auto shutdown = EncodeHudMessage(MakeShutdownMessage());
    ASSERT_EQ(shutdown.size(), 29u);
    EXPECT_EQ(shutdown[16], 7);
}

TEST(HudMessagesTest, MalformedMessagesAreRejected)
{
    auto bytes = EncodeHudMessage(MakeShowMessage(5, 114, L"abc"));
    EXPECT_FALSE(DecodeHudMessage(std::span(bytes).first(bytes.size() - 1)).has_value());
    auto noTerminator = bytes;
    noTerminator.back() = 1;
    EXPECT_FALSE(DecodeHudMessage(noTerminator).has_value());
    auto oddLength = bytes;
    oddLength[20] = 5;
    EXPECT_FALSE(DecodeHudMessage(oddLength).has_value());
    auto unknownCommand = bytes;
    unknownCommand[16] = 3;
    EXPECT_FALSE(DecodeHudMessage(unknownCommand).has_value());
    EXPECT_FALSE(DecodeHudMessage(std::vector<uint8_t>(10, 0)).has_value());
}

TEST(HudMessagesTest, TextOutsideTheBasicPlaneTravelsAsSurrogatePairs)
{
    const std::wstring name = L"\u674E\U0001F600";
    const auto utf16 = ToUtf16(name);
    ASSERT_EQ(utf16.size(), 3u);
    EXPECT_EQ(FromUtf16(utf16), name);
    EXPECT_EQ(FromUtf16(std::u16string(1, u'\xD800')), L"\uFFFD");
}

TEST(HudMessagesTest, TableReportIsTwentyBytesAndItsWindowIsSignExtended)
{
    CTableReport report;
    report.tableWindow = 0x80000010;
    report.command = 6;
    report.room = 1;
    report.type = 2;
    const auto bytes = EncodeTableReport(report);
    EXPECT_EQ(bytes[4], 6);
    EXPECT_EQ(bytes[7], 1);
    EXPECT_EQ(bytes[8], 2);
    const auto decoded = DecodeTableReport(bytes);
    ASSERT_TRUE(decoded.has_value());
    EXPECT_EQ(*decoded, report);
    EXPECT_EQ(TableReportWindow(*decoded), 0xFFFFFFFF80000010ull);
    EXPECT_FALSE(DecodeTableReport(std::vector<uint8_t>(24, 0)).has_value());
}

TEST(HudMessagesTest, HudNumbersFollowTheBasesOfEachTableSize)
{
    const int bases[] = {0, 2, 5, 9, 14, 20, 27, 35, 44};
    for (int n = 2; n <= 10; ++n) {
        EXPECT_EQ(HudNumberBase(n), bases[n - 2]);
    }
    EXPECT_EQ(HudNumberBase(11), 54);
    EXPECT_EQ(HudNumber(6, 0), 114);
    EXPECT_EQ(HudNumber(6, 5), 119);
    EXPECT_EQ(HudNumber(10, 9), 153);
    int size = 0;
    int position = 0;
    ASSERT_TRUE(HudNumberSeat(119, size, position));
    EXPECT_EQ(size, 6);
    EXPECT_EQ(position, 5);
    ASSERT_TRUE(HudNumberSeat(100, size, position));
    EXPECT_EQ(size, 2);
    EXPECT_FALSE(HudNumberSeat(154, size, position));
    EXPECT_FALSE(HudNumberSeat(99, size, position));
}

}  // namespace
