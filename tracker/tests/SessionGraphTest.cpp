// The session graph: its points against the hero's stored hands in a real
// database, for the live session and for a stored day.
#include "foundation/LocalTime.h"
#include "live/tests/LiveTestFixture.h"
#include "tracker/CCurrencyTable.h"
#include "tracker/CRoraRevirTimerDlg.h"
#include "tracker/CSessionGraphWnd.h"
#include "tracker/SessionGraphPoints.h"
#include "tracker/TrackerCodecs.h"
#include "tracker/tests/TrackerTestHelpers.h"

#include <gtest/gtest.h>

#include <QChart>
#include <QDateTime>
#include <QLabel>
#include <QLineSeries>

namespace {

TEST(SessionGraphPointsTest, PointsAddUpHandByHandInTheDisplayCurrency)
{
    CCurrencyTable currency;
    const std::vector<CSessionHand> hands = {
        {1, 0, 150, 150}, {2, 1, -100, 40}, {3, 3, 5000, 5000}, {4, 0, -20, -80}};
    const std::vector<CGraphPoint> expected = {
        {0, 0, 0}, {1, 150, 150}, {2, 39, 195}, {3, 39, 195}, {4, 19, 115}};
    // -100 EUR cents at 1.12: -112 + 0.5 cut toward zero is -111.
    EXPECT_EQ(CumulativePoints(hands, currency), expected);
    EXPECT_EQ(CumulativePoints({}, currency), (std::vector<CGraphPoint>{{0, 0, 0}}));
}

// Live tracking into a real database, with the tracker window as its sink.
class SessionGraphTest : public vxtest::CLiveFixture
{
protected:
    void SetUp() override
    {
        vxtest::CLiveFixture::SetUp();
        if (IsSkipped() || HasFatalFailure()) {
            return;
        }
        m_tracker = std::make_unique<CRoraRevirTimerDlg>(m_profile, m_sound);
        m_tracker->SetDatabase(m_t.db.get());
        m_live->SetSessionSink(m_tracker.get());
    }

    void TearDown() override
    {
        m_tracker.reset();
        vxtest::CLiveFixture::TearDown();
    }

    struct StoredHand
    {
        int64_t utc = 0;
        int64_t money = 0;
        int64_t ev = 0;
    };

    // The hero's stored hands, read here without the graph's query: in the
    // order they were stored, or played.
    std::vector<StoredHand> StoredHeroHands(bool byTime)
    {
        std::vector<StoredHand> hands;
        CDatabase db(m_t.db->Environment());
        EXPECT_TRUE(db.Open(m_connect).IsOk());
        CODBCRecordset rs(db);
        EXPECT_TRUE(rs.Open(L"SELECT h.utc, hp.netwin, hp.allinev, hp.val_allin_street FROM "
                            L"handsplayers hp, players p, hands h WHERE p.idplayer = hp.idplayer "
                            L"AND h.id = hp.idhand AND p.name = 'PlayTheBlues4U' ORDER BY " +
                            std::wstring(byTime ? L"h.utc, h.id" : L"h.id"))
                        .IsOk());
        while (!rs.IsEOF()) {
            StoredHand hand;
            hand.utc = rs.Field(size_t{0}).AsLong();
            hand.money = rs.Field(size_t{1}).AsLong();
            // An all-in EV that could not be worked out is not stored.
            hand.ev = rs.Field(size_t{3}).AsInt() > 0 && !rs.Field(size_t{2}).IsNull()
                          ? rs.Field(size_t{2}).AsLong()
                          : hand.money;
            hands.push_back(hand);
            (void)rs.MoveNext();
        }
        return hands;
    }

    static std::vector<CGraphPoint> Running(const std::vector<StoredHand>& hands)
    {
        std::vector<CGraphPoint> points = {{}};
        for (const StoredHand& h : hands) {
            CGraphPoint p = points.back();
            ++p.hand;
            p.money += h.money;
            p.ev += h.ev;
            points.push_back(p);
        }
        return points;
    }

