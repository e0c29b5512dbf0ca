#include "foundation/WideText.h"
#include "platform/HudMessages.h"
#include "platform/linux/CUnixMessageChannel.h"
#include "platform/linux/CUnixMessageEndpoint.h"
#include "platform/linux/MessageEndpointPath.h"
#include "testing/CTempDir.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <future>
#include <mutex>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <thread>
#include <unistd.h>

namespace {

using namespace std::chrono_literals;

// Points $XDG_RUNTIME_DIR at the test's own folder while it lives.
class CRuntimeDir
{
public:
    CRuntimeDir()
    {
        const char* old = std::getenv("XDG_RUNTIME_DIR");
        m_hadOld = old != nullptr;
        if (m_hadOld) {
            m_old = old;
        }
        ::setenv("XDG_RUNTIME_DIR", m_dir.Path().c_str(), 1);
    }
    ~CRuntimeDir()
    {
        if (m_hadOld) {
            ::setenv("XDG_RUNTIME_DIR", m_old.c_str(), 1);
        } else {
            ::unsetenv("XDG_RUNTIME_DIR");
        }
    }
    const vxtest::CTempDir& Dir() const { return m_dir; }

private:
    vxtest::CTempDir m_dir;
    bool m_hadOld = false;
    std::string m_old;
};

struct CReceived
{
    uint64_t tag = 0;
    std::vector<uint8_t> payload;
};

// An endpoint served by its own thread, as a program's event loop would.
class CServedEndpoint
{
public:
    explicit CServedEndpoint(std::function<void(const CReceived&)> onPacket = {})
        : m_endpoint([this, onPacket](uint64_t tag, std::span<const uint8_t> payload) {
            CReceived packet{tag, {payload.begin(), payload.end()}};
            if (onPacket) {
                onPacket(packet);
            }
            std::lock_guard<std::mutex> lock(m_mutex);
            m_packets.push_back(std::move(packet));
        })
    {
        m_endpoint.SetLogFunction([this](const std::wstring& line) {
            std::lock_guard<std::mutex> lock(m_mutex);
            m_log.push_back(line);
        });
    }
    ~CServedEndpoint() { Stop(); }

    CStatus Open(const std::wstring& name) { return m_endpoint.Open(name); }
    void Start()
    {
        m_thread = std::thread([this] {
            while (!m_stop) {
                m_endpoint.WaitAndProcess(20);
            }
        });
    }
    void Stop()
    {
        m_stop = true;
        if (m_thread.joinable()) {
            m_thread.join();
        }
    }
    std::vector<CReceived> Packets()
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        return m_packets;
    }
    std::vector<std::wstring> LogLines()
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        return m_log;
    }
    bool WaitForPackets(size_t count)
    {
        const auto end = std::chrono::steady_clock::now() + 5s;
        while (Packets().size() < count && std::chrono::steady_clock::now() < end) {
            std::this_thread::sleep_for(5ms);
        }
        return Packets().size() >= count;
    }
    CUnixMessageEndpoint& Endpoint() { return m_endpoint; }

private:
    CUnixMessageEndpoint m_endpoint;
    std::thread m_thread;
    std::atomic<bool> m_stop{false};
    std::mutex m_mutex;
    std::vector<CReceived> m_packets;
    std::vector<std::wstring> m_log;
};

// A raw sequenced-packet client, for senders that misbehave.
int RawConnect(const std::string& path)
{
    const int fd = ::socket(AF_UNIX, SOCK_SEQPACKET | SOCK_CLOEXEC, 0);
    sockaddr_un address{};
    EXPECT_TRUE(MakeEndpointAddress(path, address));
    EXPECT_EQ(::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof(address)), 0);
    return fd;
}

uint64_t ReadAnswer(int fd)
{
    timeval limit{5, 0};
    ::setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &limit, sizeof(limit));
    uint8_t bytes[8] = {};
    EXPECT_EQ(::recv(fd, bytes, sizeof(bytes), 0), 8);
    uint64_t value = 0;
    for (int i = 7; i >= 0; --i) {
        value = (value << 8) | bytes[i];
    }
    return value;
}

}  // namespace

