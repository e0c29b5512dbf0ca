#include "companion/ReadHistoryFileEx.h"
#include "foundation/GameKinds.h"
#include "foundation/WideText.h"
#include "parser/HandSplitter.h"
#include "parser/HeaderFields.h"
#include "parser/strategies/kroGGPokerParseStrategy.h"
#include "parser/strategies/kroPokerMasterParseStrategy.h"
#include "parser/strategies/kroPokerStarsParseStrategy.h"
#include "parser/tests/ParserTestEnvironment.h"
#include "testing/TestPaths.h"

#include <gtest/gtest.h>

#include <filesystem>

using namespace kroHandParser;

class HeaderTest : public ::testing::Test
{
protected:
    struct CRead
    {
        CGameTypeRecord game;
        int64_t localtime = 0;
        int64_t et = 0;
        int64_t utc = 0;
        HeaderStatus status = HeaderStatus::Ok;
    };

    CRead Read(kroParseStrategyI& strategy, const std::wstring& header)
    {
        CRead r;
        r.localtime = strategy.ParseHeader(header, r.game, r.et, r.utc);
        r.status = strategy.LastHeaderStatus();
        return r;
    }

    int64_t Local(int y, int mo, int d, int h, int mi, int s)
    {
        return *LocalDateTimeToSeconds(y, mo, d, h, mi, s);
    }

    vxtest::CParserTestEnvironment m_t;
    kroPokerStarsParseStrategy m_stars{*m_t.env, 1, L"file.txt"};
    kroGGPokerParseStrategy m_gg{*m_t.env, 6, L"gg.txt"};
};

TEST_F(HeaderTest, DollarHeaderWithBracketedEasternTimeUsesTheEasternTime)
{
    const CRead r = Read(m_stars,
                         L"PokerStars Hand #91745277977:  Hold'em No Limit ($0.10/$0.25 USD) - "
                         L"2013/01/03 20:15:07 EET [2013/01/03 13:15:07 ET]");
    ASSERT_EQ(r.status, HeaderStatus::Ok);
    EXPECT_EQ(r.game.smallblind, 10);
    EXPECT_EQ(r.game.bigblind, 25);
    EXPECT_EQ(r.game.currency, 0);
    EXPECT_EQ(r.game.idgamekind, kGameHoldemNoLimit);
    EXPECT_FALSE(r.game.fast);
    const int64_t t = Local(2013, 1, 3, 13, 15, 7);
    EXPECT_EQ(r.et, t);
    EXPECT_EQ(r.utc, t + 14400);
    EXPECT_EQ(r.localtime, t + 14400 - m_t.env->settings.localOffset);
}

TEST_F(HeaderTest, SingleTimeAndEuroAndPoundHeaders)
{
    CRead r =
        Read(m_stars,
             L"PokerStars Hand #96318916658:  5 Card Omaha Pot Limit ($3/$6 USD) - 2013/03/29 "
             L"3:47:12 ET");
    ASSERT_EQ(r.status, HeaderStatus::Ok);
    EXPECT_EQ(r.game.bigblind, 600);
    EXPECT_EQ(r.game.idgamekind, kGameOmaha5PotLimit);
    EXPECT_EQ(r.et, Local(2013, 3, 29, 3, 47, 12));
    r = Read(m_stars,
             L"PokerStars Hand #1:  Hold'em No Limit (\u20AC0.05/\u20AC0.10 EUR) - 2009/11/05 "
             L"20:00:00 CET [2009/11/05 14:00:00 ET]");
    EXPECT_EQ(r.game.currency, 1);
    r = Read(m_stars,
             L"PokerStars Hand #2:  Hold'em No Limit (\u00A30.05/\u00A30.10 GBP) - 2012/01/05 "
             L"20:00:00 GMT [2012/01/05 15:00:00 ET]");
    EXPECT_EQ(r.game.currency, 2);
}

