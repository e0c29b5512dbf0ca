#include "foundation/WideText.h"

#include "foundation/NumberText.h"
#include "foundation/TextDecoding.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>

TEST(WideTextTest, Utf8RoundTripOfEveryScript)
{
    const std::wstring names = L"O'Brien \\ Дмитрий 张伟 😀 Zoë";
    EXPECT_EQ(FromUtf8(ToUtf8(names)), names);
}

TEST(WideTextTest, InvalidUtf8BytesAreReadAsWindows1252)
{
    // 0x80 is the euro sign in Windows-1252; 0xE9 is é.
    EXPECT_EQ(FromUtf8("\x80"
                       "5 caf\xE9"),
              L"\u20AC5 caf\u00E9");
    // A truncated sequence keeps every byte.
    EXPECT_EQ(FromUtf8("a\xE2\x82"), L"a\u00E2\u201A");
    // Overlong encodings are not accepted as the character they spell.
    EXPECT_EQ(FromUtf8("\xC0\xAF").size(), 2u);
}

TEST(WideTextTest, TrimAndReplace)
{
    EXPECT_EQ(Trim(L" \t x y \r\n"), L"x y");
    EXPECT_EQ(Trim(L"\u00A0x\u00A0"), L"x");
    EXPECT_EQ(ReplaceAll(L"flag_vpip", L"flag_", L"count_"), L"count_vpip");
    EXPECT_EQ(ReplaceAll(L"abc", L"", L"x"), L"abc");
    EXPECT_TRUE(EqualsNoCase(L"HERO:", L"hero:"));
}

TEST(WideTextTest, FormatTakesWideStringsWithLs)
{
    EXPECT_EQ(FormatW(L"[%ls] %d", L"Дмитрий", 42), L"[Дмитрий] 42");
    const std::wstring longText(5000, L'x');
    EXPECT_EQ(FormatW(L"%ls", longText.c_str()).size(), 5000u);
}

TEST(TextDecodingTest, ByteOrderMarks)
{
    EXPECT_EQ(DetectTextEncoding("\xEF\xBB\xBFx"), TextEncoding::Utf8Bom);
    EXPECT_EQ(DetectTextEncoding("\xFF\xFEx\0"), TextEncoding::Utf16Le);
    EXPECT_EQ(DetectTextEncoding("\xFE\xFF\0x"), TextEncoding::Utf16Be);
    EXPECT_EQ(DetectTextEncoding("x"), TextEncoding::Utf8);
    const std::string le("A\0\x3D\xD8\x00\xDE", 6);  // "A😀" in UTF-16 LE
    EXPECT_EQ(DecodeText(le, TextEncoding::Utf16Le), L"A\U0001F600");
    const std::string lone("\x00\xD8", 2);
    EXPECT_EQ(DecodeText(lone, TextEncoding::Utf16Le), L"\uFFFD");
}

TEST(WideTextTest, NumbersAreWrittenAsToWstringWritesThem)
{
    for (const int64_t value :
         {int64_t{0}, int64_t{7}, int64_t{-1}, int64_t{203492936567},
          std::numeric_limits<int64_t>::min(), std::numeric_limits<int64_t>::max()}) {
        EXPECT_EQ(NumberText(value), std::to_wstring(value));
    }
    EXPECT_EQ(NumberText(std::numeric_limits<uint64_t>::max()), L"18446744073709551615");
    EXPECT_EQ(NumberText(std::numeric_limits<int32_t>::min()), L"-2147483648");
    EXPECT_EQ(NumberText(static_cast<int16_t>(-300)), L"-300");
}
