#include "foundation/WideText.h"
#include "parser/tests/StoredHandFixture.h"

#include <algorithm>
#include <filesystem>
#include <fstream>

namespace {

const wchar_t* const kRoom = L"PokerKing Asia";

// A short-deck hand of three players, Cid on the button, everybody posting the
// ante before the blinds.
std::string ShortDeck(const std::string& number, const std::string& body)
{
    return "Game started at: 2019/2/16 8:37:2\n"
           "Game ID: " +
           number +
           " 0.50/1 PKNG7 (Hold'em 36)\n"
           "Seat 3 is the button\n"
           "Seat 1: Ann (100).\n"
           "Seat 2: Ben (100).\n"
           "Seat 3: Cid (100).\n"
           "Player Ann ante (1)\n"
           "Player Ben ante (1)\n"
           "Player Cid ante (1)\n"
           "Player Ann has small blind (0.50)\n"
           "Player Ben has big blind (1)\n" +
           body + "Game ended at: 2019/2/16 8:38:2\n\n";
}

int CountStartLines(const std::string& path)
{
    std::vector<std::wstring> lines;
    std::ifstream in(path, std::ios::binary);
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    // Files are UTF-16 LE with a byte-order mark, or 8-bit: count the text
    // with the zero bytes of the wide form taken out.
    bytes.erase(std::remove(bytes.begin(), bytes.end(), '\0'), bytes.end());
    int n = 0;
    for (size_t at = bytes.find("Game started at:"); at != std::string::npos;
         at = bytes.find("Game started at:", at + 1)) {
        ++n;
    }
    return n;
}

// The text up to the middle of hand `k` (1-based) of those that begin with `start`.
std::string CutInsideHand(const std::string& bytes, const std::string& start, int k)
{
    size_t at = 0;
    for (int i = 0; i < k; ++i) {
        at = bytes.find(start, i == 0 ? 0 : at + 1);
    }
    const size_t next = bytes.find(start, at + 1);
    return bytes.substr(0, at + ((next == std::string::npos ? bytes.size() : next) - at) / 2);
}

}  // namespace

class kroPKNGParseStrategyTest : public StoredHandFixture
{
protected:
    int Import(const std::string& text) { return ImportText(text, kRoom, "pkng.txt"); }

    // The action names of a player in action order.
    std::wstring ActionsOf(const std::wstring& player)
    {
        return Scalar(
            L"SELECT string_agg(c.name || ' ' || a.amount, ', ' ORDER BY a.actionno) "
            L"FROM handsactions a JOIN actions c ON c.id = a.idaction JOIN players p ON "
            L"p.idplayer = a.idplayer WHERE p.name = '" +
            player + L"' AND c.code NOT IN ('A', 'SB', 'BB', 'DC')");
    }
};

// "allin" lines: the room does not say whether the all-in bets, calls or raises.

TEST_F(kroPKNGParseStrategyTest, AnAllInBetsOnAnEmptyStreetCallsFiveAndRaisesThree)
{
    ASSERT_EQ(Import(ShortDeck("1",
                               "Player Cid folds\n"
                               "Player Ann calls (0.50)\n"
                               "Player Ben checks\n"
                               "*** FLOP ***: [6c 7d 8h]\n"
                               "Player Ann allin (5)\n"
                               "Player Ben allin (5)\n"
                               "*** TURN ***: [6c 7d 8h] [9s]\n"
                               "Player Ann bets (3)\n"
                               "Player Ben allin (5)\n"
                               "Player Ann calls (2)\n"
                               "------ Summary ------\n"
                               "Pot: 25. Rake 0\n")),
              1);
    EXPECT_EQ(ActionsOf(L"Ann"), L"calls 50, bets 500, bets 300, calls 200");
    EXPECT_EQ(ActionsOf(L"Ben"), L"checks 0, calls 500, raises 500");
}