TEST(MessageEndpointPathTest, LivesInTheRuntimeFolderElseInTmpWithTheUserId)
{
    CRuntimeDir runtime;
    EXPECT_EQ(MessageEndpointPath(L"Pelmora"), runtime.Dir().Path() + "/Pelmora");
    ::setenv("XDG_RUNTIME_DIR", "relative/dir", 1);
    EXPECT_EQ(MessageEndpointPath(L"Pelmora"), "/tmp/Pelmora-" + std::to_string(::getuid()));
    ::unsetenv("XDG_RUNTIME_DIR");
    EXPECT_EQ(MessageEndpointPath(L"VeltrixClass"),
              "/tmp/VeltrixClass-" + std::to_string(::getuid()));
}

TEST(MessageEndpointPathTest, NamesThatWouldLeaveTheFolderNameNoEndpoint)
{
    EXPECT_EQ(MessageEndpointPath(L""), "");
    EXPECT_EQ(MessageEndpointPath(L".."), "");
    EXPECT_EQ(MessageEndpointPath(L"../etc/x"), "");
    EXPECT_EQ(MessageEndpointPath(std::wstring(L"a\0b", 3)), "");
    sockaddr_un address{};
    EXPECT_FALSE(MakeEndpointAddress(std::string(200, 'x'), address));
    EXPECT_TRUE(MakeEndpointAddress("/tmp/x", address));
}

TEST(UnixMessageTransportTest, DeliversAHudMessageByteForByteAndAnswersWithItsTag)
{
    CRuntimeDir runtime;
    CServedEndpoint receiver;
    ASSERT_TRUE(receiver.Open(L"Pelmora").IsOk());
    receiver.Start();

    CUnixMessageChannel channel;
    EXPECT_TRUE(channel.EndpointExists(L"Pelmora"));
    const auto bytes = EncodeHudMessage(MakeShowMessage(
        0x3a00007, 114, L"[style=Stats;sizeToContent=Width]Blue 42 30.0 20.0 5.0 0.0\n"));
    ASSERT_EQ(bytes.size(), 147u);
    uint64_t answer = 0;
    const CStatus status = channel.Send(L"Pelmora", kHudMessageTag, bytes, 2000ms, &answer);
    ASSERT_TRUE(status.IsOk()) << ToUtf8(status.Message());
    EXPECT_EQ(answer, kHudMessageTag);
    ASSERT_TRUE(receiver.WaitForPackets(1));
    EXPECT_EQ(receiver.Packets()[0].tag, kHudMessageTag);
    EXPECT_EQ(receiver.Packets()[0].payload, bytes);
}

TEST(UnixMessageTransportTest, TheSenderHasItsAnswerBeforeTheReceiverActs)
{
    CRuntimeDir runtime;
    std::promise<void> senderDone;
    std::shared_future<void> done = senderDone.get_future().share();
    std::atomic<bool> answeredFirst{false};
    CServedEndpoint receiver([&](const CReceived&) {
        // The handler waits for the sender: had the answer not gone out
        // before, the sender would still wait and this would time out.
        answeredFirst = done.wait_for(3s) == std::future_status::ready;
    });
    ASSERT_TRUE(receiver.Open(L"Pelmora").IsOk());
    receiver.Start();

    CUnixMessageChannel channel;
    const auto bytes = EncodeHudMessage(MakeResetMessage());
    EXPECT_TRUE(channel.Send(L"Pelmora", kHudMessageTag, bytes, 2000ms).IsOk());
    senderDone.set_value();
    ASSERT_TRUE(receiver.WaitForPackets(1));
    EXPECT_TRUE(answeredFirst);
}

TEST(UnixMessageTransportTest, ServesManySendersAtOnceAndLargePackets)
{
    CRuntimeDir runtime;
    CServedEndpoint receiver;
    ASSERT_TRUE(receiver.Open(L"Pelmora").IsOk());
    receiver.Start();

    constexpr int kSenders = 6;
    constexpr int kPackets = 25;
    std::vector<std::thread> senders;
    std::atomic<int> failures{0};
    for (int s = 0; s < kSenders; ++s) {
        senders.emplace_back([s, &failures] {
            CUnixMessageChannel channel;
            for (int i = 0; i < kPackets; ++i) {
                const std::vector<uint8_t> payload(static_cast<size_t>(i), static_cast<uint8_t>(s));
                uint64_t answer = 0;
                const uint64_t tag = static_cast<uint64_t>(s) << 32 | static_cast<uint64_t>(i);
                if (!channel.Send(L"Pelmora", tag, payload, 2000ms, &answer).IsOk() ||
                    answer != tag) {
                    ++failures;
                }
            }
        });
    }
    for (auto& t : senders) {
        t.join();
    }
    EXPECT_EQ(failures, 0);

    // A show message with a long text: the whole packet arrives in one piece.
    CUnixMessageChannel channel;
    const auto big = EncodeHudMessage(MakeShowMessage(7, 114, std::wstring(60000, L'\u4e2d')));
    ASSERT_TRUE(channel.Send(L"Pelmora", kHudMessageTag, big, 2000ms).IsOk());
    ASSERT_TRUE(receiver.WaitForPackets(kSenders * kPackets + 1));
    const auto packets = receiver.Packets();
    EXPECT_EQ(packets.back().payload, big);
    EXPECT_EQ(DecodeHudMessage(packets.back().payload)->text.size(), 60000u);
}

