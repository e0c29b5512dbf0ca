// The font record of the tracker's figures and its meeting with Qt's fonts.
#include "tracker/CLogFont.h"

#include "tracker/TrackerQtConversions.h"

#include <gtest/gtest.h>

namespace {

TEST(CLogFontTest, TheDefaultFontIsWrittenWithItsHeightAsTwosComplement)
{
    const CLogFont font;
    EXPECT_EQ(font.ToRecord(), L"fffffff0,0,0,0,190,0,0,0,0,0,0,0,20,Times New Roman");
    const auto back = CLogFont::FromRecord(font.ToRecord());
    ASSERT_TRUE(back.has_value());
    EXPECT_EQ(back->height, -16);
    EXPECT_EQ(back->faceName, L"Times New Roman");
    EXPECT_EQ(*back, font);
}

TEST(CLogFontTest, EveryFieldAndAFaceNameWithBlanksSurviveARoundTrip)
{
    CLogFont font;
    font.height = -27;
    font.width = 11;
    font.escapement = 900;
    font.orientation = -900;
    font.weight = 700;
    font.italic = 1;
    font.underline = 1;
    font.strikeOut = 1;
    font.charSet = 204;
    font.outPrecision = 3;
    font.clipPrecision = 2;
    font.quality = 5;
    font.pitchAndFamily = 0x22;
    font.faceName = L"DejaVu Sans  Mono Book";
    const auto back = CLogFont::FromRecord(font.ToRecord());
    ASSERT_TRUE(back.has_value());
    EXPECT_EQ(*back, font);
}

TEST(CLogFontTest, RecordsWrittenElsewhereAreReadAsTheCLibraryWouldReadThem)
{
    // Upper-case digits, blanks, a "0x" prefix, a leading blank before the face.
    const auto font = CLogFont::FromRecord(L"FFFFFFF4, 0,0,0,0x2bc,1,0,0,cc,0,0,0,22, Arial Black");
    ASSERT_TRUE(font.has_value());
    EXPECT_EQ(font->height, -12);
    EXPECT_EQ(font->weight, 700);
    EXPECT_EQ(font->italic, 1);
    EXPECT_EQ(font->charSet, 204);
    EXPECT_EQ(font->faceName, L"Arial Black");
}

TEST(CLogFontTest, AnIncompleteOrDamagedRecordGivesTheDefaultFont)
{
    for (const wchar_t* text :
         {L"", L"fffffff0", L"fffffff0,0,0,0,190,0,0,0,0,0,0,0,20,",
          L"fffffff0,0,0,0,190,0,0,0,0,0,0,0,20,   ", L"zz,0,0,0,190,0,0,0,0,0,0,0,20,Arial",
          L"fffffff0;0;0;0;190;0;0;0;0;0;0;0;20;Arial"}) {
        EXPECT_FALSE(CLogFont::FromRecord(text).has_value()) << text;
        EXPECT_EQ(CLogFont::FromRecordOrDefault(text), CLogFont{});
    }
}

TEST(CLogFontTest, QtFontsKeepWhatTheRecordSaysAndTheRecordKeepsWhatQtCannotSay)
{
    CLogFont log;
    log.height = -22;
    log.weight = 700;
    log.italic = 1;
    log.charSet = 204;
    log.quality = 5;
    log.faceName = L"DejaVu Sans";
    const QFont font = FontFromLog(log);
    EXPECT_EQ(font.pixelSize(), 22);
    EXPECT_EQ(font.weight(), QFont::Bold);
    EXPECT_TRUE(font.italic());
    EXPECT_FALSE(font.underline());
    EXPECT_EQ(font.family(), QStringLiteral("DejaVu Sans"));
    EXPECT_EQ(LogFromFont(font, log), log);

    // Weight 0 means "normal"; a cell height is larger than the em.
    CLogFont cell;
    cell.height = 20;
    cell.weight = 0;
    EXPECT_EQ(FontFromLog(cell).pixelSize(), 16);
    EXPECT_EQ(FontFromLog(cell).weight(), QFont::Normal);
}

TEST(ColorRefTest, ColoursAreStoredWithRedInTheLowByte)
{
    EXPECT_EQ(ColorFromRef(3617341), QColor(61, 50, 55));
    EXPECT_EQ(ColorFromRef(49939), QColor(19, 195, 0));
    EXPECT_EQ(ColorFromRef(49407), QColor(255, 192, 0));
    EXPECT_EQ(RefFromColor(QColor(255, 0, 0)), 0x0000FF);
    EXPECT_EQ(RefFromColor(QColor(0, 0, 255)), 0xFF0000);
    EXPECT_EQ(RefFromColor(ColorFromRef(16777215)), 16777215);
    // A stray top byte is no colour.
    EXPECT_EQ(ColorFromRef(static_cast<int32_t>(0xFF3D3237u)), QColor(0x37, 0x32, 0x3D));
}

}  // namespace
