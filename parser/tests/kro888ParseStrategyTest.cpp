#include "foundation/WideText.h"
#include "parser/tests/StoredHandFixture.h"

#include <filesystem>
#include <fstream>

namespace {

// A three-handed table: Bob on the button, Carol the small blind, Alice the big.
std::string Hand(const std::string& number, const std::string& body)
{
    return "#Game No : " + number +
           "\n"
           "***** 888poker Hand History for Game " +
           number +
           " *****\n"
           "$0.02/$0.05 Blinds No Limit Holdem - *** 27 06 2023 12:02:42\n"
           "Table Kazan 6 Max (Real Money)\n"
           "Seat 4 is the button\n"
           "Total number of players : 3\n"
           "Seat 1: Alice ( $5 )\n"
           "Seat 4: Bob ( $5 )\n"
           "Seat 6: Carol ( $5 )\n"
           "Carol posts small blind [$0.02]\n"
           "Alice posts big blind [$0.05]\n"
           "** Dealing down cards **\n" +
           body + "\n\n";
}

int CountStartLines(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::string line;
    int n = 0;
    while (std::getline(in, line)) {
        const size_t at = line.find("#Game No :");
        n += at == 0 || at == 3 ? 1 : 0;  // 3: after a UTF-8 byte-order mark
    }
    return n;
}

std::string ReadBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
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

class kro888ParseStrategyTest : public StoredHandFixture
{
protected:
    int Import(const std::string& text) { return ImportText(text, L"888Poker", "888.txt"); }
};

// Uncalled bets: the room prints none, and the winner's "collected" is the pot.

TEST_F(kro888ParseStrategyTest, AWalkGivesTheBigBlindItsUncalledPartBack)
{
    ASSERT_EQ(Import(Hand("1001",
                          "Bob folds\n"
                          "Carol folds\n"
                          "** Summary **\n"
                          "Alice did not show his hand\n"
                          "Alice collected [ $0.04 ]")),
              1);
    EXPECT_EQ(ByPlayer(L"bet").at(L"Alice"), L"2");
    EXPECT_EQ(ByPlayer(L"netwin").at(L"Alice"), L"2");
    EXPECT_EQ(ByPlayer(L"netwin").at(L"Carol"), L"-2");
    EXPECT_EQ(Scalar(L"SELECT totalpot || '/' || rake FROM hands"), L"4/0");
    EXPECT_EQ(Scalar(L"SELECT amt FROM pots"), L"4");
    EXPECT_EQ(Scalar(L"SELECT a.amount FROM handsactions a JOIN actions c ON c.id = a.idaction "
                     L"WHERE c.code = 'UB'"),
              L"3");
}

TEST_F(kro888ParseStrategyTest, ABetThatEverybodyFoldsToIsReturnedDownToTheSecondLargest)
{
    ASSERT_EQ(Import(Hand("1002",
                          "Bob calls [$0.05]\n"
                          "Carol calls [$0.03]\n"
                          "Alice checks\n"
                          "** Dealing flop ** [ 4h, Kc, 3s ]\n"
                          "Carol checks\n"
                          "Alice bets [$10]\n"
                          "Bob folds\n"
                          "Carol folds\n"
                          "** Summary **\n"
                          "Alice collected [ $0.15 ]")),
              1);
    // Alice put in 10.05, the others 0.05 each: 10 came back.
    EXPECT_EQ(Scalar(L"SELECT a.amount FROM handsactions a JOIN actions c ON c.id = a.idaction "
                     L"WHERE c.code = 'UB'"),
              L"1000");
    EXPECT_EQ(ByPlayer(L"bet").at(L"Alice"), L"5");
    EXPECT_EQ(ByPlayer(L"netwin").at(L"Alice"), L"10");
    EXPECT_EQ(Scalar(L"SELECT sum(netwin) FROM handsplayers"), L"0");
    EXPECT_EQ(Scalar(L"SELECT totalpot || '/' || rake FROM hands"), L"15/0");
}

TEST_F(kro888ParseStrategyTest, OlderFilesThatPayTheReturnInCollectedKeepTheNetWin)
{
    // Here "collected" holds the pot and the uncalled raise together.
    ASSERT_EQ(Import(Hand("1003",
                          "Bob raises [$5]\n"
                          "Carol folds\n"
                          "Alice folds\n"
                          "** Summary **\n"
                          "Bob collected [ $5.07 ]")),
              1);
    EXPECT_EQ(ByPlayer(L"bet").at(L"Bob"), L"5");
    EXPECT_EQ(ByPlayer(L"totalwin").at(L"Bob"), L"12");
    EXPECT_EQ(ByPlayer(L"netwin").at(L"Bob"), L"7");
    EXPECT_EQ(Scalar(L"SELECT sum(netwin) FROM handsplayers"), L"0");
    EXPECT_EQ(Scalar(L"SELECT totalpot || '/' || rake FROM hands"), L"12/0");
}

TEST_F(kro888ParseStrategyTest, AnAllInCalledForLessLeavesTheRakeAndTheSidePotRight)
{
    ASSERT_EQ(Import(Hand("1004",
                          "Bob folds\n"
                          "Carol raises [$4.98]\n"
                          "Alice calls [$4.95]\n"
                          "** Dealing flop ** [ 4h, Kc, 3s ]\n"
                          "** Dealing turn ** [ Kh ]\n"
                          "** Dealing river ** [ 6c ]\n"
                          "** Summary **\n"
                          "Carol shows [ 3d, 3c ]\n"
                          "Alice shows [ 5h, 2h ]\n"
                          "Carol collected [ $9.50 ]")),
              1);
    EXPECT_EQ(ByPlayer(L"netwin").at(L"Carol"), L"450");
    EXPECT_EQ(ByPlayer(L"netwin").at(L"Alice"), L"-500");
    EXPECT_EQ(ByPlayer(L"showdownwin").at(L"Carol"), L"450");
    EXPECT_EQ(Scalar(L"SELECT totalpot || '/' || rake || '/' || showdown::text FROM hands"),
              L"1000/50/true");
    EXPECT_EQ(ByPlayer(L"rakeincents").at(L"Carol"), L"25");
    EXPECT_EQ(Scalar(L"SELECT boardcard1 || ' ' || boardcard5 FROM hands"), L"28 4");
}

// Hero, seats, positions.

// The player whose cards are dealt face up is the hero of the hand, as in
// every other room: its row is published for the session and its all-in EV
// computed.
TEST_F(kro888ParseStrategyTest, DealtToMarksTheHeroOfTheHand)
{
    ASSERT_EQ(Import(Hand("1005",
                          "Dealt to Carol [ 6d, 5c ]\n"
                          "Bob folds\n"
                          "Carol folds\n"
                          "** Summary **\n"
                          "Alice collected [ $0.04 ]")),
              1);
    EXPECT_EQ(Scalar(L"SELECT hero::text FROM players WHERE name = 'Carol'"), L"true");
    EXPECT_EQ(Scalar(L"SELECT hero::text FROM players WHERE name = 'Alice'"), L"false");
    EXPECT_EQ(Scalar(L"SELECT card1 || ' ' || card2 FROM handsplayers hp JOIN players p ON "
                     L"p.idplayer = hp.idplayer WHERE p.name = 'Carol'"),
              L"17 3");
    const auto hero = m_t.context.LastPublishedHero();
    ASSERT_TRUE(hero.has_value());
    EXPECT_EQ(hero->hero.name, L"Carol");
}

TEST_F(kro888ParseStrategyTest, PositionsCountFromTheButtonAndHeadsUpTheButtonIsSmallBlind)
{
    ASSERT_EQ(Import(Hand("1006",
                          "Bob folds\nCarol folds\n** Summary **\nAlice collected [ "
                          "$0.04 ]")),
              1);
    EXPECT_EQ(ByPlayer(L"position").at(L"Bob"), L"8");
    EXPECT_EQ(ByPlayer(L"position").at(L"Carol"), L"9");
    EXPECT_EQ(ByPlayer(L"position").at(L"Alice"), L"10");
    // Two players: the button posts the small blind and is the small blind.
    const std::string headsUp =
        "#Game No : 1007\n"
        "$0.50/$1 Blinds No Limit Holdem - *** 04 07 2016 02:30:27\n"
        "Table Leeds 10 Max (Real Money)\n"
        "Seat 6 is the button\n"
        "Seat 6: Hero ( $35 )\n"
        "Seat 8: Villain ( $98.24 )\n"
        "Hero posts small blind [$0.50]\n"
        "Villain posts big blind [$1]\n"
        "Hero folds\n"
        "** Summary **\n"
        "Villain collected [ $1 ]\n";
    ASSERT_EQ(Import(headsUp), 1);
    EXPECT_EQ(Scalar(L"SELECT hp.position FROM handsplayers hp JOIN players p ON p.idplayer = "
                     L"hp.idplayer WHERE p.name = 'Hero'"),
              L"9");
    EXPECT_EQ(Scalar(L"SELECT hp.position FROM handsplayers hp JOIN players p ON p.idplayer = "
                     L"hp.idplayer WHERE p.name = 'Villain'"),
              L"10");
}

TEST_F(kro888ParseStrategyTest, TheTableLineSetsTheSeatsOfTheGameTypeButNotBeforeTheBlinds)
{
    ASSERT_EQ(Import(Hand("1008",
                          "Bob folds\nCarol folds\n** Summary **\nAlice collected [ "
                          "$0.04 ]")),
              1);
    EXPECT_EQ(Scalar(L"SELECT maxseats FROM gametypes"), L"6");
    const std::string early =
        "#Game No : 1009\n"
        "Table Kazan 9 Max (Real Money)\n"
        "$0.10/$0.25 Blinds No Limit Holdem - *** 27 06 2023 12:02:42\n"
        "Seat 4 is the button\n"
        "Seat 1: Alice ( $5 )\n"
        "Seat 4: Bob ( $5 )\n"
        "Bob posts small blind [$0.10]\n"
        "Alice posts big blind [$0.25]\n"
        "Bob folds\n"
        "** Summary **\n"
        "Alice collected [ $0.20 ]\n";
    ASSERT_EQ(Import(early), 1);
    EXPECT_EQ(Scalar(L"SELECT maxseats FROM gametypes WHERE bigblind = 25"), L"0");
    EXPECT_EQ(Scalar(L"SELECT count(*) FROM gametypes"), L"2");
}

TEST_F(kro888ParseStrategyTest, ANameWithAStreetWordDealsNoBoardCards)
{
    ASSERT_EQ(Import("#Game No : 1010\n"
                     "$0.02/$0.05 Blinds No Limit Holdem - *** 27 06 2023 12:02:42\n"
                     "Seat 1 is the button\n"
                     "Seat 1: riverrat ( $5 )\n"
                     "Seat 2: flopper ( $5 )\n"
                     "riverrat posts small blind [$0.02]\n"
                     "flopper posts big blind [$0.05]\n"
                     "riverrat calls [$0.03]\n"
                     "flopper checks\n"
                     "** Dealing flop ** [ 4h, Kc, 3s ]\n"
                     "** Summary **\n"
                     "riverrat shows [ Js, 8d ]\n"
                     "flopper shows [ 9c, 9d ]\n"
                     "flopper collected [ $0.10 ]\n"),
              1);
    EXPECT_EQ(Scalar(L"SELECT coalesce(boardcard4::text, 'none') FROM hands"), L"none");
    EXPECT_EQ(Scalar(L"SELECT card1 FROM handsplayers hp JOIN players p ON p.idplayer = "
                     L"hp.idplayer WHERE p.name = 'riverrat'"),
              L"48");
}

// The client's language.

TEST_F(kro888ParseStrategyTest, GermanAmountsAndCardsReadLikeEnglishOnes)
{
    const std::string german =
        "#Game No : 1011\n"
        "0,01\xC2\xA0$/0,02\xC2\xA0$ Blinds No Limit Holdem - *** 10 02 2020 19:43:08\n"
        "Table Riga 9 Max (Real Money)\n"
        "Seat 5 is the button\n"
        "Seat 2: B2B ( 2,02\xC2\xA0$ )\n"
        "Seat 5: w3sby ( 1\xC2\xA0"
        "500,90\xC2\xA0$ )\n"
        "B2B posts small blind [0,01\xC2\xA0$]\n"
        "w3sby posts big blind [0,02\xC2\xA0$]\n"
        "** Dealing down cards **\n"
        "Dealt to B2B [ KHerz, 10Kreuz ]\n"
        "B2B calls [0,01\xC2\xA0$]\n"
        "w3sby checks\n"
        "** Dealing flop ** [ AKreuz, 7Herz, 7Kreuz ]\n"
        "** Dealing turn ** [ QKaro ]\n"
        "** Dealing river ** [ 2Pik ]\n"
        "** Summary **\n"
        "B2B shows [ KHerz, 10Kreuz ]\n"
        "w3sby mucks [ 3Pik, 4Pik ]\n"
        "B2B collected [ 0,04\xC2\xA0$ ]\n";
    ASSERT_EQ(Import(german), 1);
    EXPECT_EQ(ByPlayer(L"startcashincents").at(L"w3sby"), L"150090");
    EXPECT_EQ(ByPlayer(L"netwin").at(L"B2B"), L"2");
    EXPECT_EQ(Scalar(L"SELECT card1 || ' ' || card2 FROM handsplayers hp JOIN players p ON "
                     L"p.idplayer = hp.idplayer WHERE p.name = 'B2B'"),
              L"37 8");
    EXPECT_EQ(Scalar(L"SELECT boardcard1 || ' ' || boardcard4 || ' ' || boardcard5 FROM hands"),
              L"12 23 39");
    EXPECT_EQ(Scalar(L"SELECT currency || '/' || smallblind || '/' || bigblind FROM gametypes"),
              L"0/1/2");
}

TEST_F(kro888ParseStrategyTest, ADeadBlindIsMoneyInThePot)
{
    ASSERT_EQ(Import(Hand("1012",
                          "Bob posts dead blind [$0.02 + $0.05]\n"
                          "Bob checks\n"
                          "Carol folds\n"
                          "Alice checks\n"
                          "** Dealing flop ** [ 4h, Kc, 3s ]\n"
                          "** Summary **\n"
                          "Bob shows [ 3d, 3c ]\n"
                          "Alice shows [ 5h, 2h ]\n"
                          "Bob collected [ $0.14 ]")),
              1);
    // Only the big blind of the two is a live bet: Bob's check leaves nothing
    // uncalled.
    EXPECT_EQ(ByPlayer(L"bet").at(L"Bob"), L"7");
    EXPECT_EQ(ByPlayer(L"netwin").at(L"Bob"), L"7");
    EXPECT_EQ(Scalar(L"SELECT count(*) FROM handsactions a JOIN actions c ON c.id = a.idaction "
                     L"WHERE c.code = 'UB'"),
              L"0");
    EXPECT_EQ(Scalar(L"SELECT totalpot || '/' || rake FROM hands"), L"14/0");
}

TEST_F(kro888ParseStrategyTest, PlayChipHandsStayOut)
{
    const std::string practice =
        "#Game No : 1013\n"
        "0.50/1 Blinds Fix Limit Holdem - *** 21 03 2011 19:41:31\n"
        "Table Jerusalem (Practice Play)\n"
        "Seat 9 is the button\n"
        "Seat 1: player01 ( 9,966.25 )\n"
        "Seat 9: player07 ( 8.12 )\n"
        "player01 posts small blind [0.50]\n"
        "player07 posts big blind [1]\n"
        "player01 folds\n"
        "** Summary **\n"
        "player07 collected [ 1 ]\n";
    EXPECT_EQ(Import(practice + "\n" +
                     Hand("1014",
                          "Bob folds\nCarol folds\n** Summary **\nAlice "
                          "collected [ $0.04 ]")),
              1);
    EXPECT_EQ(Scalar(L"SELECT count(*) FROM hands"), L"1");
    EXPECT_EQ(m_t.env->counts.skipped, 1);
}

TEST_F(kro888ParseStrategyTest, BrokenHandsStoreNothingAndTheRestImports)
{
    const std::string noBlinds = "#Game No : 1015\nSeat 1: Alice ( $5 )\nAlice folds\n\n";
    std::string badDate = Hand("1016",
                               "Bob folds\nCarol folds\n** Summary **\nAlice collected [ "
                               "$0.04 ]");
    badDate.replace(badDate.find("27 06 2023"), 10, "27 13 2023");
    const std::string good = Hand("1017",
                                  "Bob folds\nCarol folds\n** Summary **\nAlice "
                                  "collected [ $0.04 ]");
    EXPECT_EQ(Import(noBlinds + badDate + good), 1);
    EXPECT_EQ(Scalar(L"SELECT sitehandnumber FROM hands"), L"1017");
    EXPECT_EQ(Scalar(L"SELECT count(*) FROM handsplayers"), L"3");
    EXPECT_EQ(m_t.env->counts.rejected, 2);
    // Lines the room never writes change nothing and break nothing.
    EXPECT_EQ(Import(Hand("1018",
                          "Nobody calls [$1]\nBob folds\nCarol folds\n** Summary **\n"
                          "Alice collected [ $0.04 ]\n** Dealing flop ** [ Zz, 1x ]")),
              1);
    // An amount of a listed player that is none, or negative, would invent or
    // lose money: the hand fails with a line that says so.
    m_t.env->counts = {};
    EXPECT_EQ(
        Import(Hand("1020",
                    "Alice raises [garbage]\nBob folds\nCarol folds\n** Summary **\n"
                    "Alice collected [ $0.04 ]") +
               Hand("1021", "Bob folds\nCarol folds\n** Summary **\nAlice collected [ $-1 ]")),
        0);
    EXPECT_EQ(m_t.env->counts.rejected, 2);
    ASSERT_GE(m_t.sink.logs.size(), 2u);
    EXPECT_EQ(m_t.sink.logs[m_t.sink.logs.size() - 2],
              L"hand #1020 skipped: an amount is negative or beyond 21,474,836.47, or no "
              L"amount: garbage");
    EXPECT_EQ(m_t.sink.logs.back(),
              L"hand #1021 skipped: an amount is negative or beyond 21,474,836.47, or no "
              L"amount:  $-1 ");
}

TEST_F(kro888ParseStrategyTest, ASecondImportAddsNothing)
{
    const std::string text = Hand("1019",
                                  "Bob folds\nCarol folds\n** Summary **\nAlice "
                                  "collected [ $0.04 ]");
    ASSERT_EQ(Import(text), 1);
    const std::wstring before = Scalar(
        L"SELECT (SELECT count(*) FROM hands) || '/' || (SELECT count(*) FROM handsplayers) || "
        L"'/' || (SELECT count(*) FROM handsactions) || '/' || (SELECT count(*) FROM pots) || "
        L"'/' || (SELECT count(*) FROM gametypes) || '/' || (SELECT count(*) FROM players)");
    EXPECT_EQ(ImportText(text, L"888Poker", "copy.txt"), 1);
    EXPECT_EQ(m_t.env->counts.alreadyStored, 1);
    EXPECT_EQ(Scalar(L"SELECT (SELECT count(*) FROM hands) || '/' || (SELECT count(*) FROM "
                     L"handsplayers) || '/' || (SELECT count(*) FROM handsactions) || '/' || "
                     L"(SELECT count(*) FROM pots) || '/' || (SELECT count(*) FROM gametypes) || "
                     L"'/' || (SELECT count(*) FROM players)"),
              before);
}

// The room's real files.

TEST_F(kro888ParseStrategyTest, AHandCutOffBeforeItsSummaryWaitsForTheRestOfTheFile)
{
    VX_REQUIRE_CORPUS();
    const std::string bytes = ReadBytes(
        vxtest::CorpusFile("888/888poker20190127 Ravenna $0.01-$0.02 No Limit Holdem.txt"));
    EXPECT_EQ(ImportText(CutInsideHand(bytes, "#Game No :", 5), L"888Poker", "ravenna.txt"), 4);
    EXPECT_EQ(m_t.env->counts.rejected, 1);
    EXPECT_EQ(Scalar(L"SELECT count(*) FROM hands"), L"4");
    EXPECT_EQ(ImportText(bytes, L"888Poker", "ravenna.txt"), 9);
    EXPECT_EQ(m_t.env->counts.stored, 9);
    EXPECT_EQ(
        Scalar(L"SELECT count(*) FROM hands h WHERE NOT EXISTS (SELECT 1 FROM handsplayers "
               L"WHERE idhand = h.id) OR NOT EXISTS (SELECT 1 FROM pots WHERE idhand = h.id)"),
        L"0");
}

TEST_F(kro888ParseStrategyTest, EveryRealMoneyHandOfTheCorpusImportsOnceWithMoneyThatAddsUp)
{
    VX_REQUIRE_CORPUS();
    int starts = 0;
    int imported = 0;
    std::vector<std::string> files;
    for (const auto& entry : std::filesystem::directory_iterator(vxtest::CorpusFile("888"))) {
        files.push_back(entry.path().string());
    }
    std::sort(files.begin(), files.end());
    for (const auto& file : files) {
        const int n = CountStartLines(file);
        starts += n;
        const int done = ImportFile(file, L"888Poker");
        imported += done;
        const bool practice = file.find("-PM-") != std::string::npos;
        // One hand's seat lines name nobody: its players cannot be told
        // apart, so it is not stored.
        const bool blank = file.find("blank.player.names") != std::string::npos;
        EXPECT_EQ(done, practice ? 0 : blank ? n - 1 : n) << file;
    }
    EXPECT_EQ(starts, 235);
    EXPECT_EQ(imported, 221);
    EXPECT_EQ(m_t.env->counts.skipped, 13);
    EXPECT_EQ(m_t.env->counts.rejected, 1);
    EXPECT_EQ(Scalar(L"SELECT count(*) FROM hands"), L"221");
    // Every hand: the players' results sum to minus the rake, the pot is what
    // they bet, and no rake is negative.
    EXPECT_EQ(Scalar(L"SELECT count(*) FROM hands h WHERE h.rake < 0 OR h.totalpot <> (SELECT "
                     L"sum(bet) FROM handsplayers WHERE idhand = h.id) OR -h.rake <> (SELECT "
                     L"sum(netwin) FROM handsplayers WHERE idhand = h.id)"),
              L"0");
    EXPECT_EQ(Scalar(L"SELECT count(*) FROM handsplayers WHERE netwin <> totalwin - bet OR "
                     L"netwin <> showdownwin + nonshowdownwin"),
              L"0");
    // German, Dutch, Swedish and Russian card names: every five-card board read.
    EXPECT_EQ(Scalar(L"SELECT count(*) FROM hands WHERE boardcard5 IS NULL AND id IN (SELECT "
                     L"idhand FROM handsactions a JOIN actions c ON c.id = a.idaction WHERE "
                     L"c.code = 'RC')"),
              L"0");

    const std::wstring shape = Scalar(
        L"SELECT (SELECT count(*) FROM hands) || '/' || (SELECT count(*) FROM handsplayers) || "
        L"'/' || (SELECT count(*) FROM handsactions) || '/' || (SELECT count(*) FROM pots) || "
        L"'/' || (SELECT count(*) FROM gametypes) || '/' || (SELECT count(*) FROM players)");
    m_t.env->counts = {};
    for (const auto& file : files) {
        ImportFile(file, L"888Poker");
    }
    EXPECT_EQ(m_t.env->counts.alreadyStored, 221);
    EXPECT_EQ(m_t.env->counts.stored, 0);
    EXPECT_EQ(Scalar(L"SELECT (SELECT count(*) FROM hands) || '/' || (SELECT count(*) FROM "
                     L"handsplayers) || '/' || (SELECT count(*) FROM handsactions) || '/' || "
                     L"(SELECT count(*) FROM pots) || '/' || (SELECT count(*) FROM gametypes) || "
                     L"'/' || (SELECT count(*) FROM players)"),
              shape);
}