    vxtest::CRecordingProfile m_profile;
    vxtest::CRecordingSound m_sound;
    std::unique_ptr<CRoraRevirTimerDlg> m_tracker;
};

TEST_F(SessionGraphTest, TheSessionGraphFollowsLiveHandsAndEqualsTheStoredHeroHands)
{
    m_live->StartLiveTracking();
    CSessionGraphWnd* graph = m_tracker->ShowSessionGraph();
    ASSERT_NE(graph, nullptr);
    EXPECT_EQ(graph->Points().size(), 1u);

    AppendHands("HH20191007 Sculptor.txt", 0, 5);
    ASSERT_TRUE(RunUntilStored(5));
    Settle();
    const size_t firstCount = graph->Points().size();
    EXPECT_GT(firstCount, 1u);

    // Among these, all-in hands whose EV could not be worked out: they count
    // their money on both lines.
    AppendHands("HH20191007 Sculptor.txt", 5, 24);
    ASSERT_TRUE(RunUntilStored(24));
    Settle();
    const auto stored = StoredHeroHands(false);
    ASSERT_FALSE(stored.empty());
    EXPECT_GT(graph->Points().size(), firstCount);
    EXPECT_EQ(graph->Points(), Running(stored));

    // The end of the line is what the tracker shows.
    const CGraphPoint last = graph->Points().back();
    EXPECT_EQ(m_tracker->MoneyText(), QString::fromStdWString(FormatCents(last.money)));
    EXPECT_EQ(m_tracker->EvText(), QString::fromStdWString(FormatCents(last.ev)));
    auto* money = graph->findChild<QLabel*>(QStringLiteral("summary"));
    ASSERT_NE(money, nullptr);
    EXPECT_TRUE(money->text().contains(QString::fromStdWString(FormatCents(last.money))));

    // A new session starts an empty graph.
    m_tracker->UpdateFigures(0, 0, 0, 0);
    EXPECT_EQ(graph->Points().size(), 1u);
}

TEST_F(SessionGraphTest, AStoredDayShowsTheHeroHandsOfThatLocalDay)
{
    m_live->StartLiveTracking();
    AppendHands("HH20191007 Sculptor.txt", 0,
                static_cast<size_t>(std::min<size_t>(m_hands.size(), 20)));
    ASSERT_TRUE(RunUntilStored(1));
    Settle();
    (void)TickUntil([] { return false; }, std::chrono::seconds(1));
    const auto stored = StoredHeroHands(true);
    ASSERT_FALSE(stored.empty());

    // Stored utc times lag the true time by the local offset.
    const int64_t offset = MeasureLocalUtcOffset();
    const QDate day = QDateTime::fromSecsSinceEpoch(stored.front().utc + offset).date();
    std::vector<StoredHand> ofDay;
    for (const StoredHand& h : stored) {
        if (QDateTime::fromSecsSinceEpoch(h.utc + offset).date() == day) {
            ofDay.push_back(h);
        }
    }

    CSessionGraphWnd* graph = m_tracker->ShowSessionGraph();
    ASSERT_TRUE(graph->ShowDay(day));
    EXPECT_FALSE(graph->ShowingSession());
    EXPECT_EQ(graph->Points(), Running(ofDay));
    // The chart draws the same points in currency units.
    const auto series = graph->Chart()->series();
    const QLineSeries* moneySeries = nullptr;
    for (auto* s : series) {
        if (s->name() == QStringLiteral("Money won")) {
            moneySeries = qobject_cast<const QLineSeries*>(s);
        }
    }
    ASSERT_NE(moneySeries, nullptr);
    ASSERT_EQ(moneySeries->count(), static_cast<int>(ofDay.size() + 1));
    EXPECT_DOUBLE_EQ(moneySeries->at(moneySeries->count() - 1).y(),
                     static_cast<double>(Running(ofDay).back().money) / 100.0);

    // A day without hands is an empty line, not a failure.
    ASSERT_TRUE(graph->ShowDay(day.addDays(-400)));
    EXPECT_EQ(graph->Points().size(), 1u);
    graph->ShowSession();
    EXPECT_TRUE(graph->ShowingSession());
}

TEST(SessionGraphNoDatabaseTest, WithoutADatabaseOnlyTheSessionIsShown)
{
    vxtest::CRecordingProfile profile;
    vxtest::CRecordingSound sound;
    CRoraRevirTimerDlg tracker(profile, sound);
    CSessionGraphWnd* graph = tracker.ShowSessionGraph();
    EXPECT_FALSE(graph->ShowDay(QDate(2023, 8, 5)));
    EXPECT_EQ(graph->Points().size(), 1u);
    tracker.HandsCounted({{1, 0, 500, 300}});
    tracker.UpdateFigures(1, 500, 300, 200);
    graph->ShowSession();
    EXPECT_EQ(graph->Points().back(), (CGraphPoint{1, 500, 300}));
    graph->close();
}

}  // namespace
