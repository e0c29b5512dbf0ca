#include "live/tests/LiveTestFixture.h"

#include <arpa/inet.h>
#include <cstdlib>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

using namespace std::chrono_literals;

namespace {

// A port nobody listens on now.
int FreePort()
{
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t size = sizeof address;
    int port = 0;
    if (::bind(fd, reinterpret_cast<sockaddr*>(&address), size) == 0 &&
        ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &size) == 0) {
        port = ntohs(address.sin_port);
    }
    ::close(fd);
    return port;
}

}  // namespace

// Live tracking against a PostgreSQL cluster of its own, which the test stops
// and starts again while hands arrive.
class LiveDatabaseOutageTest : public vxtest::CLiveFixture
{
protected:
    void SetUp() override
    {
        VX_REQUIRE_PG(m_server);
        VX_REQUIRE_CORPUS();
        m_port = FreePort();
        ASSERT_GT(m_port, 0);
        m_data = m_cluster.File("data");
        ASSERT_TRUE(Cluster("start")) << "the private cluster did not start";
        m_private = m_server;
        m_private.port = std::to_string(m_port);
        ConnectTo(m_private);
        m_hands = vxtest::CorpusHands(kHeroFile);
        MakeLive();
    }

    void TearDown() override
    {
        CLiveFixture::TearDown();
        (void)Cluster("stop");
    }

    bool Cluster(const std::string& command)
    {
        const std::string line =
            "VELTRIX_PGDATA='" + m_data + "' VELTRIX_PGPORT=" + std::to_string(m_port) +
            " '" VX_SOURCE_DIR "/scripts/pg-local' " + command + " >/dev/null 2>&1";
        return std::system(line.c_str()) == 0;
    }

    vxtest::CTempDir m_cluster;
    std::string m_data;
    int m_port = 0;
    vxtest::CPgTestServer m_private;
};

TEST_F(LiveDatabaseOutageTest, HandsAppendedWhileTheDatabaseIsGoneAreImportedWhenItIsBack)
{
    m_live->StartLiveTracking();
    AppendHands("HH20191007 Sculptor.txt", 0, 1);
    ASSERT_TRUE(RunUntilStored(1));

    ASSERT_TRUE(Cluster("stop"));
    AppendHands("HH20191007 Sculptor.txt", 1, 2);
    ASSERT_TRUE(m_loop.RunUntil([&] { return m_live->DatabaseDown(); }, 20s));
    AppendHands("HH20191007 Sculptor.txt", 2, 4);
    m_loop.RunUntil([] { return false; }, 500ms);
    m_live->Tick();
    EXPECT_TRUE(m_live->DatabaseDown());
    EXPECT_EQ(m_live->Counts().stored, 1);

    ASSERT_TRUE(Cluster("start"));
    ASSERT_TRUE(TickUntil([&] { return m_live->Counts().stored >= 4; }, 30s));
    m_loop.RunUntil([] { return false; }, 300ms);
    EXPECT_FALSE(m_live->DatabaseDown());
    EXPECT_EQ(Count(L"hands"), 4);
    EXPECT_EQ(m_live->TotalHands(), 4);
    EXPECT_EQ(m_live->TotalMoney(), HeroTotals().first);
    EXPECT_EQ(m_live->TotalEv(), HeroTotals().second);
    // After the outage new hands come in as before.
    AppendHands("HH20191007 Sculptor.txt", 4, 5);
    ASSERT_TRUE(RunUntilStored(5));
}
