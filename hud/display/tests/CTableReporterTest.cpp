#include "hud/display/CTableReporter.h"

#include "platform/HudMessages.h"
#include "platform/fakes/CFakeMessageChannel.h"
#include "platform/fakes/CFakeWindowFinder.h"

#include <gtest/gtest.h>

namespace {

CWindowInfo Table(uint64_t id,
                  const std::wstring& title,
                  const std::wstring& className = L"pokerstars.exe")
{
    CWindowInfo w;
    w.id = id;
    w.pid = 77;
    w.instanceName = L"pokerstars.exe";
    w.className = className;
    w.title = title;
    return w;
}

class CTableReporterTest : public ::testing::Test
{
protected:
    CTableReporterTest()
        : m_reporter(m_finder, m_channel, nullptr)
    {
        m_channel.endpoints.insert(L"VeltrixClass");
        m_reporter.SetRetryNeeded([this] { ++m_retries; });
    }

    // Scans; true when nothing is left to try again.
    bool Scan()
    {
        const int before = m_retries;
        m_reporter.Scan();
        return m_retries == before;
    }

    CTableReport Report(size_t i) const
    {
        const auto& packet = m_channel.sent.at(i);
        EXPECT_EQ(packet.endpoint, L"VeltrixClass");
        EXPECT_EQ(packet.tag, kTableReportTag);
        EXPECT_EQ(packet.payload.size(), kTableReportSize);
        return DecodeTableReport(packet.payload).value_or(CTableReport{});
    }

    CFakeWindowFinder m_finder;
    CFakeMessageChannel m_channel;
    CTableReporter m_reporter;
    int m_retries = 0;
};

}  // namespace

TEST_F(CTableReporterTest, ANewTableIsReportedOnceAndAKnownOneWhenItChanges)
{
    m_finder.windows = {Table(0x3a00007, L"PokerStars Lobby - Logged in as Nick"),
                        Table(0x3a00009, L"Halley - $0.01/$0.02 USD - Pot Limit Omaha"),
                        Table(0x3a0000b, L"Zeta - $0.05/$0.10 USD - Pot Limit Omaha", L"Wine")};
    CWindowInfo browser = Table(0x800001, L"Halley - $0.01/$0.02 USD - Pot Limit Omaha");
    browser.instanceName = L"firefox";
    browser.className = L"firefox";
    m_finder.windows.push_back(browser);

    EXPECT_TRUE(Scan());
    ASSERT_EQ(m_channel.sent.size(), 2u);
    EXPECT_EQ(Report(0).tableWindow, 0x3a00009u);
    EXPECT_EQ(Report(0).command, 6);
    EXPECT_EQ(Report(0).room, 1);
    EXPECT_EQ(Report(1).tableWindow, 0x3a0000bu);

    EXPECT_TRUE(Scan());
    EXPECT_EQ(m_channel.sent.size(), 2u);

    m_finder.windows[1].title = L"Halley - $0.01/$0.02 USD - Pot Limit Omaha - Logged In as Nick";
    EXPECT_TRUE(Scan());
    ASSERT_EQ(m_channel.sent.size(), 3u);
    EXPECT_EQ(Report(2).tableWindow, 0x3a00009u);
    EXPECT_EQ(Report(2).command, 4);

    // A closed table is forgotten; a window with its id later is new.
    m_finder.windows.erase(m_finder.windows.begin() + 1);
    EXPECT_TRUE(Scan());
    EXPECT_EQ(m_reporter.Reported().count(0x3a00009), 0u);
    m_finder.windows.push_back(Table(0x3a00009, L"Vega - $0.02/$0.05 USD - Pot Limit Omaha"));
    EXPECT_TRUE(Scan());
    ASSERT_EQ(m_channel.sent.size(), 4u);
    EXPECT_EQ(Report(3).command, 6);
}

TEST_F(CTableReporterTest, ReportsThatCannotBeDeliveredAreMadeAgainLater)
{
    m_finder.windows = {Table(0x3a00009, L"Halley - $0.01/$0.02 USD - Pot Limit Omaha")};
    m_channel.endpoints.clear();
    EXPECT_FALSE(Scan());
    EXPECT_TRUE(m_reporter.Reported().empty());

    m_channel.endpoints.insert(L"VeltrixClass");
    m_channel.failSends = true;
    EXPECT_FALSE(Scan());
    m_channel.failSends = false;
    EXPECT_TRUE(Scan());
    ASSERT_EQ(m_channel.sent.size(), 1u);
    EXPECT_EQ(Report(0).command, 6);

    // The tracker went away and came back knowing nothing: new again.
    m_channel.endpoints.clear();
    m_finder.windows[0].title = L"Halley - $0.01/$0.02 USD - Pot Limit Omaha - Logged In as Nick";
    EXPECT_FALSE(Scan());
    m_channel.endpoints.insert(L"VeltrixClass");
    EXPECT_TRUE(Scan());
    ASSERT_EQ(m_channel.sent.size(), 2u);
    EXPECT_EQ(Report(1).command, 6);
}

TEST_F(CTableReporterTest, AReportOnItsWayIsNotSentTwiceAndOneTakenByAGoneTrackerIsMadeAgain)
{
    // Sends that are answered later, as the program's worker thread does.
    std::vector<std::pair<std::function<CStatus()>, std::function<void(CStatus)>>> queued;
    CTableReporter reporter(m_finder, m_channel, nullptr, [&](auto send, auto done) {
        queued.emplace_back(std::move(send), std::move(done));
    });
    m_finder.windows = {Table(0x3a00009, L"Halley - $0.01/$0.02 USD - Pot Limit Omaha")};
    reporter.Scan();
    reporter.Scan();
    ASSERT_EQ(queued.size(), 1u);
    EXPECT_EQ(reporter.PendingCount(), 1u);
    queued[0].second(queued[0].first());
    EXPECT_EQ(reporter.PendingCount(), 0u);
    EXPECT_EQ(reporter.Reported().size(), 1u);

    // A second table's report is under way when the tracker is found gone.
    m_finder.windows.push_back(Table(0x3a0000b, L"Zeta - $0.05/$0.10 USD - Pot Limit Omaha"));
    reporter.Scan();
    ASSERT_EQ(queued.size(), 2u);
    m_channel.endpoints.clear();
    m_finder.windows[0].title += L" - Logged In as Nick";
    reporter.Scan();
    ASSERT_EQ(queued.size(), 3u);
    queued[2].second(queued[2].first());
    EXPECT_TRUE(reporter.Reported().empty());
    m_channel.endpoints.insert(L"VeltrixClass");
    queued[1].second(queued[1].first());
    // Taken by the tracker that went away: not counted as reported.
    EXPECT_TRUE(reporter.Reported().empty());
    reporter.Scan();
    ASSERT_EQ(queued.size(), 5u);
    queued[3].second(queued[3].first());
    queued[4].second(queued[4].first());
    EXPECT_EQ(reporter.Reported().size(), 2u);
    EXPECT_EQ(DecodeTableReport(m_channel.sent.back().payload)->command, 6);
}