TEST(UnixMessageTransportTest, MissingOrSilentReceiversNeverHangTheSender)
{
    CRuntimeDir runtime;
    CUnixMessageChannel channel;
    const std::vector<uint8_t> payload{1, 2, 3};
    EXPECT_FALSE(channel.EndpointExists(L"Pelmora"));
    EXPECT_EQ(channel.Send(L"Pelmora", 1, payload, 2000ms).GetCode(), CStatus::Code::NotFound);
    EXPECT_EQ(channel.Send(L"../x", 1, payload, 2000ms).GetCode(), CStatus::Code::NotFound);

    // A program that listens but never reads: the time-out ends the wait.
    const std::string path = MessageEndpointPath(L"Pelmora");
    const int silent = ::socket(AF_UNIX, SOCK_SEQPACKET | SOCK_CLOEXEC, 0);
    sockaddr_un address{};
    ASSERT_TRUE(MakeEndpointAddress(path, address));
    ASSERT_EQ(::bind(silent, reinterpret_cast<const sockaddr*>(&address), sizeof(address)), 0);
    ASSERT_EQ(::listen(silent, 4), 0);
    const auto start = std::chrono::steady_clock::now();
    const CStatus status = channel.Send(L"Pelmora", 1, payload, 200ms);
    const auto took = std::chrono::steady_clock::now() - start;
    EXPECT_EQ(status.GetCode(), CStatus::Code::IoError);
    EXPECT_LT(took, 3s);
    ::close(silent);
    ::unlink(path.c_str());

    // A packet beyond what the system can carry fails instead of blocking.
    CServedEndpoint receiver;
    ASSERT_TRUE(receiver.Open(L"Pelmora").IsOk());
    receiver.Start();
    const std::vector<uint8_t> huge(8 * 1024 * 1024, 0);
    const CStatus tooLarge = channel.Send(L"Pelmora", 1, huge, 2000ms);
    EXPECT_FALSE(tooLarge.IsOk());
    EXPECT_TRUE(channel.Send(L"Pelmora", 1, payload, 2000ms).IsOk());
}

TEST(UnixMessageTransportTest, MalformedPacketsAreAnsweredAndNotHandedOn)
{
    CRuntimeDir runtime;
    CServedEndpoint receiver;
    ASSERT_TRUE(receiver.Open(L"Pelmora").IsOk());
    receiver.Start();

    const int fd = RawConnect(MessageEndpointPath(L"Pelmora"));
    const uint8_t shortPacket[3] = {1, 2, 3};
    ASSERT_EQ(::send(fd, shortPacket, sizeof(shortPacket), 0), 3);
    EXPECT_EQ(ReadAnswer(fd), 0u);
    ASSERT_EQ(::send(fd, shortPacket, 0, 0), 0);
    EXPECT_EQ(ReadAnswer(fd), 0u);
    // The same connection still carries well-formed packets afterwards.
    const uint8_t tagOnly[8] = {9, 0, 0, 0, 0, 0, 0, 0};
    ASSERT_EQ(::send(fd, tagOnly, sizeof(tagOnly), 0), 8);
    EXPECT_EQ(ReadAnswer(fd), 9u);
    ::close(fd);

    ASSERT_TRUE(receiver.WaitForPackets(1));
    EXPECT_EQ(receiver.Packets().size(), 1u);
    EXPECT_EQ(receiver.Packets()[0].tag, 9u);
    EXPECT_TRUE(receiver.Packets()[0].payload.empty());
    EXPECT_GE(receiver.LogLines().size(), 2u);
}

