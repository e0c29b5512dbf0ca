// The receiving side of the message transport: the endpoint a program owns
// under its name (MessageEndpointPath), a listening Unix-domain
// SOCK_SEQPACKET socket that any number of senders of the same user connect
// to. Every packet is an 8-byte little-endian tag plus a payload; the
// endpoint answers each packet with 8 bytes before it hands the packet on,
// so a sender never waits for the receiver's work.
//
// Ownership of a name: a lock file beside the socket ("<path>.lock", locked
// with flock for the endpoint's life) says that a program owns it. A socket
// left behind by a crashed owner is removed; a socket that still accepts
// connections is never taken over, nor is anything at the path that is not a
// socket.
//
// Event loops: Fd() is one descriptor that becomes readable whenever the
// listening socket or any connection has something to read; give it to
// poll(), QSocketNotifier or the like and call ProcessEvents() when it fires.
// ProcessEvents() never blocks: every socket is non-blocking and a sequenced
// packet arrives whole or not at all, so a slow sender cannot stall the loop.
//
// Thread-compatible: use one instance from one thread. The packet handler
// runs inside ProcessEvents(); it may call Close() but must not destroy the
// endpoint.
//
// In a Qt program:
//
//     CUnixMessageEndpoint endpoint([](uint64_t tag, std::span<const uint8_t> bytes) {...});
//     if (CStatus s = endpoint.Open(L"VeltrixClass"); !s.IsOk()) { ...s.Message()... }
//     QSocketNotifier notifier(endpoint.Fd(), QSocketNotifier::Read);
//     QObject::connect(&notifier, &QSocketNotifier::activated,
//                      [&] { endpoint.ProcessEvents(); });
//
// Every packet is answered with its own tag unless SetAnswerFunction says
// otherwise; a packet shorter than the tag is answered with 0 and dropped.
#pragma once

#include "foundation/CStatus.h"
#include "platform/linux/CUniqueFd.h"

#include <cstdint>
#include <functional>
#include <map>
#include <span>
#include <string>
#include <sys/types.h>

class CUnixMessageEndpoint
{
public:
    // A whole packet: its tag and the bytes behind it.
    using PacketHandler = std::function<void(uint64_t tag, std::span<const uint8_t> payload)>;
    // The answer to a packet; by default the packet's tag.
    using AnswerFunction = std::function<uint64_t(uint64_t tag, std::span<const uint8_t> payload)>;
    // A line about what went wrong with a sender (for the program's log).
    using LogFunction = std::function<void(const std::wstring& line)>;

    // Packets larger than this are answered with 0 and dropped.
    static constexpr size_t kMaxPacketSize = 16 * 1024 * 1024;
    // Connections beyond this many are closed at once.
    static constexpr size_t kMaxConnections = 256;

    explicit CUnixMessageEndpoint(PacketHandler handler);
    ~CUnixMessageEndpoint();
    CUnixMessageEndpoint(const CUnixMessageEndpoint&) = delete;
    CUnixMessageEndpoint& operator=(const CUnixMessageEndpoint&) = delete;

    void SetAnswerFunction(AnswerFunction answer) { m_answer = std::move(answer); }
    void SetLogFunction(LogFunction log) { m_log = std::move(log); }

    // Takes the endpoint `name`. NotFound for a name no endpoint can have;
    // IoError when another program owns it, something other than a socket is
    // in the way, or the socket cannot be made. Closes what was open before.
    CStatus Open(const std::wstring& name);
    // The same at an explicit socket path.
    CStatus OpenPath(const std::string& path);

    // Stops receiving, closes every connection and removes the socket (when it
    // is still the one this endpoint made). Safe to call twice.
    void Close();

    bool IsOpen() const { return m_listen.IsOpen(); }
    const std::string& Path() const { return m_path; }
    // The descriptor to watch for readability; -1 when closed.
    int Fd() const { return m_epoll.IsOpen() ? m_epoll.Get() : -1; }
    size_t ConnectionCount() const { return m_connections.size(); }

    // Accepts waiting senders and handles the packets that have arrived.
    // Never blocks. Bounded work per call: what is left keeps Fd() readable.
    void ProcessEvents();

    // For loops without a notifier (and tests): waits up to `timeoutMs` for
    // Fd() to become readable, then ProcessEvents(). False on time-out.
    bool WaitAndProcess(int timeoutMs);

private:
    void AcceptAll();
    // Reads at most a few packets of one connection; false when it ended.
    bool ReadPackets(int fd);
    void Drop(int fd);
    void Log(const std::wstring& line) const;

    PacketHandler m_handler;
    AnswerFunction m_answer;
    LogFunction m_log;
    std::string m_path;
    dev_t m_socketDevice = 0;
    ino_t m_socketInode = 0;
    CUniqueFd m_lock;
    CUniqueFd m_listen;
    CUniqueFd m_epoll;
    std::map<int, CUniqueFd> m_connections;
    // Counts Close() calls, so a handler that closes stops the current round.
    uint64_t m_generation = 0;
};
