// Several writers on one database: ids from sequences, the same hand kept once
// by the database's own key, and the repair of a database written before.
#include "db/SeveralWriters.h"

#include "db/CHandTransaction.h"
#include "db/IConnection.h"
#include "db/tables/kroFiles.h"
#include "db/tables/kroHands.h"
#include "db/tables/kroPlayers.h"
#include "db/tests/DbTestFixture.h"

#include <chrono>
#include <future>
#include <set>
#include <thread>

using namespace kroDB;
using namespace std::chrono_literals;

class SeveralWritersTest : public DbTestFixture
{
protected:
    void SetUp() override
    {
        DbTestFixture::SetUp();
        if (IsSkipped() || HasFatalFailure()) {
            return;
        }
        ASSERT_TRUE(CreateDatabase(*m_context, m_connect));
        m_context->SetConnectStrings(m_connect);
    }

    // A second program on the same database.
    std::unique_ptr<CDbContext> SecondWriter(CRecordingNotifier& notifier)
    {
        auto other = std::make_unique<CDbContext>(m_definitions, notifier, m_log);
        EXPECT_TRUE(other->AllocateEnvironment().IsOk());
        other->SetConnectStrings(m_connect);
        return other;
    }

    bool Run(const std::wstring& sql)
    {
        CConnectionLease connection(m_context->AcquireConnection(true));
        return connection && connection->Execute(sql);
    }
};

TEST_F(SeveralWritersTest, IdsComeFromTheDatabaseSoNoTwoWritersShareOne)
{
    CRecordingNotifier notifier;
    auto other = SecondWriter(notifier);
    CConnectionLease keepA(m_context->AcquireConnection(true));
    CConnectionLease keepB(other->AcquireConnection(true));
    std::set<int64_t> ids;
    for (int i = 0; i < 40; ++i) {
        CDbContext& writer = i % 2 == 0 ? *m_context : *other;
        kroHands::data hand(writer);
        hand.sitehandnumber = static_cast<uint64_t>(1000 + i);
        hand.utc = 1700000000;
        hand.idsite = 1;
        ASSERT_TRUE(hand.Insert());
        EXPECT_TRUE(ids.insert(hand.id).second) << hand.id;
    }
    EXPECT_EQ(Scalar(L"SELECT count(DISTINCT id) FROM hands"), L"40");
    EXPECT_TRUE(notifier.messages.empty());
    EXPECT_TRUE(m_notifier.messages.empty());
}

TEST_F(SeveralWritersTest, IdsTakenWithinAUnitLeaveTheUnitsWayOfCommitting)
{
    CConnectionLease connection(m_context->AcquireConnection(true));
    ASSERT_TRUE(connection);
    // Taken alone, before any unit.
    EXPECT_TRUE(connection->ReadsAlone());
    EXPECT_GT(m_context->TakeId(L"hands_id_seq", 2), 0);

    // Within a unit that waits for the disk and has sent its statements, the
    // ids come in the unit, which still waits for the disk at its commit.
    ASSERT_TRUE(connection->BeginUnit().IsOk());
    ASSERT_TRUE(connection->Execute(L"insert into gametypes (id, idsite) values (7, 1)"));
    std::unique_ptr<CODBCRecordset> rs;
    ASSERT_TRUE(connection->OpenRecordset(L"SELECT 1", rs));
    EXPECT_FALSE(connection->ReadsAlone());
    EXPECT_GT(m_context->TakeId(L"players_idplayer_seq", 2), 0);
    ASSERT_TRUE(
        connection->OpenRecordset(L"SELECT current_setting('synchronous_commit') AS s", rs));
    ASSERT_FALSE(rs->IsEOF());
    EXPECT_EQ(rs->Field(L"s").AsString(), L"on");
    rs.reset();
    EXPECT_TRUE(connection->CommitUnit().IsOk());
    EXPECT_EQ(Scalar(L"SELECT count(*) FROM gametypes WHERE id = 7"), L"1");
}

