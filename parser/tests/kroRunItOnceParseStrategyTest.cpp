#include "parser/strategies/kroRunItOnceParseStrategy.h"

#include "companion/ReadHistoryFileEx.h"
#include "db/tables/kroFiles.h"
#include "db/tables/kroSites.h"
#include "foundation/WideText.h"
#include "parser/tests/StoredHandFixture.h"

#include <algorithm>
#include <filesystem>

namespace {

const wchar_t* const kRoom = L"Run It Once Poker";

// The room is detected by its Omaha headers: three players, the button seat 3.
std::string Hand(const std::string& number, const std::string& body)
{
    return "Run It Once Poker Hand #" + number +
           ": Omaha Pot Limit (\xE2\x82\xAC"
           "0.10/\xE2\x82\xAC"
           "0.20) - 2019/04/19 17:52 UTC [2019/04/19 18:52 CET]\n"
           "Table ID '34010755' 6-Max Seat #3 is the button\n"
           "Seat 1: Ann (\xE2\x82\xAC"
           "20 in chips)\n"
           "Seat 2: Ben (\xE2\x82\xAC"
           "20 in chips)\n"
           "Seat 3: Cid (\xE2\x82\xAC"
           "20 in chips)\n"
           "Ann: posts small blind \xE2\x82\xAC"
           "0.10\n"
           "Ben: posts big blind \xE2\x82\xAC"
           "0.20\n"
           "*** HOLE CARDS ***\n" +
           body + "\n\n";
}

std::string Euro(const std::string& text)
{
    std::string out;
    for (char c : text) {
        if (c == '~') {
            out += "\xE2\x82\xAC";
        } else {
            out += c;
        }
    }
    return out;
}

}  // namespace

class kroRunItOnceParseStrategyTest : public StoredHandFixture
{
protected:
    int Import(const std::string& text) { return ImportText(Euro(text), kRoom, "rio.txt"); }

    // Parses a file with the room's strategy, as the import does once the
    // room is detected.
    int ParseWithStrategy(const std::string& path)
    {
        std::vector<std::wstring> lines;
        int64_t position = 0;
        if (ReadHistoryFileEx(path, position, lines) != kReadOk) {
            return -1;
        }
        kroDB::kroSites::data site(*m_t.db);
        site.name = kRoom;
        if (!site.Load()) {
            return -1;
        }
        const std::wstring name = FromUtf8(std::filesystem::path(path).filename().string());
        kroDB::kroFiles::data file(*m_t.db);
        file.path = name;
        file.idsite = site.id;
        if (!file.Load()) {
            file.id = 0;
            file.finish = false;
            (void)file.Insert();
        }
        kroHandParser::kroRunItOnceParseStrategy strategy(*m_t.env, site.id, name);
        int currency = -1;
        return strategy.ParseFile(lines, file.id, currency, 0);
    }

    std::wstring Value(const std::wstring& player, const std::wstring& column)
    {
        return Scalar(L"SELECT hp." + column +
                      L"::text FROM handsplayers hp JOIN players p ON p.idplayer = hp.idplayer "
                      L"JOIN hands h ON h.id = hp.idhand WHERE p.name = '" +
                      player + L"' ORDER BY h.id DESC LIMIT 1");
    }
};

// Splash the pot.

TEST_F(kroRunItOnceParseStrategyTest, ASplashOfOneEuroBetweenTwoWinnersGivesEachFiftyCents)
{
    ASSERT_EQ(Import(Hand("1",
                          "STP added: ~1.00\n"
                          "Cid: folds\n"
                          "Ann: calls ~0.10\n"
                          "Ben: checks\n"
                          "*** FLOP *** [5c Tc 9h]\n"
                          "Ann: checks\n"
                          "Ben: checks\n"
                          "*** TURN *** [5c Tc 9h] [Qd]\n"
                          "Ann: checks\n"
                          "Ben: checks\n"
                          "*** RIVER *** [5c Tc 9h Qd] [2h]\n"
                          "Ann: checks\n"
                          "Ben: checks\n"
                          "*** SHOWDOWN ***\n"
                          "Ann shows [Ks Ah Ts 5d] for Two Pairs [Qd Ts Tc 5d 5c]\n"
                          "Ben shows [Kd Ad Th 5h] for Two Pairs [Qd Th Tc 5h 5c]\n"
                          "Ann collected ~0.68 from pot\n"
                          "Ben collected ~0.68 from pot\n"
                          "*** SUMMARY ***\n"
                          "Total pot ~1.40 | Main pot ~0.40 | STP ~1.00 | Rake ~0.04\n"
                          "Board [5c Tc 9h Qd 2h]\n"
                          "Seat 3: Cid (button) folded before Flop")),
              1);
    EXPECT_EQ(Value(L"Ann", L"val_stp"), L"50");
    EXPECT_EQ(Value(L"Ben", L"val_stp"), L"50");
    EXPECT_EQ(Value(L"Cid", L"val_stp"), L"0");
    EXPECT_EQ(Value(L"Ann", L"netwin"), L"48");
    EXPECT_EQ(Scalar(L"SELECT val_stp || '/' || totalpot || '/' || rake || '/' || "
                     L"showdown::text FROM hands"),
              L"100/140/4/true");
    EXPECT_EQ(Scalar(L"SELECT string_agg(amt::text, ',') FROM pots"), L"136");
    // The made hand in brackets after the cards is no part of them.
    EXPECT_EQ(Value(L"Ann", L"cards64"),
              std::to_wstring((1ULL << 50) | (1ULL << 38) | (1ULL << 47) | (1ULL << 16)));
}