TEST_F(kroPKNGParseStrategyTest, AnAllInOfABlindCountsWhatItHasInAlready)
{
    ASSERT_EQ(Import(ShortDeck("2",
                               "Player Cid bets (1.50)\n"
                               "Player Ann allin (1.50)\n"
                               "Player Ben allin (2)\n"
                               "------ Summary ------\n"
                               "Pot: 10. Rake 0\n")),
              1);
    // Ann's small blind and the 1.50 of her all-in make 2.00, above Cid's bet.
    EXPECT_EQ(ActionsOf(L"Ann"), L"raises 150");
    EXPECT_EQ(ActionsOf(L"Ben"), L"raises 200");
}

// The players' summary lines give the money.

TEST_F(kroPKNGParseStrategyTest, TheSummaryLinesSetBetWinAndALossWhateverTheStreetsSaid)
{
    ASSERT_EQ(Import(ShortDeck("3",
                               "Player Cid folds\n"
                               "Player Ann calls (0.50)\n"
                               "Player Ben raises (5)\n"
                               "Player Ann folds\n"
                               "Uncalled bet (5) returned to Ben\n"
                               "Player Ben mucks cards\n"
                               "------ Summary ------\n"
                               "Pot: 5. Rake 0\n"
                               "Player Ann does not show cards.Bets: 2. Collects: 0. Loses: "
                               "2.\n"
                               "*Player Ben mucks (does not show cards). Bets: 2. Collects: "
                               "5. Wins: 3.\n"
                               "Player Cid does not show cards.Bets: 1. Collects: 0. Loses: "
                               "1.\n")),
              1);
    EXPECT_EQ(ByPlayer(L"netwin").at(L"Ann"), L"-200");
    EXPECT_EQ(ByPlayer(L"bet").at(L"Ann"), L"200");
    EXPECT_EQ(ByPlayer(L"netwin").at(L"Ben"), L"300");
    EXPECT_EQ(ByPlayer(L"totalwin").at(L"Ben"), L"500");
    EXPECT_EQ(ByPlayer(L"nonshowdownwin").at(L"Ben"), L"300");
    EXPECT_EQ(ByPlayer(L"showdownwin").at(L"Ben"), L"0");
    EXPECT_EQ(Scalar(L"SELECT totalpot || '/' || rake || '/' || showdown::text FROM hands"),
              L"500/0/false");
}

TEST_F(kroPKNGParseStrategyTest, TheRakeAndAJackpotFeeComeOffThePotLine)
{
    ASSERT_EQ(Import(ShortDeck("4",
                               "Player Cid folds\n"
                               "Player Ann calls (0.50)\n"
                               "Player Ben checks\n"
                               "*** FLOP ***: [6c 7d 8h]\n"
                               "Player Ann checks\n"
                               "Player Ben checks\n"
                               "------ Summary ------\n"
                               "Pot: 4.50. Rake 0.25. JP fee 0.25\n"
                               "Board: [6c 7d 8h]\n"
                               "*Player Ann shows: Straight [9c Ts]. Bets: 2. Collects: 4.50. "
                               "Wins: 2.50.\n"
                               "Player Ben mucks (does not show: [As Ah]). Bets: 2. Collects: "
                               "0. Loses: 2.\n"
                               "Player Cid does not show cards.Bets: 1. Collects: 0. Loses: "
                               "1.\n")),
              1);
    EXPECT_EQ(Scalar(L"SELECT totalpot || '/' || rake || '/' || showdown::text || '/' || "
                     L"val_players_sd FROM hands"),
              L"500/50/true/2");
    EXPECT_EQ(Scalar(L"SELECT amt FROM pots"), L"450");
    EXPECT_EQ(ByPlayer(L"showdownwin").at(L"Ann"), L"250");
    EXPECT_EQ(ByPlayer(L"showdownwin").at(L"Ben"), L"-200");
    EXPECT_EQ(ByPlayer(L"nonshowdownwin").at(L"Cid"), L"-100");
    EXPECT_EQ(ByPlayer(L"card1").at(L"Ben"), L"51");
    // Short-deck values: the straight beats the pair of aces.
    EXPECT_GT(std::stoi(ByPlayer(L"combination").at(L"Ann")),
              std::stoi(ByPlayer(L"combination").at(L"Ben")));
    EXPECT_GT(std::stoi(ByPlayer(L"combination").at(L"Ben")), 0);
}

