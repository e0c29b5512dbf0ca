#include "hud/display/CHudBox.h"

#include "hud/display/StatColors.h"

#include <gtest/gtest.h>

#include <QFontDatabase>
#include <QImage>
#include <QRawFont>
#include <QTextLayout>

#include <cstdlib>

namespace {

const QString kMarkup = QStringLiteral("[style=Stats;sizeToContent=Width]");

int CountPixels(const QImage& image, const QColor& color)
{
    int count = 0;
    const QRgb wanted = color.rgb();
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            count += (image.pixel(x, y) & 0xffffff) == (wanted & 0xffffff) ? 1 : 0;
        }
    }
    return count;
}

QImage Render(CHudBox& box)
{
    return box.grab().toImage().convertToFormat(QImage::Format_RGB32);
}

// Keeps a picture for a person to look at when $VX_SCREENSHOT_DIR is set.
void Keep(const QImage& image, const char* name)
{
    if (const char* dir = std::getenv("VX_SCREENSHOT_DIR")) {
        image.save(QString::fromUtf8(dir) + QLatin1Char('/') + QLatin1String(name));
    }
}

}  // namespace

TEST(CHudBoxTest, TheBoxTakesTheWidthOfItsText)
{
    CHudBox box(1, 114, 6, 0);
    box.SetText(kMarkup + QStringLiteral("Blue 42 30.0 20.0 5.0 0.0\n"));
    const int narrow = box.width();
    box.SetText(kMarkup + QStringLiteral("Bluefish 4242 30.0 20.0 5.0 0.0\n"));
    EXPECT_GT(box.width(), narrow);
    EXPECT_EQ(box.size(), box.ContentSize());
    // A bigger font, a bigger box.
    const QSize before = box.size();
    box.SetFontPixelSize(18);
    EXPECT_GT(box.width(), before.width());
    EXPECT_GT(box.height(), before.height());
    // Without the markup the box keeps a steady width, however short the text.
    CHudBox fixed(1, 115, 6, 1);
    fixed.SetText(QStringLiteral("ab"));
    CHudBox fixed2(1, 116, 6, 2);
    fixed2.SetText(QStringLiteral("abcd"));
    EXPECT_EQ(fixed.width(), fixed2.width());
    EXPECT_GT(fixed.width(), narrow / 2);
}

TEST(CHudBoxTest, NumbersAreColouredByRangeUnlessThePlayerSwitchesItOff)
{
    CHudBox box(1, 114, 6, 0);
    box.SetFontPixelSize(16);
    // VPIP 60 is very loose (red), PFR 10 regular (green).
    box.SetText(kMarkup + QStringLiteral("Fish 500 60.0 10.0 1.0 0.0\n"));
    box.resize(box.ContentSize());
    const QImage coloured = Render(box);
    Keep(coloured, "box-colours.png");
    const QColor red = StatColors::ForValue(HudStat::Vpip, 60.0);
    const QColor green = StatColors::ForValue(HudStat::Pfr, 10.0);
    EXPECT_GT(CountPixels(coloured, red), 5);
    EXPECT_GT(CountPixels(coloured, green), 5);

    box.SetColorsEnabled(false);
    const QImage plain = Render(box);
    Keep(plain, "box-plain.png");
    EXPECT_EQ(CountPixels(plain, red), 0);
    EXPECT_EQ(CountPixels(plain, green), 0);
    EXPECT_GT(CountPixels(plain, StatColors::PlainNumber()), 5);
}

TEST(CHudBoxTest, ChineseNamesAndEmojiAreDrawnWithRealGlyphs)
{
    const QString name = QString::fromUtf8("王小明😀");
    const QStringList families = QFontDatabase::families();
    const bool haveCjk = QFontDatabase::families(QFontDatabase::SimplifiedChinese).size() > 0;
    const bool haveEmoji = families.filter(QStringLiteral("Emoji")).size() > 0;
    if (!haveCjk || !haveEmoji) {
        GTEST_SKIP() << "no Chinese or no emoji font is installed";
    }
    CHudBox box(1, 114, 6, 0);
    box.SetFontPixelSize(16);
    box.SetText(kMarkup + name + QStringLiteral(" 10 30.0 20.0 0.0 50.0\n"));
    ASSERT_TRUE(box.Content().stats.has_value());
    EXPECT_EQ(box.Content().stats->name, name);

    // Lay the name out with the box's own font, as drawing does: every glyph
    // must come from a font that has it (glyph 0 is the empty box).
    QTextLayout layout(name, box.font());
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(16);
    layout.setFont(font);
    layout.beginLayout();
    layout.createLine();
    layout.endLayout();
    int glyphs = 0;
    for (const QGlyphRun& run : layout.glyphRuns()) {
        for (const quint32 index : run.glyphIndexes()) {
            EXPECT_NE(index, 0u) << "a replacement box in "
                                 << run.rawFont().familyName().toStdString();
            ++glyphs;
        }
    }
    EXPECT_EQ(glyphs, 4);

    const QImage image = Render(box);
    Keep(image, "box-chinese-emoji.png");
    // The emoji is drawn in colour: yellow face pixels.
    int yellow = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QColor c = image.pixelColor(x, y);
            yellow += c.red() > 220 && c.green() > 180 && c.blue() < 90 ? 1 : 0;
        }
    }
    EXPECT_GT(yellow, 10);
}