TEST_F(HeaderTest, ZoomHeadersAreFastAndReadTheSymbol)
{
    const CRead r = Read(m_stars,
                         L"PokerStars Zoom Hand #169000000000:  Hold'em No Limit ($0.05/$0.10) - "
                         L"2017/04/01 10:00:00 CET [2017/04/01 4:00:00 ET]");
    ASSERT_EQ(r.status, HeaderStatus::Ok);
    EXPECT_TRUE(r.game.fast);
    EXPECT_EQ(r.game.currency, 0);
    EXPECT_EQ(r.game.bigblind, 10);
    EXPECT_EQ(r.et, Local(2017, 4, 1, 4, 0, 0));
}

TEST_F(HeaderTest, ShortDeckHeadersSetTheAnteAndKind202)
{
    CRead r =
        Read(m_stars,
             L"PokerStars Hand #199247789909:  6+ Hold'em No Limit (Button Blind $2 - Ante $2  "
             L"USD) - 2019/04/13 18:36:55 CET [2019/04/13 12:36:55 ET]");
    ASSERT_EQ(r.status, HeaderStatus::Ok);
    EXPECT_EQ(r.game.idgamekind, kGameShortDeckHoldem);
    EXPECT_EQ(r.game.bigblind, 200);
    EXPECT_EQ(r.game.ante, 200);
    EXPECT_EQ(r.game.smallblind, 0);
    r = Read(m_stars,
             L"PokerStars Hand #2:  6+ Hold'em No Limit (Button Blind$5 - Ante$5  USD) - "
             L"2019/01/17 10:11:07 CET");
    EXPECT_EQ(r.game.idgamekind, kGameShortDeckHoldem);
    EXPECT_EQ(r.game.bigblind, 500);
}

TEST_F(HeaderTest, GGPokerHeaderTimesAreUtc)
{
    const CRead r = Read(m_gg,
                         L"Poker Hand #RC3793509322: Hold'em No Limit ($0.02/$0.05) - 2025/08/09 "
                         L"08:19:13");
    ASSERT_EQ(r.status, HeaderStatus::Ok);
    const int64_t t = Local(2025, 8, 9, 8, 19, 13);
    EXPECT_EQ(r.utc, t);
    EXPECT_EQ(r.et, t - 14400);
    EXPECT_EQ(r.localtime, t - m_t.env->settings.localOffset);
    EXPECT_EQ(r.game.bigblind, 5);
}

TEST_F(HeaderTest, ImpossibleDatesAreRejectedButDayOverflowIsNormalised)
{
    CRead r = Read(m_stars,
                   L"PokerStars Hand #3:  Hold'em No Limit ($0.01/$0.02 USD) - 2021/13/01 10:00:00 "
                   L"ET");
    EXPECT_EQ(r.status, HeaderStatus::InvalidDateTime);
    r = Read(m_stars,
             L"PokerStars Hand #4:  Hold'em No Limit ($0.01/$0.02 USD) - 2021/02/30 10:00:00 ET");
    EXPECT_EQ(r.status, HeaderStatus::Ok);
    EXPECT_EQ(r.et, Local(2021, 3, 2, 10, 0, 0));
    r = Read(m_stars, L"PokerStars Hand #5:  gibberish");
    EXPECT_EQ(r.status, HeaderStatus::NoMatch);
    EXPECT_EQ(r.utc, 0);
}

TEST_F(HeaderTest, HomeGameAndOldHeadersAreRead)
{
    CRead r =
        Read(m_stars,
             L"PokerStars Home Game Hand #73411221486: {chipchipchip}  Hold'em No Limit (1/2) - "
             L"2012/01/19 23:50:11 ET");
    ASSERT_EQ(r.status, HeaderStatus::Ok);
    EXPECT_EQ(r.game.bigblind, 200);
    EXPECT_EQ(r.game.currency, -1);
    r = Read(m_stars,
             L"PokerStars Game #48397944918:  Hold'em Limit ($0.02/$0.04 USD) - 2010/08/20 5:01:22 "
             L"MSK [2010/08/19 21:01:22 ET]");
    ASSERT_EQ(r.status, HeaderStatus::Ok);
    EXPECT_EQ(r.game.idgamekind, kGameHoldemLimit);
}

