// Units sent as prepared statements on the second session: how held
// statements become parameters and shared statement texts, and what the
// server makes of them.
#include "db/HeldStatements.h"
#include "db/pq/CPqPipeline.h"
#include "db/pq/CPqSession.h"
#include "db/pq/PqUnit.h"
#include "db/pq/TableShapes.h"
#include "db/tests/DbTestFixture.h"
#include "foundation/WideText.h"

using namespace kroDB;
using namespace kroDB::pq;

namespace {

CHeldStatement Statement(const std::wstring& sql)
{
    CHeldStatement held;
    held.sql = sql;
    return held;
}

CHeldStatement Row(const std::wstring& table, RowValues values)
{
    CHeldStatement held;
    held.table = table;
    held.values = std::move(values);
    return held;
}

// A table t (id with a sequence default, n 0, b false, s without default).
CTableShapes ShapesOfT()
{
    return CTableShapes([](const std::wstring& table, auto& defaults) {
        if (table != L"t") {
            return false;
        }
        defaults = {{L"id", L"nextval('t_id_seq'::regclass)"},
                    {L"n", L"0"},
                    {L"b", L"false"},
                    {L"s", L""},
                    {L"localtime", L"'x'::character varying"}};
        return true;
    });
}

}  // namespace

TEST(PreparedUnitsTest, LiteralsBecomeParametersTheServerReadsAsItReadsTheLiterals)
{
    std::string value;
    EXPECT_EQ(ClassifyLiteral(L"'O''Neil'", value), LiteralKind::Param);
    EXPECT_EQ(value, "O'Neil");
    EXPECT_EQ(ClassifyLiteral(L"'back\\slash'", value), LiteralKind::Param);
    EXPECT_EQ(value, "back\\slash");
    EXPECT_EQ(ClassifyLiteral(L"'Zoë ♠'", value), LiteralKind::Param);
    EXPECT_EQ(value, "Zo\xc3\xab \xe2\x99\xa0");
    EXPECT_EQ(ClassifyLiteral(L"''", value), LiteralKind::Param);
    EXPECT_EQ(value, "");
    EXPECT_EQ(ClassifyLiteral(L"-12", value), LiteralKind::Param);
    EXPECT_EQ(value, "-12");
    EXPECT_EQ(ClassifyLiteral(L"TRUE", value), LiteralKind::Param);
    EXPECT_EQ(value, "true");
    // A decimal literal is numeric to the server, rounded into an integer
    // column; the parameter is cast so that it still is.
    EXPECT_EQ(ClassifyLiteral(L"1.5", value), LiteralKind::Numeric);
    EXPECT_EQ(ClassifyLiteral(L"2e3", value), LiteralKind::Numeric);
    EXPECT_EQ(ClassifyLiteral(L"null", value), LiteralKind::Null);
    for (const wchar_t* expression : {L"now()", L"E'x'", L"'a'b'", L"'open", L"1-2", L"x"}) {
        EXPECT_EQ(ClassifyLiteral(expression, value), LiteralKind::Inline) << ToUtf8(expression);
    }
}

TEST(PreparedUnitsTest, PlainInsertsBecomePreparedRowsAndOtherStatementsStayAsTheyAre)
{
    std::vector<CHeldStatement> held = {
        Statement(L"BEGIN"),
        Statement(L"insert into pots (idhand,potnum,amt)values(7,0,13)"),
        Statement(L"INSERT INTO handsactions (idhand,actionno,amount) Values (7,1,2),(7,2,-1);"),
        Statement(L"insert into hands (id,utc) values(7,now())"),
        Statement(L"update hands set totalpot = 12 where id=7"),
        Statement(L"COMMIT;"),
    };
    std::vector<CPqStep> steps;
    ASSERT_TRUE(BuildSteps(held, nullptr, steps));
    ASSERT_EQ(steps.size(), 6u);
    EXPECT_EQ(steps[0].sql, "BEGIN");
    EXPECT_TRUE(steps[0].prepare);
    EXPECT_EQ(steps[1].sql, "insert into pots (idhand,potnum,amt) values($1,$2,$3)");
    EXPECT_TRUE(steps[1].prepare);
    EXPECT_EQ(steps[1].params, (std::vector<std::string>{"7", "0", "13"}));
    EXPECT_EQ(steps[2].sql,
              "insert into handsactions (idhand,actionno,amount) values($1,$2,$3),($4,$5,$6)");
    EXPECT_EQ(steps[2].params, (std::vector<std::string>{"7", "1", "2", "7", "2", "-1"}));
    // An expression keeps the statement as written.
    EXPECT_EQ(steps[3].sql, "insert into hands (id,utc) values(7,now())");
    EXPECT_FALSE(steps[3].prepare);
    EXPECT_EQ(steps[4].sql, "update hands set totalpot = 12 where id=7");
    EXPECT_FALSE(steps[4].prepare);
    EXPECT_EQ(steps[5].sql, "COMMIT");

    // Settings for the unit draw no warning in the server's implicit
    // transaction and go as one statement; other statements that begin alike
    // stay as written.
    std::vector<CHeldStatement> settings = {
        Statement(L"SET LOCAL synchronous_commit = off"), Statement(L"set local veltrix.x = 'on';"),
        Statement(L"SET LOCALE = 1"), Statement(L"SET LOCAL a.b = x")};
    ASSERT_TRUE(BuildSteps(settings, nullptr, steps));
    ASSERT_EQ(steps.size(), 3u);
    EXPECT_EQ(steps[0].sql,
              "SELECT set_config('synchronous_commit', 'off', true), set_config('veltrix.x', "
              "'on', true)");
    EXPECT_TRUE(steps[0].prepare);
    EXPECT_EQ(steps[1].sql, "SET LOCALE = 1");
    EXPECT_EQ(steps[2].sql, "SELECT set_config('a.b', 'x', true)");

    // Several statements in one text cannot go as one protocol statement.
    std::vector<CHeldStatement> several = {Statement(L"BEGIN"),
                                           Statement(L"delete from t; delete from u")};
    EXPECT_FALSE(BuildSteps(several, nullptr, steps));
}