// The game type.

TEST_F(kroPKNGParseStrategyTest, OnlyTheFirstAnteLineSetsTheSeatsAndTheAnteIsTheBigBlind)
{
    const std::string hand =
        "Game started at: 2019/2/16 8:37:2\n"
        "Game ID: 5 0.50/1 PKNG7 (Hold'em 36)\n"
        "Seat 1 is the button\n"
        "Seat 1: Ann (100).\n"
        "Seat 2: Ben (100).\n"
        "Player Ann ante (1)\n"
        "Seat 3: Cid (100).\n"
        "Player Ben ante (1)\n"
        "Player Cid ante (1)\n"
        "Player Ben has small blind (0.50)\n"
        "Player Cid has big blind (1)\n"
        "Player Ann folds\n"
        "Player Ben folds\n"
        "------ Summary ------\n"
        "Pot: 4.50. Rake 0\n\n";
    ASSERT_EQ(Import(hand), 1);
    EXPECT_EQ(Scalar(L"SELECT idgamekind || '/' || maxseats || '/' || smallblind || '/' || "
                     L"bigblind || '/' || ante || '/' || currency FROM gametypes"),
              L"202/2/50/100/100/0");
    EXPECT_EQ(Scalar(L"SELECT seats FROM hands"), L"3");
}

TEST_F(kroPKNGParseStrategyTest, TheNetworksOtherGamesAreNamedInTheLastBrackets)
{
    const std::string omaha =
        "Game started at: 2016/8/8 16:26:41\n"
        "Game ID: 6 0.10/0.25 (PRR) Elepaio (Omaha HiLow)\n"
        "Seat 1 is the button\n"
        "Seat 1: Ann (10).\n"
        "Seat 2: Ben (10).\n"
        "Player Ann has small blind (0.10)\n"
        "Player Ben has big blind (0.25)\n"
        "Player Ann folds\n"
        "Uncalled bet (0.15) returned to Ben\n"
        "------ Summary ------\n"
        "Pot: 0.20. Rake 0\n"
        "Player Ann does not show cards.Bets: 0.10. Collects: 0. Loses: 0.10.\n"
        "*Player Ben mucks (does not show cards). Bets: 0.10. Collects: "
        "0.20. Wins: 0.10.\n\n";
    ASSERT_EQ(Import(omaha), 1);
    std::string holdem = omaha;
    const std::string id = "Game ID: 6 0.10/0.25 (PRR) Elepaio (Omaha HiLow)";
    holdem.replace(holdem.find(id), id.size(),
                   "Game ID: 7 0.10/0.25 Cristalite (JP) - CAP - 9-Max (Hold'em)");
    ASSERT_EQ(Import(holdem), 1);
    EXPECT_EQ(Scalar(L"SELECT string_agg(idgamekind || '/' || maxseats || '/' || ante, ',' "
                     L"ORDER BY id) FROM gametypes"),
              L"10/0/0,2/9/0");
}

// All-in EV of a short-deck hand.