TEST(UnixMessageTransportTest, ASenderThatSendsNothingDoesNotStallTheOthers)
{
    CRuntimeDir runtime;
    CServedEndpoint receiver;
    ASSERT_TRUE(receiver.Open(L"Pelmora").IsOk());
    receiver.Start();
    const int idle = RawConnect(MessageEndpointPath(L"Pelmora"));

    CUnixMessageChannel channel;
    const std::vector<uint8_t> payload{4, 5};
    for (int i = 0; i < 5; ++i) {
        EXPECT_TRUE(channel.Send(L"Pelmora", 2, payload, 2000ms).IsOk());
    }
    EXPECT_TRUE(receiver.WaitForPackets(5));
    ::close(idle);
}

TEST(UnixMessageEndpointTest, TakesOverAStaleSocketButNeverALiveOne)
{
    CRuntimeDir runtime;
    const std::string path = MessageEndpointPath(L"Pelmora");
    {
        // What a crash leaves: a bound socket file nobody listens on.
        const int dead = ::socket(AF_UNIX, SOCK_SEQPACKET, 0);
        sockaddr_un address{};
        ASSERT_TRUE(MakeEndpointAddress(path, address));
        ASSERT_EQ(::bind(dead, reinterpret_cast<const sockaddr*>(&address), sizeof(address)), 0);
        ::close(dead);
    }
    CUnixMessageEndpoint first(nullptr);
    ASSERT_TRUE(first.Open(L"Pelmora").IsOk());

    CUnixMessageEndpoint second(nullptr);
    const CStatus taken = second.Open(L"Pelmora");
    EXPECT_EQ(taken.GetCode(), CStatus::Code::IoError);
    EXPECT_FALSE(second.IsOpen());
    CUnixMessageChannel channel;
    EXPECT_TRUE(channel.EndpointExists(L"Pelmora"));

    // A live socket of a program that takes no lock is not taken either.
    first.Close();
    EXPECT_FALSE(std::filesystem::exists(path));
    const int other = ::socket(AF_UNIX, SOCK_SEQPACKET, 0);
    sockaddr_un address{};
    ASSERT_TRUE(MakeEndpointAddress(path, address));
    ASSERT_EQ(::bind(other, reinterpret_cast<const sockaddr*>(&address), sizeof(address)), 0);
    ASSERT_EQ(::listen(other, 4), 0);
    EXPECT_FALSE(second.Open(L"Pelmora").IsOk());
    ::close(other);
    // Once that program is gone its socket is stale and can be taken.
    EXPECT_TRUE(second.Open(L"Pelmora").IsOk());
}

TEST(UnixMessageEndpointTest, LeavesAFileThatIsNoSocketAlone)
{
    CRuntimeDir runtime;
    const std::string path = MessageEndpointPath(L"Pelmora");
    std::ofstream(path) << "not a socket";
    CUnixMessageEndpoint endpoint(nullptr);
    EXPECT_FALSE(endpoint.Open(L"Pelmora").IsOk());
    std::ifstream in(path);
    std::string text;
    std::getline(in, text);
    EXPECT_EQ(text, "not a socket");
}

TEST(UnixMessageEndpointTest, AHandlerMayCloseTheEndpoint)
{
    CRuntimeDir runtime;
    CUnixMessageEndpoint* self = nullptr;
    int handled = 0;
    CUnixMessageEndpoint endpoint([&](uint64_t, std::span<const uint8_t>) {
        ++handled;
        self->Close();
    });
    self = &endpoint;
    ASSERT_TRUE(endpoint.Open(L"Pelmora").IsOk());
    std::thread sender([] {
        CUnixMessageChannel channel;
        const std::vector<uint8_t> payload{1};
        (void)channel.Send(L"Pelmora", 7, payload, 2000ms);
        (void)channel.Send(L"Pelmora", 7, payload, 500ms);
    });
    const auto end = std::chrono::steady_clock::now() + 5s;
    while (endpoint.IsOpen() && std::chrono::steady_clock::now() < end) {
        endpoint.WaitAndProcess(20);
    }
    sender.join();
    EXPECT_FALSE(endpoint.IsOpen());
    EXPECT_EQ(handled, 1);
    EXPECT_EQ(endpoint.Fd(), -1);
    EXPECT_FALSE(endpoint.WaitAndProcess(0));
}