TEST_F(SeveralWritersTest, OfTwoWritersOfTheSameHandOneStoresItAndTheOtherIsToldQuietly)
{
    CRecordingNotifier notifier;
    auto other = SecondWriter(notifier);
    auto store = [](CDbContext& writer, bool hold) -> CStatus {
        CHandTransaction unit(writer);
        kroHands::data hand(writer);
        hand.sitehandnumber = 257180854570ull;
        hand.utc = 1700000000;
        if (hand.FindStored(3) != 0) {
            return CStatus::NotFound(L"found stored");
        }
        EXPECT_TRUE(hand.Insert());
        if (hold) {
            std::this_thread::sleep_for(1500ms);
        }
        return unit.Commit();
    };
    // Both look before either has stored it; the first commit wins, the other
    // meets the key and is told so without a message.
    auto first = std::async(std::launch::async, [&] { return store(*m_context, true); });
    std::this_thread::sleep_for(300ms);
    const CStatus second = store(*other, false);
    const CStatus firstStatus = first.get();
    EXPECT_NE(firstStatus.IsOk(), second.IsOk());
    EXPECT_EQ((firstStatus.IsOk() ? second : firstStatus).GetCode(), CStatus::Code::Conflict);
    EXPECT_TRUE(notifier.messages.empty());
    EXPECT_TRUE(m_notifier.messages.empty());
    EXPECT_EQ(Scalar(L"SELECT count(*) FROM hands"), L"1");
    // Tried again, the loser finds the hand.
    EXPECT_EQ(store(firstStatus.IsOk() ? *other : *m_context, false).GetCode(),
              CStatus::Code::NotFound);
}

TEST_F(SeveralWritersTest, APlayerIsInsertedOnceWhicheverWriterSeesItFirst)
{
    // A new player is committed aside from his hand's unit, so that the hand
    // can follow those on their way; the other writer, which looked before
    // he was stored, meets the key without a message and its hand goes on.
    CRecordingNotifier notifier;
    auto other = SecondWriter(notifier);
    {
        CHandTransaction unitA(*m_context, true);
        kroPlayers::data a(*m_context);
        a.idsite = 1;
        a.name = L"Ottoline";
        ASSERT_TRUE(a.InsertUnseen());

        CHandTransaction unitB(*other, true);
        kroPlayers::data b(*other);
        b.idsite = 1;
        b.name = L"Ottoline";
        EXPECT_FALSE(b.InsertUnseen());
        EXPECT_TRUE(unitB.Status().IsOk());
        b.idplayer = 0;
        ASSERT_TRUE(b.Load());
        EXPECT_EQ(b.idplayer, a.idplayer);
        EXPECT_TRUE(unitB.Commit().IsOk());
        // unitA is dropped: the player it named stays.
    }
    EXPECT_EQ(Scalar(L"SELECT count(*) FROM players WHERE name = 'Ottoline'"), L"1");
    EXPECT_TRUE(notifier.messages.empty());
    EXPECT_TRUE(m_notifier.messages.empty());

    // A unit that waits for the disk keeps its new player, and so does one
    // that has sent something.
    {
        CHandTransaction unit(*m_context);
        kroPlayers::data d(*m_context);
        d.idsite = 1;
        d.name = L"Isolde";
        ASSERT_TRUE(d.InsertUnseen());
    }
    EXPECT_EQ(Scalar(L"SELECT count(*) FROM players WHERE name = 'Isolde'"), L"0");
    {
        CHandTransaction unit(*m_context, true);
        EXPECT_TRUE(QueryHasRow(*m_context, L"SELECT 1"));
        kroPlayers::data c(*m_context);
        c.idsite = 1;
        c.name = L"Wendeline";
        ASSERT_TRUE(c.InsertUnseen());
    }
    EXPECT_EQ(Scalar(L"SELECT count(*) FROM players WHERE name = 'Wendeline'"), L"0");
}