TEST_F(kroRunItOnceParseStrategyTest, ASingleWinnerGetsTheWholeSplash)
{
    ASSERT_EQ(Import(Hand("2",
                          "STP added: ~0.50\n"
                          "Cid: folds\n"
                          "Ann: folds\n"
                          "*** SHOWDOWN ***\n"
                          "Ben: mucks hand\n"
                          "Ben collected ~0.80 from pot\n"
                          "*** SUMMARY ***\n"
                          "Total pot ~0.80 | Main pot ~0.30 | STP ~0.50 | Rake ~0.00\n"
                          "Seat 2: Ben (big blind) mucked hand and won ~0.80")),
              1);
    EXPECT_EQ(Value(L"Ben", L"val_stp"), L"50");
    EXPECT_EQ(Value(L"Ben", L"netwin"), L"60");
    // One player mucking is no show down, though the room writes the line.
    EXPECT_EQ(Scalar(L"SELECT showdown::text FROM hands"), L"false");
}

// What the room's files get wrong.

TEST_F(kroRunItOnceParseStrategyTest, AReturnLargerThanTheBetGivesBackOnlyTheBet)
{
    ASSERT_EQ(Import(Hand("3",
                          "Cid: folds\n"
                          "Ann: calls ~0.10\n"
                          "Ben: checks\n"
                          "*** FLOP *** [6h Jd 4c]\n"
                          "Ann: checks\n"
                          "Ben: bets ~0.21\n"
                          "Ann: folds\n"
                          "*** SHOWDOWN ***\n"
                          "Uncalled bet (~0.71) returned to Ben\n"
                          "Ben collected ~0.38 from pot\n"
                          "*** SUMMARY ***\n"
                          "Total pot ~0.40 | Rake ~0.02\n"
                          "Board [6h Jd 4c]")),
              1);
    EXPECT_EQ(Value(L"Ben", L"bet"), L"20");
    EXPECT_EQ(Value(L"Ben", L"netwin"), L"18");
    EXPECT_EQ(Scalar(L"SELECT a.amount FROM handsactions a JOIN actions c ON c.id = a.idaction "
                     L"WHERE c.code = 'UB'"),
              L"21");
}

TEST_F(kroRunItOnceParseStrategyTest, AReturnAfterTheLaterStreetsBelongsToTheStreetOfTheBet)
{
    ASSERT_EQ(Import(Hand("4",
                          "Cid: folds\n"
                          "Ann: calls ~0.10\n"
                          "Ben: checks\n"
                          "*** FLOP *** [2c Kd 5c]\n"
                          "Ann: bets ~19.80 and is all-in\n"
                          "Ben: calls ~5.00 and is all-in\n"
                          "*** TURN *** [2c Kd 5c] [2s]\n"
                          "*** RIVER *** [2c Kd 5c 2s] [Ad]\n"
                          "*** SHOWDOWN ***\n"
                          "Ann shows [Ac Jd 5h 4d] for Two Pairs [Ad Ac Kd 5h 5c]\n"
                          "Uncalled bet (~14.80) returned to Ann\n"
                          "Ann collected ~10.00 from pot\n"
                          "*** SUMMARY ***\n"
                          "Total pot ~10.40 | Rake ~0.40\n"
                          "Board [2c Kd 5c 2s Ad]")),
              1);
    EXPECT_EQ(Value(L"Ann", L"bet"), L"520");
    EXPECT_EQ(Value(L"Ann", L"netwin"), L"480");
    EXPECT_EQ(Value(L"Ben", L"netwin"), L"-520");
    // The turn was dealt without betting: both were all in on the flop.
    EXPECT_EQ(Scalar(L"SELECT streetallin FROM hands"), L"2");
}