// Only a unit that adds one hand with its own players may sum it itself; its
// statement's values travel apart, and as text they are written in.
TEST(PreparedUnitsTest, TheSoleNewHandOfAUnitAndStatementsWithParameters)
{
    const auto hand = [](int64_t id) {
        CHeldStatement held = Row(L"hands", {{L"id", std::to_wstring(id)}});
        held.id = id;
        return held;
    };
    const auto player = [](const wchar_t* handId) {
        return Row(L"handsplayers", {{L"id", L"3"}, {L"idhand", handId}});
    };
    EXPECT_EQ(SoleNewHand({Statement(L"BEGIN"), hand(7), player(L"7"), player(L"7"),
                           Statement(L"insert into pots (idhand,potnum,amt)values(7,0,13)")}),
              std::optional<int64_t>(7));
    EXPECT_EQ(SoleNewHand({Statement(L"BEGIN"), Statement(L"insert into pots values(7,0,1)")}),
              std::nullopt);
    EXPECT_EQ(SoleNewHand({hand(7), player(L"7"), player(L"8")}), std::nullopt);
    EXPECT_EQ(SoleNewHand({hand(7), hand(8)}), std::nullopt);
    EXPECT_EQ(
        SoleNewHand({hand(7), Statement(L"insert into handsplayers (id,idhand) values(1,7)")}),
        std::nullopt);

    // A hand's own insert with or without its ";", but nothing after it.
    EXPECT_TRUE(AddsOnlyHandRows({Statement(L"BEGIN"), Statement(L"insert into pots values(7)"),
                                  Statement(L"insert into pots values(8);")}));
    EXPECT_FALSE(AddsOnlyHandRows({Statement(L"insert into pots values(7); delete from hands")}));

    CHeldStatement summed = Statement(L"insert into s select x from t where a = $1 and b = $12");
    summed.params = {L"7", L"", L"", L"", L"", L"", L"", L"", L"", L"", L"", L"it's"};
    std::vector<CHeldStatement> held = {summed};
    std::vector<CPqStep> steps;
    ASSERT_TRUE(BuildSteps(held, nullptr, steps));
    ASSERT_EQ(steps.size(), 1u);
    EXPECT_TRUE(steps[0].prepare);
    EXPECT_EQ(steps[0].params.size(), 12u);
    EXPECT_EQ(steps[0].params[11], "it's");
    EXPECT_EQ(HeldText({summed}),
              L"insert into s select x from t where a = '7' and b = 'it''s';\n");
}

