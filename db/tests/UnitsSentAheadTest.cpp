// Units committed ahead: the caller goes on while the server stores them, and
// whatever uses the connection next learns how it went first.
#include "db/CHandTransaction.h"
#include "db/IConnection.h"
#include "db/pq/CSharedWriter.h"
#include "db/tables/kroHands.h"
#include "db/tests/DbTestFixture.h"
#include "foundation/WideText.h"

using namespace kroDB;

class UnitsSentAheadTest : public DbTestFixture
{
protected:
    void SetUp() override
    {
        DbTestFixture::SetUp();
        if (IsSkipped() || HasFatalFailure()) {
            return;
        }
        ASSERT_TRUE(CreateDatabase(*m_context, m_connect))
            << (m_notifier.messages.empty() ? std::string() : ToUtf8(m_notifier.messages.back()));
        m_context->SetConnectStrings(m_connect);
        m_lease = std::make_unique<CConnectionLease>(m_context->AcquireConnection(true));
        ASSERT_TRUE(m_lease->get()->Execute(
            L"insert into gametypes (id, idsite, idgamekind) values (1, 1, 1)"));
    }

    void TearDown() override
    {
        m_lease.reset();
        DbTestFixture::TearDown();
    }

    IConnection& Connection() { return *m_lease->get(); }

    // Inserts hand `number` in the open unit; the same number twice is the
    // same hand (the unique key refuses the second).
    void InsertHand(int64_t number) { InsertHandOf(*m_context, number); }
    void InsertHandOf(CDbContext& context, int64_t number)
    {
        kroHands::data hand(context);
        hand.idfile = 1;
        hand.sitehandnumber = static_cast<uint64_t>(number);
        hand.idgametype = 1;
        hand.idsite = 1;
        hand.utc = 1700000000 + number;
        hand.localtime = hand.utc;
        ASSERT_TRUE(hand.Insert());
    }

    std::wstring Hands()
    {
        return Scalar(
            L"SELECT coalesce(string_agg(sitehandnumber::text, ' ' ORDER BY "
            L"sitehandnumber), '') FROM hands");
    }

    std::unique_ptr<CConnectionLease> m_lease;
};

TEST_F(UnitsSentAheadTest, AQueryAfterAUnitSentAheadSeesItsRows)
{
    for (int64_t number = 1; number <= 3; ++number) {
        CHandTransaction unit(*m_context);
        ASSERT_TRUE(unit.IsActive());
        InsertHand(number);
        ASSERT_TRUE(unit.CommitAhead().IsOk());
    }
    std::unique_ptr<CODBCRecordset> rs;
    ASSERT_TRUE(Connection().OpenRecordset(L"SELECT count(*) AS n FROM hands", rs));
    EXPECT_EQ(rs->Field(L"n").AsString(), L"3");
    // One outcome for each unit, each taken once.
    for (int number = 1; number <= 3; ++number) {
        const auto outcome = Connection().TakeAheadOutcome(false);
        ASSERT_TRUE(outcome.has_value());
        EXPECT_TRUE(outcome->IsOk());
    }
    EXPECT_FALSE(Connection().TakeAheadOutcome(true).has_value());
}

TEST_F(UnitsSentAheadTest, AFailedUnitSentAheadFailsTheNextUnitBeforeItIsSent)
{
    {
        CHandTransaction unit(*m_context);
        InsertHand(1);
        ASSERT_TRUE(unit.Commit().IsOk());
    }
    {
        // The same hand again: refused by the server once it gets there.
        CHandTransaction unit(*m_context);
        InsertHand(2);
        InsertHand(1);
        ASSERT_TRUE(unit.CommitAhead().IsOk());
    }
    {
        // Prepared on top of the failed one, with a row others may rest on
        // (a player): not sent at all.
        CHandTransaction unit(*m_context);
        InsertHand(3);
        ASSERT_TRUE(Connection().Execute(
            L"insert into players (idplayer, idsite, name) values (7, 1, 'Ann')"));
        const CStatus status = unit.CommitAhead();
        EXPECT_EQ(status.GetCode(), CStatus::Code::Conflict);
    }
    const auto outcome = Connection().TakeAheadOutcome(true);
    ASSERT_TRUE(outcome.has_value());
    EXPECT_EQ(outcome->GetCode(), CStatus::Code::Conflict);
    EXPECT_EQ(Hands(), L"1");
    // Nothing shown: the importer tells the user in its own words.
    EXPECT_TRUE(m_notifier.messages.empty())
        << (m_notifier.messages.empty() ? std::string() : ToUtf8(m_notifier.messages.front()));

    // The connection is whole again for the units done anew.
    {
        CHandTransaction unit(*m_context);
        InsertHand(3);
        ASSERT_TRUE(unit.CommitAhead().IsOk());
    }
    const auto next = Connection().TakeAheadOutcome(true);
    ASSERT_TRUE(next.has_value());
    EXPECT_TRUE(next->IsOk());
    EXPECT_EQ(Hands(), L"1 3");
}