TEST_F(HeaderTest, ClubHeaderZonesShiftTheTimes)
{
    kroPokerMasterParseStrategy club(*m_t.env, 5, L"club.txt");
    const CRead utc = Read(club,
                           L"PokerMaster Hand #1905261509100000: Omaha Pot Limit ($15/$30 USD) - "
                           L"2019/05/26 12:53:33 UTC");
    const CRead et = Read(club,
                          L"PokerMaster Hand #1905261509100000: Omaha Pot Limit ($15/$30 USD) - "
                          L"2019/05/26 12:53:33 ET");
    ASSERT_EQ(utc.status, HeaderStatus::Ok);
    EXPECT_EQ(utc.game.bigblind, 3000);
    EXPECT_EQ(utc.game.idgamekind, kGameOmahaPotLimit);
    EXPECT_EQ(et.et - utc.et, 14400);
    const CRead none = Read(club, L"PokerMaster Hand #1: nothing here");
    EXPECT_EQ(none.status, HeaderStatus::NoMatch);
    EXPECT_EQ(none.game.currency, -1);
}

TEST_F(HeaderTest, EveryCashHeaderOfThePokerStarsCorpusIsRead)
{
    VX_REQUIRE_CORPUS();
    int headers = 0;
    for (const auto& entry :
         std::filesystem::directory_iterator(vxtest::CorpusDir() + "/pokerstars")) {
        int64_t pos = 0;
        std::vector<std::wstring> lines;
        ASSERT_EQ(ReadHistoryFileEx(entry.path().string(), pos, lines), kReadOk);
        for (const auto& raw : lines) {
            const std::wstring line = Trim(raw);
            if (line.find(L"Hand #") == std::wstring::npos || line.rfind(L"Seat", 0) == 0 ||
                ContainsAfterFirst(line, L"Tournament")) {
                continue;
            }
            if (line.rfind(L"PokerStars", 0) != 0) {
                continue;
            }
            ++headers;
            const CRead r = Read(m_stars, line);
            EXPECT_EQ(r.status, HeaderStatus::Ok) << entry.path() << ": " << ToUtf8(line);
            EXPECT_GT(r.game.bigblind, 0) << ToUtf8(line);
            EXPECT_GT(r.game.idgamekind, 0) << ToUtf8(line);
        }
    }
    EXPECT_GT(headers, 3000);
}

TEST(HeaderFieldsTest, ThousandsSeparatorsGoOnlyFromAmounts)
{
    std::wstring line = L"Hero: Receives Cashout ($1,306.18), player 1,234 with $12,345,678";
    kroHandParser::RemoveThousandsSeparators(line);
    EXPECT_EQ(line, L"Hero: Receives Cashout ($1306.18), player 1,234 with $12345678");
    std::wstring cards = L"Board [Ah, Kd] $5,00";
    kroHandParser::RemoveThousandsSeparators(cards);
    EXPECT_EQ(cards, L"Board [Ah, Kd] $5,00");
}

TEST(HeaderFieldsTest, RupeeAmountsLoseTheirSignAndSeparators)
{
    std::wstring line = L"Player3: raises Rs. 1,146.21 to Rs. 1,194.21 and is all-in";
    kroHandParser::RemoveRupeeSigns(line);
    EXPECT_EQ(line, L"Player3: raises 1146.21 to 1194.21 and is all-in");
    std::wstring name = L"Seat 1: Mrs. 5 (Rs. 155.47 in chips)";
    kroHandParser::RemoveRupeeSigns(name);
    EXPECT_EQ(name, L"Seat 1: Mrs. 5 (155.47 in chips)");
    std::wstring end = L"Total pot Rs. 408 | Rake Rs. ";
    kroHandParser::RemoveRupeeSigns(end);
    EXPECT_EQ(end, L"Total pot 408 | Rake Rs. ");
}