TEST(PreparedUnitsTest, RowsOfATableShareOneStatementWhateverColumnsTheyCarry)
{
    CTableShapes shapes = ShapesOfT();
    std::vector<CHeldStatement> first = {Row(L"t", {{L"id", L"1"}, {L"n", L"5"}}),
                                         Row(L"t", {{L"id", L"2"}, {L"b", L"TRUE"}})};
    std::vector<CPqStep> steps;
    ASSERT_TRUE(BuildSteps(first, &shapes, steps));
    ASSERT_EQ(steps.size(), 1u);
    EXPECT_EQ(steps[0].sql, "insert into t (b,id,n) values($1,$2,$3),($4,$5,$6)");
    // What a row lacks goes as the column's default.
    EXPECT_EQ(steps[0].params, (std::vector<std::string>{"false", "1", "5", "true", "2", "0"}));

    // Columns in another order and fewer of them: the same text.
    std::vector<CHeldStatement> second = {Row(L"t", {{L"n", L"6"}, {L"id", L"3"}}),
                                          Row(L"t", {{L"id", L"4"}})};
    ASSERT_TRUE(BuildSteps(second, &shapes, steps));
    EXPECT_EQ(steps[0].sql, "insert into t (b,id,n) values($1,$2,$3),($4,$5,$6)");
    EXPECT_EQ(steps[0].params, (std::vector<std::string>{"false", "3", "6", "false", "4", "0"}));

    // A column without a default goes as null; one whose default is an
    // expression as DEFAULT; a quoted name finds its column.
    std::vector<CHeldStatement> third = {
        Row(L"t", {{L"id", L"5"}, {L"s", L"'x'"}, {L"\"localtime\"", L"'y'"}}),
        Row(L"t", {{L"n", L"1"}})};
    ASSERT_TRUE(BuildSteps(third, &shapes, steps));
    EXPECT_EQ(
        steps[0].sql,
        "insert into t (b,id,\"localtime\",n,s) values($1,$2,$3,$4,$5),($6,DEFAULT,$7,$8,$9)");
    EXPECT_EQ(steps[0].isNull, (std::vector<char>{0, 0, 0, 0, 0, 0, 0, 0, 1}));
    EXPECT_EQ(steps[0].params[7], "1");
    EXPECT_EQ(steps[0].params[6], "x");

    // Rows that name their values alike, the last one stopping early.
    std::vector<CHeldStatement> alike = {Row(L"t", {{L"id", L"7"}, {L"n", L"2"}, {L"b", L"true"}}),
                                         Row(L"t", {{L"id", L"8"}, {L"n", L"3"}})};
    ASSERT_TRUE(BuildSteps(alike, &shapes, steps));
    EXPECT_EQ(steps[0].sql,
              "insert into t (b,id,\"localtime\",n,s) values($1,$2,$3,$4,$5),($6,$7,$8,$9,$10)");
    EXPECT_EQ(steps[0].params,
              (std::vector<std::string>{"true", "7", "x", "2", "", "false", "8", "x", "3", ""}));
    EXPECT_EQ(steps[0].isNull, (std::vector<char>{0, 0, 0, 0, 1, 0, 0, 0, 0, 1}));

    // A column the catalogue does not know leaves the table's shape alone.
    std::vector<CHeldStatement> unknown = {Row(L"t", {{L"id", L"6"}, {L"nope", L"1"}})};
    ASSERT_TRUE(BuildSteps(unknown, &shapes, steps));
    EXPECT_EQ(steps[0].sql, "insert into t (id,nope) values($1,$2)");
}

TEST(PreparedUnitsTest, ARunOfRowsCarriesEveryColumnOnceInTheOrderFirstSeen)
{
    // Players of one hand: the same leading columns, then statistics that
    // differ from row to row, one named in another case.
    std::vector<CHeldStatement> held = {
        Statement(L"BEGIN"),
        Row(L"t", {{L"id", L"1"}, {L"a", L"1"}, {L"c", L"1"}}),
        Row(L"t", {{L"id", L"2"}, {L"b", L"1"}, {L"c", L"1"}, {L"d", L"1"}}),
        Row(L"t", {{L"id", L"3"}, {L"A", L"1"}, {L"e", L"1"}, {L"b", L"1"}}),
        Row(L"u", {{L"id", L"4"}}),
    };
    const std::vector<CHeldPiece> pieces = CutHeld(held);
    ASSERT_EQ(pieces.size(), 3u);
    EXPECT_FALSE(pieces[0].IsRows());
    const CHeldRowRun& run = pieces[1].rows;
    EXPECT_EQ(run.begin, 1u);
    EXPECT_EQ(run.end, 4u);
    EXPECT_EQ(run.columns, (std::vector<std::wstring>{L"id", L"a", L"c", L"b", L"d", L"e"}));
    EXPECT_FALSE(run.aligned);

    // Rows that name their values alike, one stopping early.
    held = {Row(L"t", {{L"id", L"1"}, {L"a", L"1"}}), Row(L"t", {{L"id", L"2"}})};
    const std::vector<CHeldPiece> alike = CutHeld(held);
    ASSERT_EQ(alike.size(), 1u);
    EXPECT_TRUE(alike[0].rows.aligned);
    EXPECT_EQ(alike[0].rows.columns, (std::vector<std::wstring>{L"id", L"a"}));
}