TEST_F(kroRunItOnceParseStrategyTest, ARaisePrintedShortOfTheCallThatFollowsCountsInFull)
{
    ASSERT_EQ(Import(Hand("5",
                          "Cid: raises ~0.50 to ~0.70\n"
                          "Ann: folds\n"
                          "Ben: raises ~1.70 to ~2.40\n"
                          "Cid: calls ~2.70\n"
                          "*** FLOP *** [6c Jc Js]\n"
                          "Ben: checks\n"
                          "Cid: checks\n"
                          "*** TURN *** [6c Jc Js] [5d]\n"
                          "Ben: checks\n"
                          "Cid: checks\n"
                          "*** RIVER *** [6c Jc Js 5d] [Jh]\n"
                          "Ben: checks\n"
                          "Cid: checks\n"
                          "*** SHOWDOWN ***\n"
                          "Cid shows [Ad 3c As Kh] for Full House [As Ad Js Jh Jc]\n"
                          "Cid collected ~6.70 from pot\n"
                          "*** SUMMARY ***\n"
                          "Total pot ~6.90 | Rake ~0.20\n"
                          "Board [6c Jc Js 5d Jh]\n"
                          "Seat 2: Ben (big blind) mucked [4c 7h 4d 7s] and lost")),
              1);
    // Cid had 0.70 in and called 2.70: the raise was to 3.40, not 2.40.
    EXPECT_EQ(Value(L"Ben", L"bet"), L"340");
    EXPECT_EQ(Value(L"Cid", L"netwin"), L"330");
    EXPECT_EQ(Scalar(L"SELECT sum(netwin) + min(h.rake) FROM handsplayers hp JOIN hands h ON "
                     L"h.id = hp.idhand"),
              L"0");
    EXPECT_EQ(Scalar(L"SELECT showdown::text || '/' || val_players_sd FROM hands"), L"true/2");
}

// Hero.

TEST_F(kroRunItOnceParseStrategyTest, OneDealtLineMakesTheHeroAndEveryPlayerDealtMakesNone)
{
    const std::string fold =
        "Cid: folds\nAnn: folds\n*** SHOWDOWN ***\nBen: mucks hand\n"
        "Uncalled bet (~0.10) returned to Ben\n"
        "Ben collected ~0.20 from pot\n*** SUMMARY ***\n"
        "Total pot ~0.20 | Rake ~0.00\n";
    ASSERT_EQ(Import(Hand("6", "Dealt to Ann [Ks Ah Ts 5d]\n" + fold)), 1);
    EXPECT_EQ(Scalar(L"SELECT string_agg(name, ',' ORDER BY name) FROM players WHERE hero"),
              L"Ann");
    ASSERT_TRUE(m_t.context.LastPublishedHero().has_value());
    EXPECT_EQ(m_t.context.LastPublishedHero()->hero.name, L"Ann");
    EXPECT_EQ(m_t.context.LastPublishedHero()->currency, 1);

    ASSERT_EQ(Import(Hand("7",
                          "Dealt to Ben [Kd 4h Kc 6c]\nDealt to Cid [7d 8c 5s 6h]\n"
                          "Dealt to Ann [Ks Ah Ts 5d]\n" +
                              fold)),
              1);
    EXPECT_EQ(Scalar(L"SELECT string_agg(name, ',' ORDER BY name) FROM players WHERE hero"),
              L"Ann");
    EXPECT_EQ(Value(L"Cid", L"card1"), L"18");
    EXPECT_EQ(m_t.context.LastPublishedHero()->handId,
              std::stoll(Scalar(L"SELECT min(id) FROM hands")));
}

// Hands that must not be stored, and hands stored twice.

TEST_F(kroRunItOnceParseStrategyTest, ABadDateStoresNothingAndASecondImportAddsNothing)
{
    std::string bad = Hand("8",
                           "Cid: folds\nAnn: folds\n*** SUMMARY ***\nTotal pot ~0.20 | "
                           "Rake ~0.00\n");
    bad.replace(bad.find("2019/04/19 17:52"), 16, "2019/04/32 17:52");
    const std::string good = Hand("9",
                                  "Cid: folds\nAnn: folds\nBen collected ~0.30 from pot\n"
                                  "*** SUMMARY ***\nTotal pot ~0.30 | Rake ~0.00\n");
    ASSERT_EQ(Import(bad + good), 1);
    EXPECT_EQ(m_t.env->counts.rejected, 1);
    const std::wstring shape = Scalar(
        L"SELECT (SELECT count(*) FROM hands) || '/' || (SELECT count(*) FROM handsplayers) || "
        L"'/' || (SELECT count(*) FROM handsactions) || '/' || (SELECT count(*) FROM pots) || "
        L"'/' || (SELECT count(*) FROM handhistory)");
    EXPECT_EQ(shape, L"1/3/5/1/1");
    EXPECT_EQ(ImportText(Euro(good), kRoom, "again.txt"), 1);
    EXPECT_EQ(m_t.env->counts.alreadyStored, 1);
    EXPECT_EQ(Scalar(L"SELECT (SELECT count(*) FROM hands) || '/' || (SELECT count(*) FROM "
                     L"handsplayers) || '/' || (SELECT count(*) FROM handsactions) || '/' || "
                     L"(SELECT count(*) FROM pots) || '/' || (SELECT count(*) FROM handhistory)"),
              shape);
}