TEST_F(SeveralWritersTest, TwoWritersRegisteringOneFileGetOneRow)
{
    CRecordingNotifier notifier;
    auto other = SecondWriter(notifier);
    kroFiles::data a(*m_context);
    a.path = L"HH20210304 Alnair II.txt";
    a.idsite = 1;
    ASSERT_TRUE(a.FindOrInsert());
    // The second writer looked before the first inserted: its insert meets
    // the key and it reads the first one's row.
    kroFiles::data b(*other);
    b.path = a.path;
    b.idsite = 1;
    b.id = 0;
    EXPECT_FALSE(b.Insert());
    ASSERT_TRUE(b.FindOrInsert());
    EXPECT_EQ(b.id, a.id);
    EXPECT_EQ(Scalar(L"SELECT count(*) FROM files"), L"1");
    EXPECT_TRUE(notifier.messages.empty());
}

TEST_F(SeveralWritersTest, ADatabaseWrittenBeforeIsRepairedAndKeyedOnUpgrade)
{
    // As an older program left it: no sequences, no unique keys, no room on
    // the hands, and rows stored twice by two writers at once.
    std::wstring undo;
    for (const auto& name : IdSequenceNames()) {
        undo += L"DROP SEQUENCE " + name + L";";
    }
    ASSERT_TRUE(Run(undo + L"DROP INDEX hands_samehand; DROP INDEX players_samename; DROP INDEX "
                           L"gametypes_samekey; DROP INDEX files_samename; DROP INDEX "
                           L"aliasdata_samemember; ALTER TABLE hands DROP COLUMN idsite; ALTER "
                           L"TABLE files DROP COLUMN finishsize; ALTER TABLE files DROP COLUMN "
                           L"finishcrc;"));
    EXPECT_FALSE(ReadyForSeveralWriters(*m_context));
    ASSERT_TRUE(Run(
        L"INSERT INTO gametypes (id, idsite, currency, idgamekind, bigblind, ante, maxseats, "
        L"fast) VALUES (1, 1, 0, 2, 10, 0, 6, false), (2, 1, 0, 2, 10, 0, 6, false);"
        L"INSERT INTO files (id, path, idsite, finish) VALUES (1, 'HH a.txt', 1, true), (2, 'HH "
        L"a.txt', 1, false);"
        L"INSERT INTO players (idplayer, name, idsite, hero) VALUES (1, 'Hero', 1, false), (2, "
        L"'Hero', 1, true), (3, 'Villain', 1, false);"
        L"INSERT INTO aliases (id, name) VALUES (1, 'Hero');"
        L"INSERT INTO aliasdata (idalias, idplayer) VALUES (1, 1), (1, 2);"
        L"INSERT INTO hands (id, idfile, sitehandnumber, idgametype, utc) VALUES (1, 1, 77, 1, "
        L"1600000000), (2, 2, 77, 2, 1600000000), (3, 2, 78, 2, 1600000100);"
        L"INSERT INTO handhistory (id, nvar, hh) VALUES (1, '0', ''), (2, '0', ''), (3, '0', "
        L"'');"
        L"INSERT INTO handsplayers (id, idhand, idplayer) VALUES (1, 1, 1), (2, 1, 3), (3, 2, "
        L"2), (4, 2, 3), (5, 3, 2);"
        L"INSERT INTO handsactions (idhand, actionno, idaction, idplayer, amount) VALUES (1, 1, "
        L"1, 1, 5), (2, 1, 1, 2, 5), (3, 1, 1, 2, 5);"
        L"INSERT INTO pots (idhand, potnum, amt) VALUES (1, 1, 10), (2, 1, 10), (3, 1, 20);"));

    CRepairCounts repaired;
    ASSERT_TRUE(PrepareForSeveralWriters(*m_context, &repaired));
    EXPECT_EQ(repaired.handsRemoved, 1);
    EXPECT_EQ(repaired.playersMerged, 1);
    EXPECT_EQ(repaired.gameTypesMerged, 1);
    EXPECT_EQ(repaired.filesMerged, 1);
    EXPECT_EQ(repaired.aliasMembersRemoved, 1);
    EXPECT_TRUE(ReadyForSeveralWriters(*m_context));

    // The first copy of each stays, and what named the others names it now.
    EXPECT_EQ(Scalar(L"SELECT string_agg(id || ':' || idfile || ':' || idgametype || ':' || "
                     L"idsite, ',' ORDER BY id) FROM hands"),
              L"1:1:1:1,3:1:1:1");
    EXPECT_EQ(Scalar(L"SELECT string_agg(idhand || ':' || idplayer, ',' ORDER BY id) FROM "
                     L"handsplayers"),
              L"1:1,1:3,3:1");
    EXPECT_EQ(Scalar(L"SELECT string_agg(idhand::text, ',' ORDER BY idhand) FROM handsactions"),
              L"1,3");
    EXPECT_EQ(Scalar(L"SELECT string_agg(idhand::text, ',' ORDER BY idhand) FROM pots"), L"1,3");
    EXPECT_EQ(Scalar(L"SELECT string_agg(id::text, ',' ORDER BY id) FROM handhistory"), L"1,3");
    EXPECT_EQ(Scalar(L"SELECT string_agg(idplayer || ':' || hero, ',' ORDER BY idplayer) FROM "
                     L"players"),
              L"1:true,3:false");
    EXPECT_EQ(Scalar(L"SELECT count(*) FROM aliasdata"), L"1");
    EXPECT_EQ(Scalar(L"SELECT count(*) FROM files"), L"1");
    EXPECT_EQ(Scalar(L"SELECT count(*) FROM gametypes"), L"1");

    // New ids go on past the largest stored.
    kroHands::data hand(*m_context);
    hand.sitehandnumber = 79;
    hand.utc = 1600000200;
    hand.idsite = 1;
    ASSERT_TRUE(hand.Insert());
    EXPECT_EQ(hand.id, 4);
    kroPlayers::data player(*m_context);
    player.idsite = 1;
    player.name = L"Newcomer";
    ASSERT_TRUE(player.Insert());
    EXPECT_EQ(player.idplayer, 4);
    // A second upgrade finds nothing to do.
    EXPECT_TRUE(UpgradeDatabase(*m_context));
    EXPECT_TRUE(PrepareForSeveralWriters(*m_context, &repaired));
    EXPECT_EQ(repaired.handsRemoved, 0);
}

