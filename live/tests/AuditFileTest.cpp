#include "live/CAuditFile.h"
#include "parser/tests/ParserTestEnvironment.h"
#include "testing/CTempDir.h"

#include <gtest/gtest.h>

namespace {

using vxtest::CRecordingSink;

// An audit line as the client writes it, with the seat list `seats`.
std::wstring Line(const std::wstring& seats,
                  const std::wstring& currency = L"USD",
                  const std::wstring& blinds = L"smallblind=0.10,  bigblind=0.25",
                  const std::wstring& game = L"OMAHA",
                  const std::wstring& more = L"hi-lo=False,  user=Hero,  userstack=12.50",
                  const std::wstring& maxseats = L"6")
{
    return L"tablenumber=Halley,  hand=2468013579,  format=RING,  game=" + game + L",  currency=" +
           currency + L",  " + blinds + L",  button=3,  ante=0.00,  zoom=False,  " + more +
           L",  maxseats=" + maxseats + L", " + seats;
}

const std::wstring kSixSeats =
    L"seat1=Bluefish,  seat1stack=10.00,  seat2=,  seat2stack=0.00,  seat3=Caf%C3%A9,  "
    L"seat3stack=7.35,  seat4=Hero,  seat4stack=12.50,  seat5=Reef%20Shark,  seat5stack=0.00,  "
    L"seat6=Marlin,  seat6stack=25";

class AuditFileTest : public ::testing::Test
{
protected:
    bool Parse(const std::wstring& line)
    {
        m_record = CAuditFile();
        return ParseAuditText(line, m_record, m_log);
    }