TEST_F(kroRunItOnceParseStrategyTest, AHandCutOffBeforeItsSummaryIsNotStored)
{
    const std::string whole = Hand("10",
                                   "Cid: folds\nAnn: folds\nBen collected ~0.30 from pot\n"
                                   "*** SUMMARY ***\nTotal pot ~0.30 | Rake ~0.00\n");
    EXPECT_EQ(Import(whole.substr(0, whole.find("*** SUMMARY"))), 0);
    EXPECT_EQ(m_t.env->counts.rejected, 1);
    EXPECT_EQ(Scalar(L"SELECT count(*) FROM hands"), L"0");
    EXPECT_EQ(Import(whole), 1);
    EXPECT_EQ(Scalar(L"SELECT count(*) FROM handsplayers"), L"3");
}

// The room's real files.

TEST_F(kroRunItOnceParseStrategyTest, EveryHandOfTheCorpusIsParsedAndItsMoneyAddsUp)
{
    VX_REQUIRE_CORPUS();
    std::vector<std::string> files;
    for (const auto& entry : std::filesystem::directory_iterator(vxtest::CorpusFile("runitonce"))) {
        files.push_back(entry.path().string());
    }
    std::sort(files.begin(), files.end());
    ASSERT_EQ(files.size(), 8u);
    for (const auto& file : files) {
        // Only Omaha files are the room's to import; Hold'em files are not
        // detected, though the strategy reads them as well.
        const bool omaha = std::filesystem::path(file).filename().string().rfind("PLO", 0) == 0;
        EXPECT_EQ(ImportFile(file, kRoom), omaha ? 1 : 0) << file;
        EXPECT_EQ(ParseWithStrategy(file), 1) << file;
    }
    EXPECT_EQ(Scalar(L"SELECT count(*) FROM hands"), L"8");
    EXPECT_EQ(m_t.env->counts.stored, 8);
    EXPECT_EQ(m_t.env->counts.alreadyStored, 3);
    // Without a splash the results sum to minus the rake; with one, to the
    // splash the room added. One file adds the splash to both pots its winner
    // collects; the winner is paid what its summary says it won, 143.84.
    EXPECT_EQ(Scalar(L"SELECT count(*) FROM hands h WHERE (SELECT sum(netwin) FROM handsplayers "
                     L"WHERE idhand = h.id) + h.rake <> coalesce(h.val_stp, 0)"),
              L"0");
    EXPECT_EQ(Scalar(L"SELECT max(hp.totalwin) FROM handsplayers hp JOIN hands h ON h.id = "
                     L"hp.idhand WHERE h.sitehandnumber = 36197946"),
              L"14384");
    EXPECT_EQ(Scalar(L"SELECT count(*) FROM hands WHERE val_stp > 0"), L"3");
    EXPECT_EQ(Scalar(L"SELECT count(*) FROM handsplayers WHERE netwin <> totalwin - bet OR "
                     L"netwin <> showdownwin + nonshowdownwin OR bet < 0"),
              L"0");
    // Pots with a splash keep every cent of their amounts.
    EXPECT_EQ(Scalar(L"SELECT string_agg(p.amt::text, ',' ORDER BY p.potnum) FROM pots p JOIN "
                     L"hands h ON h.id = p.idhand WHERE h.sitehandnumber = 36197946"),
              L"11952,2182");
    EXPECT_EQ(Scalar(L"SELECT string_agg(p.name || '=' || hp.netwin, ',' ORDER BY p.name) FROM "
                     L"handsplayers hp JOIN players p ON p.idplayer = hp.idplayer JOIN hands h ON "
                     L"h.id = hp.idhand WHERE h.sitehandnumber = 34011543 AND hp.netwin <> 0"),
              L"Gary Q=-2080,Hero=5029,Shaun J=-3129,Terry C=-20");
    EXPECT_EQ(Scalar(L"SELECT string_agg(p.name || '=' || hp.bet, ',' ORDER BY p.name) FROM "
                     L"handsplayers hp JOIN players p ON p.idplayer = hp.idplayer JOIN hands h ON "
                     L"h.id = hp.idhand WHERE h.sitehandnumber = 31260881 AND hp.bet > 200"),
              L"PaulOpenfold=18988,Randy O=18988");
    // Every player of the splash files is dealt face up: none is the hero.
    EXPECT_EQ(Scalar(L"SELECT string_agg(name, ',' ORDER BY name) FROM players WHERE hero"),
              L"Barre,Hero,PaulOpenfold");
}