TEST_F(SeveralWritersTest, ProgramsStartingTogetherUpgradeOnce)
{
    ASSERT_TRUE(Run(L"DROP INDEX hands_samehand; DROP SEQUENCE hands_id_seq;"));
    std::vector<std::future<bool>> starts;
    std::vector<std::unique_ptr<CRecordingNotifier>> notifiers;
    std::vector<std::unique_ptr<CDbContext>> writers;
    for (int i = 0; i < 3; ++i) {
        notifiers.push_back(std::make_unique<CRecordingNotifier>());
        writers.push_back(SecondWriter(*notifiers.back()));
    }
    for (auto& writer : writers) {
        starts.push_back(
            std::async(std::launch::async, [&writer] { return UpgradeDatabase(*writer); }));
    }
    for (auto& start : starts) {
        EXPECT_TRUE(start.get());
    }
    for (const auto& notifier : notifiers) {
        EXPECT_TRUE(notifier->messages.empty());
    }
    EXPECT_TRUE(ReadyForSeveralWriters(*m_context));
}

TEST_F(SeveralWritersTest, DurabilityAndReachabilityAreAskedWithoutMessages)
{
    EXPECT_TRUE(DatabaseReachable(*m_context));
    EXPECT_TRUE(MakeDurable(*m_context));
    CRecordingNotifier notifier;
    CDbContext nowhere(m_definitions, notifier, m_log);
    ASSERT_TRUE(nowhere.AllocateEnvironment().IsOk());
    nowhere.SetConnectStrings(
        L"Driver={PostgreSQL Unicode};Server=127.0.0.1;Port=1;Database=x;Uid=postgres;Pwd=x;");
    EXPECT_FALSE(DatabaseReachable(nowhere));
    EXPECT_TRUE(notifier.messages.empty());
}