// Units that only add their own hand's rows go behind each other without
// waiting; one that fails takes none of the others with it.
TEST_F(UnitsSentAheadTest, HandsSentBehindAFailedOneAreStoredWithTheirOwnOutcomes)
{
    const std::vector<std::vector<int64_t>> units = {{1}, {2, 1}, {3}, {4, 5}};
    for (const auto& hands : units) {
        CHandTransaction unit(*m_context);
        for (const int64_t number : hands) {
            InsertHand(number);
        }
        const CStatus status = unit.CommitAhead();
        ASSERT_TRUE(status.IsOk()) << ToUtf8(status.Message());
    }
    std::vector<CStatus::Code> outcomes;
    while (const auto outcome = Connection().TakeAheadOutcome(true)) {
        outcomes.push_back(outcome->GetCode());
    }
    EXPECT_EQ(outcomes, (std::vector<CStatus::Code>{CStatus::Code::Ok, CStatus::Code::Conflict,
                                                    CStatus::Code::Ok, CStatus::Code::Ok}));
    EXPECT_EQ(Hands(), L"1 3 4 5");
    EXPECT_TRUE(m_notifier.messages.empty())
        << (m_notifier.messages.empty() ? std::string() : ToUtf8(m_notifier.messages.front()));
}

TEST_F(UnitsSentAheadTest, AServerErrorOfAUnitSentAheadIsShownWhenItIsKnown)
{
    {
        CHandTransaction unit(*m_context);
        InsertHand(1);
        ASSERT_TRUE(Connection().Execute(L"insert into no_such_table values (1)"));
        ASSERT_TRUE(unit.CommitAhead().IsOk());
    }
    const auto outcome = Connection().TakeAheadOutcome(true);
    ASSERT_TRUE(outcome.has_value());
    EXPECT_FALSE(outcome->IsOk());
    EXPECT_NE(outcome->GetCode(), CStatus::Code::Conflict);
    EXPECT_EQ(m_notifier.messages.size(), 1u);
    EXPECT_EQ(Hands(), L"");
}

TEST_F(UnitsSentAheadTest, ClosingTheConnectionWaitsForTheUnitInFlight)
{
    {
        CHandTransaction unit(*m_context);
        InsertHand(1);
        ASSERT_TRUE(unit.CommitAhead().IsOk());
    }
    m_context->ResetConnection();
    EXPECT_EQ(Hands(), L"1");
}

// Two contexts, as two importing threads have, send their hands through one
// shared writer: each gets its own outcomes in its own order, a hand refused
// in one takes nothing of the other with it, and a context that lets the
// writer go sends through its own session again.
TEST_F(UnitsSentAheadTest, ContextsSharingAWriterGetTheirOwnOutcomes)
{
    CDbContext other(m_definitions, m_notifier, m_log);
    ASSERT_TRUE(other.AllocateEnvironment().IsOk());
    other.SetConnectStrings(m_connect);
    CConnectionLease otherLease(other.AcquireConnection(true));
    ASSERT_TRUE(otherLease);
    auto writer = std::make_shared<pq::CSharedWriter>();
    m_context->ShareWriter(writer);
    other.ShareWriter(writer);

    const auto send = [this](CDbContext& context, std::vector<int64_t> hands) {
        CHandTransaction unit(context);
        for (const int64_t number : hands) {
            InsertHandOf(context, number);
        }
        const CStatus status = unit.CommitAhead();
        ASSERT_TRUE(status.IsOk()) << ToUtf8(status.Message());
    };
    send(*m_context, {1});
    send(other, {10});
    send(*m_context, {2, 1});
    send(other, {11});
    send(other, {1});
    send(*m_context, {3});
    const auto outcomes = [](IConnection& connection) {
        std::vector<CStatus::Code> codes;
        while (const auto outcome = connection.TakeAheadOutcome(true)) {
            codes.push_back(outcome->GetCode());
        }
        return codes;
    };
    EXPECT_EQ(outcomes(Connection()),
              (std::vector<CStatus::Code>{CStatus::Code::Ok, CStatus::Code::Conflict,
                                          CStatus::Code::Ok}));
    EXPECT_EQ(outcomes(*otherLease.get()),
              (std::vector<CStatus::Code>{CStatus::Code::Ok, CStatus::Code::Ok,
                                          CStatus::Code::Conflict}));
    EXPECT_EQ(Hands(), L"1 3 10 11");
    // Every hand went through the writer's one session.
    EXPECT_EQ(Scalar(L"SELECT count(DISTINCT pid) FROM pg_stat_activity WHERE datname = "
                     L"current_database() AND query ~* '^insert into hands '"),
              L"1");

    m_context->ShareWriter(nullptr);
    writer.reset();
    send(*m_context, {4});
    EXPECT_EQ(outcomes(Connection()), (std::vector<CStatus::Code>{CStatus::Code::Ok}));
    EXPECT_EQ(Hands(), L"1 3 4 10 11");
    EXPECT_TRUE(m_notifier.messages.empty())
        << (m_notifier.messages.empty() ? std::string() : ToUtf8(m_notifier.messages.front()));
}