    CRecordingSink m_log;
    CAuditFile m_record;
};

TEST(AuditDecodingTest, EscapesStandForBytesAndPlainCharactersStay)
{
    EXPECT_EQ(DecodeAuditText(L"a%3Db%2Cc%20d=e"), L"a=b,c d=e");
    // Lower-case hexadecimal digits count as 0: "%3d" is 0x30.
    EXPECT_EQ(DecodeAuditText(L"x%3dy"), L"x0y");
    EXPECT_EQ(DecodeAuditText(L"%zz"), std::wstring(1, L'\0'));
}

TEST(AuditDecodingTest, Utf8SequencesBecomeOneCharacter)
{
    EXPECT_EQ(DecodeAuditText(L"Caf%C3%A9"), L"Caf\u00E9");
    EXPECT_EQ(DecodeAuditText(L"%D0%9F%D1%91%D1%82%D1%80"), L"\u041F\u0451\u0442\u0440");
    EXPECT_EQ(DecodeAuditText(L"%E6%9D%8E"), L"\u674E");
    // Four bytes: a character beyond the 16-bit range (an emoji) survives whole.
    EXPECT_EQ(DecodeAuditText(L"%F0%9F%90%9F!"), L"\U0001F41F!");
}

TEST(AuditDecodingTest, AnEscapeCutOffByTheEndOfTheLineEndsTheDecoding)
{
    EXPECT_EQ(DecodeAuditText(L"abc%4"), L"abc");
    EXPECT_EQ(DecodeAuditText(L"abc%"), L"abc");
    // The whole sequence must fit: a lead byte whose second escape is missing
    // ends it too, whatever follows.
    EXPECT_EQ(DecodeAuditText(L"ab%C3%A"), L"ab");
    EXPECT_EQ(DecodeAuditText(L"ab%E6%9D"), L"ab");
}

TEST(AuditDecodingTest, BytesThatFormNoCharacterBecomeReplacementCharacters)
{
    // A continuation byte alone, a lead byte followed by no escape, an
    // overlong form; what broke a sequence off is read on its own.
    EXPECT_EQ(DecodeAuditText(L"%A9x"), L"\uFFFDx");
    EXPECT_EQ(DecodeAuditText(L"%C3xyz"), L"\uFFFDxyz");
    EXPECT_EQ(DecodeAuditText(L"%C3%41b"), L"\uFFFDAb");
    EXPECT_EQ(DecodeAuditText(L"%C0%80"), L"\uFFFD");
    EXPECT_EQ(DecodeAuditText(L"%FF%FE"), L"\uFFFD\uFFFD");
}

TEST_F(AuditFileTest, ALineGivesTheTableTheGameTheStakesAndTheSeats)
{
    ASSERT_TRUE(Parse(Line(kSixSeats)));
    EXPECT_EQ(m_record.tableName, L"Halley");
    EXPECT_EQ(m_record.handNumber, L"2468013579");
    EXPECT_EQ(m_record.format, L"RING");
    EXPECT_EQ(m_record.game, L"OMAHA");
    EXPECT_EQ(m_record.gameKind, 0);
    EXPECT_EQ(m_record.currency, 0);
    EXPECT_EQ(m_record.playMoney, 0);
    EXPECT_EQ(m_record.smallBlind, 10);
    EXPECT_EQ(m_record.bigBlind, 25);
    EXPECT_EQ(m_record.button, 3);
    EXPECT_EQ(m_record.tableSize, 6);
    EXPECT_EQ(m_record.names[0], L"Hero");
    EXPECT_EQ(m_record.names[1], L"Bluefish");
    EXPECT_EQ(m_record.names[3], L"Caf\u00E9");
    EXPECT_EQ(m_record.names[4], L"Hero");
    EXPECT_EQ(m_record.names[6], L"Marlin");
    // Seats without chips are empty and not counted.
    EXPECT_EQ(m_record.names[2], L"");
    EXPECT_EQ(m_record.names[5], L"");
    EXPECT_EQ(m_record.seatedPlayers, 4);
    EXPECT_EQ(m_record.heroSeat, 4);
}

TEST_F(AuditFileTest, PlayMoneyBlindsAreChipsAndCurrencyBlindsCents)
{
    ASSERT_TRUE(Parse(Line(kSixSeats, L"", L"smallblind=10,  bigblind=20")));
    EXPECT_EQ(m_record.playMoney, 1);
    EXPECT_EQ(m_record.smallBlind, 10);
    EXPECT_EQ(m_record.bigBlind, 20);

    ASSERT_TRUE(Parse(Line(kSixSeats, L"EUR", L"smallblind=0.29,  bigblind=1.5")));
    EXPECT_EQ(m_record.currency, 1);
    EXPECT_EQ(m_record.smallBlind, 29);
    EXPECT_EQ(m_record.bigBlind, 150);
    ASSERT_TRUE(Parse(Line(kSixSeats, L"EURO")));
    EXPECT_EQ(m_record.currency, 1);
    ASSERT_TRUE(Parse(Line(kSixSeats, L"GBP")));
    EXPECT_EQ(m_record.currency, 2);
    ASSERT_TRUE(Parse(Line(kSixSeats, L"CAD")));
    EXPECT_EQ(m_record.currency, 0);
    EXPECT_EQ(m_record.playMoney, 0);
}

TEST_F(AuditFileTest, GameKindsOfTheGamesAndHiLo)
{
    const auto kind = [&](const std::wstring& game, bool hiLo) {
        EXPECT_TRUE(Parse(Line(kSixSeats, L"USD", L"smallblind=0.10,  bigblind=0.25", game,
                               std::wstring(L"hi-lo=") + (hiLo ? L"True" : L"False") +
                                   L",  user=Hero,  userstack=1")));
        return m_record.gameKind;
    };
    EXPECT_EQ(kind(L"OMAHA", false), 0);
    EXPECT_EQ(kind(L"OMAHA", true), 1);
    EXPECT_EQ(kind(L"5_OMAHA", false), 2);
    EXPECT_EQ(kind(L"5_OMAHA", true), 3);
    EXPECT_EQ(kind(L"COURCHEVEL", false), 4);
    EXPECT_EQ(kind(L"COURCHEVEL", true), 5);
    EXPECT_EQ(m_record.hiLo, 1);
    // A Hold'em table must not show Omaha statistics.
    EXPECT_EQ(kind(L"HOLDEM", false), -1);
    EXPECT_EQ(kind(L"HOLDEM", true), -1);
}

TEST_F(AuditFileTest, ASeatBeyondTenIsReadButChangesNothing)
{
    ASSERT_TRUE(
        Parse(Line(L"seat1=Bluefish,  seat1stack=10,  seat11=Ghost,  seat11stack=5.00,  "
                   L"seat4=Hero,  seat4stack=3")));
    EXPECT_EQ(m_record.seatedPlayers, 2);
    EXPECT_EQ(m_record.names[4], L"Hero");
    for (size_t i = 0; i < m_record.names.size(); ++i) {
        EXPECT_NE(m_record.names[i], L"Ghost") << i;
    }
}

TEST_F(AuditFileTest, ALineOfElevenSeatsIsReadAsSuch)
{
    ASSERT_TRUE(Parse(Line(kSixSeats, L"USD", L"smallblind=0.10,  bigblind=0.25", L"OMAHA",
                           L"hi-lo=False,  user=Hero,  userstack=12.50", L"11")));
    EXPECT_EQ(m_record.tableSize, 11);
}

TEST_F(AuditFileTest, FieldsSeparatedByOneBlankAreReadToo)
{
    ASSERT_TRUE(
        Parse(L"tablenumber=Halley, hand=1, format=RING, game=OMAHA, currency=USD, "
              L"smallblind=0.25, bigblind=0.50, button=1, ante=0, zoom=True, hi-lo=False, "
              L"user=Hero, userstack=50, maxseats=2, seat1=Hero, seat1stack=50, "
              L"seat2=Bluefish, seat2stack=48.50"));
    EXPECT_EQ(m_record.bigBlind, 50);
    EXPECT_EQ(m_record.zoom, 1);
    EXPECT_EQ(m_record.names[2], L"Bluefish");
    EXPECT_EQ(m_record.heroSeat, 1);
}

TEST_F(AuditFileTest, ALineOfAnotherFormIsLoggedUndecoded)
{
    EXPECT_FALSE(Parse(L"tablenumber=Halley%2C hand=12"));
    ASSERT_EQ(m_log.logs.size(), 1u);
    EXPECT_EQ(m_log.logs[0], L"Audit file content tablenumber=Halley%2C hand=12 was not parsed!");
}

TEST_F(AuditFileTest, ASeatEntryOfAnotherFormStopsTheLine)
{
    EXPECT_FALSE(Parse(Line(L"seat1=Bluefish,  seat1stack=10,  seat2=Marlin")));
    ASSERT_EQ(m_log.logs.size(), 1u);
    EXPECT_EQ(m_log.logs[0], L"Audit file content seat2=Marlin was not parsed!");
}

TEST_F(AuditFileTest, SeatNumbersThatDifferWithinAnEntryAreWrong)
{
    EXPECT_FALSE(Parse(Line(L"seat1=Bluefish,  seat2stack=10")));
    ASSERT_EQ(m_log.logs.size(), 1u);
    EXPECT_EQ(m_log.logs[0],
              L"Audit file content seat1=Bluefish,  seat2stack=10 was not parsed! Seat is wrong.");
}

TEST_F(AuditFileTest, AHugeOrHostileLineIsRejectedWithoutHarm)
{
    std::wstring line = Line(kSixSeats);
    line += std::wstring(70000, L',');
    EXPECT_FALSE(Parse(line));
    EXPECT_FALSE(Parse(std::wstring(5000, L'%')));
    EXPECT_FALSE(Parse(L""));
}

TEST(AuditLineTest, OnlyTheFirstOfTheNewLinesIsProcessedAndThePositionMovesPastAll)
{
    vxtest::CTempDir dir;
    CRecordingSink log;
    const std::string path =
        dir.Write("audit.dat",
                  "tablenumber=Old, hand=1, format=RING, game=OMAHA, currency=USD, "
                  "smallblind=1, bigblind=2, button=1, ante=0, zoom=False, hi-lo=False, "
                  "user=Hero, userstack=50, maxseats=2, seat1=Hero, seat1stack=50\r\n");
    int64_t position = 0;
    CAuditFile first;
    ASSERT_TRUE(ParseAuditLine(std::wstring(path.begin(), path.end()), position, first, log));
    EXPECT_EQ(first.tableName, L"Old");
    EXPECT_GT(position, 0);

    dir.Append("audit.dat",
               "tablenumber=First, hand=2, format=RING, game=OMAHA, currency=USD, smallblind=1, "
               "bigblind=2, button=1, ante=0, zoom=False, hi-lo=False, user=Hero, userstack=50, "
               "maxseats=2, seat1=Hero, seat1stack=50\r\n"
               "tablenumber=Second, hand=3, format=RING, game=OMAHA, currency=USD, smallblind=1, "
               "bigblind=2, button=1, ante=0, zoom=False, hi-lo=False, user=Hero, userstack=50, "
               "maxseats=2, seat1=Hero, seat1stack=50\r\n"
               "tablenumber=Half");
    CAuditFile next;
    ASSERT_TRUE(ParseAuditLine(std::wstring(path.begin(), path.end()), position, next, log));
    EXPECT_EQ(next.tableName, L"First");
    // Nothing complete is left; the half-written line waits.
    CAuditFile none;
    EXPECT_FALSE(ParseAuditLine(std::wstring(path.begin(), path.end()), position, none, log));
    EXPECT_TRUE(log.logs.empty());
}

TEST(AuditLineTest, TheDebugSwitchLogsTheFileAndACutFileIsReadAgain)
{
    vxtest::CTempDir dir;
    class CDebugSink : public CRecordingSink
    {
    public:
        bool DebugEnabled() const override { return true; }
    } log;
    const std::string path = dir.Write("audit.dat", "x\n");
    const std::wstring wide(path.begin(), path.end());
    int64_t position = 1000;
    CAuditFile record;
    EXPECT_FALSE(ParseAuditLine(wide, position, record, log));
    ASSERT_GE(log.logs.size(), 1u);
    EXPECT_EQ(log.logs[0], L"File audit = " + wide);
    EXPECT_EQ(log.outputs[0], L"File audit = " + wide);
    // The position beyond the end was taken back to the start: the line "x"
    // was read and found no audit line.
    EXPECT_EQ(position, 2);
    EXPECT_EQ(log.logs.back(), L"Audit file content x was not parsed!");
    int64_t start = 0;
    EXPECT_FALSE(ParseAuditLine(L"/nonexistent/audit.dat", start, record, log));
}

}  // namespace