TEST_F(kroPKNGParseStrategyTest, TheHerosAllInGetsItsEvAndItsHandIsPublished)
{
    const std::string hand =
        "Game started at: 2019/2/16 8:37:2\n"
        "Game ID: 8 0.50/1 PKNG7 (Hold'em 36)\n"
        "Seat 2 is the button\n"
        "Seat 1: Ann (100).\n"
        "Seat 2: Ben (100).\n"
        "Player Ann ante (1)\n"
        "Player Ben ante (1)\n"
        "Player Ben has small blind (0.50)\n"
        "Player Ann has big blind (1)\n"
        "Player Ann received card: [As]\n"
        "Player Ann received card: [Ah]\n"
        "Player Ben received a card.\n"
        "Player Ben received a card.\n"
        "Player Ben allin (98.50)\n"
        "Player Ann calls (98)\n"
        "*** FLOP ***: [6c 7d 8h]\n"
        "*** TURN ***: [6c 7d 8h] [9s]\n"
        "*** RIVER ***: [6c 7d 8h 9s] [Kd]\n"
        "------ Summary ------\n"
        "Pot: 198. Rake 2\n"
        "Board: [6c 7d 8h 9s Kd]\n"
        "*Player Ben shows: Straight [Ts Jc]. Bets: 100. Collects: 198. "
        "Wins: 98.\n"
        "Player Ann shows: One pair of As [As Ah]. Bets: 100. Collects: 0. "
        "Loses: 100.\n"
        "Game ended at: 2019/2/16 8:38:2\n";
    // The room keeps no dump of its all-in hands, whatever the settings say.
    m_t.env->settings.allinDump = true;
    m_t.env->settings.allinDumpFolder = FromUtf8(m_dir.File("dumps"));
    ASSERT_EQ(Import(hand), 1);
    EXPECT_FALSE(std::filesystem::exists(m_dir.File("dumps/8.dat")));
    EXPECT_EQ(Scalar(L"SELECT streetallin FROM hands"), L"1");
    EXPECT_EQ(Scalar(L"SELECT hero::text FROM players WHERE name = 'Ann'"), L"true");
    EXPECT_EQ(Scalar(L"SELECT hero::text FROM players WHERE name = 'Ben'"), L"false");
    // Aces are far ahead of jack-ten before the flop: the loss was a good bet.
    const int ev = std::stoi(ByPlayer(L"allinev").at(L"Ann"));
    EXPECT_GT(ev, 0);
    EXPECT_LT(ev, 19800);
    ASSERT_TRUE(m_t.context.LastPublishedHero().has_value());
    EXPECT_EQ(m_t.context.LastPublishedHero()->hero.netwin, -10000);
    EXPECT_EQ(m_t.context.LastPublishedHero()->hero.allinev, ev);
}

// Broken hands and repeated imports.

TEST_F(kroPKNGParseStrategyTest, AHandWithoutItsIdOrWithABadDateStoresNothing)
{
    const std::string noId = "Game started at: 2019/2/16 8:37:2\nSeat 1: Ann (100).\n\n";
    std::string badDate = ShortDeck("9",
                                    "Player Cid folds\nPlayer Ann folds\n------ Summary "
                                    "------\nPot: 4. Rake 0\n");
    badDate.replace(badDate.find("2019/2/16"), 9, "2019/2/36");
    const std::string good = ShortDeck("10",
                                       "Player Cid folds\nPlayer Ann folds\n------ Summary "
                                       "------\nPot: 4. Rake 0\n");
    EXPECT_EQ(Import(noId + badDate + good), 1);
    EXPECT_EQ(m_t.env->counts.rejected, 2);
    EXPECT_EQ(Scalar(L"SELECT sitehandnumber || '/' || utc FROM hands"),
              L"10/" + std::to_wstring(std::stoll(Scalar(L"SELECT \"localtime\" FROM hands")) +
                                       m_t.env->settings.localOffset));
    const std::wstring shape = Scalar(
        L"SELECT (SELECT count(*) FROM hands) || '/' || (SELECT count(*) FROM handsplayers) || "
        L"'/' || (SELECT count(*) FROM handsactions) || '/' || (SELECT count(*) FROM pots) || "
        L"'/' || (SELECT count(*) FROM gametypes)");
    EXPECT_EQ(ImportText(good, kRoom, "again.txt"), 1);
    EXPECT_EQ(m_t.env->counts.alreadyStored, 1);
    EXPECT_EQ(Scalar(L"SELECT (SELECT count(*) FROM hands) || '/' || (SELECT count(*) FROM "
                     L"handsplayers) || '/' || (SELECT count(*) FROM handsactions) || '/' || "
                     L"(SELECT count(*) FROM pots) || '/' || (SELECT count(*) FROM gametypes)"),
              shape);
}

// The room's real files.