class PreparedSessionTest : public DbTestFixture
{
protected:
    void SetUp() override
    {
        DbTestFixture::SetUp();
        if (IsSkipped() || HasFatalFailure()) {
            return;
        }
        ASSERT_TRUE(CreateDatabase(*m_context, m_connect));
        ASSERT_TRUE(m_session.Open(m_connect, 10).IsOk());
    }

    // One unit adding players `names` (id, name) with its BEGIN and COMMIT.
    CStatus AddPlayers(const std::vector<std::pair<int, std::wstring>>& players)
    {
        std::vector<CHeldStatement> held = {Statement(L"BEGIN")};
        for (const auto& [id, name] : players) {
            held.push_back(Row(L"players", {{L"name", L"'" + ReplaceAll(name, L"'", L"''") + L"'"},
                                            {L"idplayer", std::to_wstring(id)},
                                            {L"idsite", L"1"}}));
        }
        held.push_back(Statement(L"COMMIT"));
        std::vector<CPqStep> steps;
        EXPECT_TRUE(BuildSteps(held, &m_session.Shapes(), steps));
        return m_session.Run(steps);
    }

    CPqSession m_session;
};

TEST_F(PreparedSessionTest, AFailedUnitLeavesNothingAndTheSessionGoesOn)
{
    ASSERT_TRUE(AddPlayers({{1, L"Ann"}, {2, L"Bob"}}).IsOk());
    const size_t prepared = m_session.PreparedCount();
    // The second row takes the name of a stored player of the site.
    const CStatus failed = AddPlayers({{3, L"Cid"}, {4, L"Ann"}});
    EXPECT_EQ(failed.GetCode(), CStatus::Code::Conflict);
    EXPECT_EQ(Scalar(L"SELECT string_agg(name, ' ' ORDER BY idplayer) FROM players"), L"Ann Bob");
    ASSERT_TRUE(AddPlayers({{5, L"Dee"}, {6, L"Eve"}}).IsOk());
    EXPECT_EQ(m_session.PreparedCount(), prepared);
    EXPECT_EQ(Scalar(L"SELECT count(*) FROM players"), L"4");
}

// Units sent behind each other: a failed one takes nothing of the others
// with it, also not the statements first prepared for it.
TEST_F(PreparedSessionTest, PipelinedUnitsFailAlone)
{
    const auto send = [&](std::vector<CHeldStatement> held) {
        std::vector<CPqStep> steps;
        ASSERT_TRUE(BuildSteps(held, &m_session.Shapes(), steps));
        (void)m_session.Send(steps, true);
    };
    const auto gameType = [](int id) {
        return Row(L"gametypes",
                   {{L"id", std::to_wstring(id)}, {L"idsite", L"1"}, {L"idgamekind", L"1"}});
    };
    send({Statement(L"BEGIN"),
          Row(L"players", {{L"idplayer", L"1"}, {L"idsite", L"1"}, {L"name", L"'Ann'"}}),
          Statement(L"COMMIT")});
    // Fails at its first row, before the statement of its second is used.
    send({Statement(L"BEGIN"),
          Row(L"players", {{L"idplayer", L"2"}, {L"idsite", L"1"}, {L"name", L"'Ann'"}}),
          gameType(5), Statement(L"COMMIT")});
    send({Statement(L"BEGIN"), gameType(6), Statement(L"COMMIT")});
    EXPECT_EQ(m_session.Pending(), 3u);
    EXPECT_TRUE(m_session.TakeOldest().IsOk());
    EXPECT_EQ(m_session.TakeOldest().GetCode(), CStatus::Code::Conflict);
    EXPECT_TRUE(m_session.TakeOldest().IsOk());
    EXPECT_EQ(m_session.Pending(), 0u);
    EXPECT_EQ(Scalar(L"SELECT string_agg(id::text, ' ' ORDER BY id) FROM gametypes"), L"6");
    EXPECT_EQ(Scalar(L"SELECT count(*) FROM players"), L"1");
    // The session is in no transaction afterwards.
    ASSERT_TRUE(AddPlayers({{3, L"Bob"}}).IsOk());
}

TEST_F(PreparedSessionTest, TextsArriveAsWritten)
{
    const std::wstring name = L"O'Neil \\ Zoë ♠ 'quoted'";
    ASSERT_TRUE(AddPlayers({{1, name}}).IsOk());
    EXPECT_EQ(Scalar(L"SELECT name FROM players WHERE idplayer = 1"), name);
}

TEST_F(PreparedSessionTest, AWrongPasswordIsUnavailable)
{
    CPqSession other;
    const CStatus status = other.Open(ReplaceAll(m_connect, L"Pwd=", L"Pwd=wrong"), 10);
    EXPECT_EQ(status.GetCode(), CStatus::Code::Unavailable);
    EXPECT_FALSE(other.IsOpen());
}
