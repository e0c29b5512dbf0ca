#include "hud/display/HudBoxText.h"

#include <gtest/gtest.h>

TEST(HudBoxTextTest, TheMarkupIsReadAndNotShown)
{
    const CHudBoxText t = ParseHudBoxText(
        QStringLiteral("[style=Stats;sizeToContent=Width]Blue 42 30.0 20.0 5.0 0.0\n"));
    EXPECT_TRUE(t.markup.present);
    EXPECT_EQ(t.markup.style, QStringLiteral("Stats"));
    EXPECT_TRUE(t.markup.sizeToContentWidth);
    ASSERT_EQ(t.lines.size(), 1);
    EXPECT_EQ(t.lines[0], QStringLiteral("Blue 42 30.0 20.0 5.0 0.0"));
    ASSERT_TRUE(t.stats.has_value());
    EXPECT_EQ(t.stats->name, QStringLiteral("Blue"));
    EXPECT_EQ(t.stats->hands, 42);
    EXPECT_EQ(t.stats->texts[0], QStringLiteral("30.0"));
    EXPECT_DOUBLE_EQ(t.stats->values[2], 5.0);

    // The markup alone: nothing to show.
    EXPECT_TRUE(ParseHudBoxText(QStringLiteral("[style=Stats;sizeToContent=Width]")).IsEmpty());
    EXPECT_TRUE(ParseHudBoxText(QStringLiteral("[style=Stats;sizeToContent=Width]\n")).IsEmpty());

    const CHudBoxText plain = ParseHudBoxText(QStringLiteral("Blue 42 30.0 20.0 5.0 0.0"));
    EXPECT_FALSE(plain.markup.present);
    EXPECT_FALSE(plain.markup.sizeToContentWidth);
    EXPECT_TRUE(plain.stats.has_value());

    // Brackets that are no markup are text.
    EXPECT_EQ(ParseHudBoxText(QStringLiteral("[VIP] table")).lines[0],
              QStringLiteral("[VIP] table"));
    EXPECT_EQ(ParseHudBoxText(QStringLiteral("[unclosed=1")).lines[0],
              QStringLiteral("[unclosed=1"));
}

TEST(HudBoxTextTest, StatisticsLinesWithAnyNamePrefix)
{
    const auto spaced = ParseStatsLine(QStringLiteral("Mr X 1234 30.5 20.0 5.0 0.0"));
    ASSERT_TRUE(spaced);
    EXPECT_EQ(spaced->name, QStringLiteral("Mr X"));
    EXPECT_EQ(spaced->hands, 1234);
    const auto digits = ParseStatsLine(QStringLiteral("1234 42 30.0 20.0 5.0 0.0"));
    ASSERT_TRUE(digits);
    EXPECT_EQ(digits->name, QStringLiteral("1234"));
    EXPECT_EQ(digits->hands, 42);
    const auto noName = ParseStatsLine(QStringLiteral("42 30.0 20.0 5.0 0.0"));
    ASSERT_TRUE(noName);
    EXPECT_TRUE(noName->name.isEmpty());
    const auto comma = ParseStatsLine(QStringLiteral("Ana 7 33,3 0,0 0,0 0,0"));
    ASSERT_TRUE(comma);
    EXPECT_DOUBLE_EQ(comma->values[0], 33.3);
    const auto wide = ParseStatsLine(QString::fromUtf8("王小明😀 10 30.0 20.0 0.0 50.0"));
    ASSERT_TRUE(wide);
    EXPECT_EQ(wide->name, QString::fromUtf8("王小明😀"));

    EXPECT_FALSE(ParseStatsLine(QStringLiteral("Blue 42 30.0 20.0 5.0")));
    EXPECT_FALSE(ParseStatsLine(QStringLiteral("just a note")));
    EXPECT_FALSE(ParseStatsLine(QStringLiteral("Blue 42 30.0 20.0 5.0 x")));
}

TEST(HudBoxTextTest, HostileTextIsTamed)
{
    // Control characters become blanks; empty lines go.
    const CHudBoxText t =
        ParseHudBoxText(QStringLiteral("a\tb\x07"
                                       "c\r\n\n\nsecond\n"));
    ASSERT_EQ(t.lines.size(), 2);
    EXPECT_EQ(t.lines[0], QStringLiteral("a b c"));
    EXPECT_EQ(t.lines[1], QStringLiteral("second"));

    // Very long lines are cut (never inside a surrogate pair), lines limited.
    QString longLine;
    for (int i = 0; i < 200; ++i) {
        longLine += QString::fromUtf8("😀");
    }
    const CHudBoxText cut = ParseHudBoxText(longLine);
    ASSERT_EQ(cut.lines.size(), 1);
    EXPECT_LE(cut.lines[0].size(), kMaxLineLength);
    EXPECT_TRUE(cut.lines[0].endsWith(QChar(0x2026)));
    EXPECT_FALSE(cut.lines[0].at(cut.lines[0].size() - 2).isHighSurrogate());
    QString many;
    for (int i = 0; i < 50; ++i) {
        many += QStringLiteral("line %1\n").arg(i);
    }
    EXPECT_EQ(ParseHudBoxText(many).lines.size(), kMaxLines);
}