TEST_F(kroPKNGParseStrategyTest, AHandCutOffBeforeItsSummaryWaitsForTheRestOfTheFile)
{
    VX_REQUIRE_CORPUS();
    std::ifstream in(vxtest::CorpusFile("pkng/hhsmithy-wpn-10MultipleHands.txt"), std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_EQ(ImportText(CutInsideHand(bytes, "Game started at:", 6), kRoom, "ten.txt"), 5);
    EXPECT_EQ(m_t.env->counts.rejected, 1);
    EXPECT_EQ(ImportText(bytes, kRoom, "ten.txt"), 10);
    EXPECT_EQ(m_t.env->counts.stored, 10);
    EXPECT_EQ(Scalar(L"SELECT count(*) FROM hands h WHERE NOT EXISTS (SELECT 1 FROM handsplayers "
                     L"WHERE idhand = h.id)"),
              L"0");
}

TEST_F(kroPKNGParseStrategyTest, EveryHandOfTheCorpusImportsOnceWithMoneyThatAddsUp)
{
    VX_REQUIRE_CORPUS();
    std::vector<std::string> files;
    for (const auto& entry : std::filesystem::directory_iterator(vxtest::CorpusFile("pkng"))) {
        files.push_back(entry.path().string());
    }
    std::sort(files.begin(), files.end());
    int starts = 0;
    for (const auto& file : files) {
        const int n = CountStartLines(file);
        starts += n;
        // A cancelled hand, where nobody paid into the pot, is left out.
        const bool cancelled = file.find("CancelledHand") != std::string::npos;
        EXPECT_EQ(ImportFile(file, kRoom), cancelled ? n - 1 : n) << file;
    }
    EXPECT_EQ(starts, 35);
    EXPECT_EQ(m_t.env->counts.skipped, 1);
    EXPECT_EQ(Scalar(L"SELECT count(*) FROM hands"), L"34");
    // The two hands of one file let a player with no name, whom no seat line
    // lists, post a blind and play: that player's money cannot be told.
    EXPECT_EQ(Scalar(L"SELECT string_agg(h.sitehandnumber::text, ',' ORDER BY h.sitehandnumber) "
                     L"FROM hands h WHERE "
                     L"(SELECT sum(netwin) FROM handsplayers WHERE idhand = h.id) <> -h.rake OR "
                     L"h.totalpot <> (SELECT sum(bet) FROM handsplayers WHERE idhand = h.id)"),
              L"665307190,665312038");
    EXPECT_EQ(Scalar(L"SELECT count(*) FROM handsplayers WHERE netwin <> totalwin - bet OR "
                     L"netwin <> showdownwin + nonshowdownwin"),
              L"0");
    EXPECT_EQ(Scalar(L"SELECT count(*) FROM hands WHERE utc = 0 OR totalpot < 0 OR rake < 0"),
              L"0");
    EXPECT_EQ(Scalar(L"SELECT string_agg(DISTINCT idgamekind::text, ',') FROM gametypes"),
              L"10,2,202,7");
    EXPECT_EQ(Scalar(L"SELECT count(*) FROM hands WHERE showdown"), L"7");

    const std::wstring shape = Scalar(
        L"SELECT (SELECT count(*) FROM hands) || '/' || (SELECT count(*) FROM handsplayers) || "
        L"'/' || (SELECT count(*) FROM handsactions) || '/' || (SELECT count(*) FROM pots) || "
        L"'/' || (SELECT count(*) FROM gametypes) || '/' || (SELECT count(*) FROM players)");
    m_t.env->counts = {};
    for (const auto& file : files) {
        ImportFile(file, kRoom);
    }
    EXPECT_EQ(m_t.env->counts.alreadyStored, 34);
    EXPECT_EQ(Scalar(L"SELECT (SELECT count(*) FROM hands) || '/' || (SELECT count(*) FROM "
                     L"handsplayers) || '/' || (SELECT count(*) FROM handsactions) || '/' || "
                     L"(SELECT count(*) FROM pots) || '/' || (SELECT count(*) FROM gametypes) || "
                     L"'/' || (SELECT count(*) FROM players)"),
              shape);
}
