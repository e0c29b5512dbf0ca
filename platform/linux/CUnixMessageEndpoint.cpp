#include "platform/linux/CUnixMessageEndpoint.h"

#include "foundation/WideText.h"
#include "platform/linux/MessageEndpointPath.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <sys/epoll.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>
#include <vector>

namespace {

constexpr int kPacketsPerRound = 16;
constexpr int kEventsPerRound = 64;

std::wstring ErrnoText(int error)
{
    return FromUtf8(std::strerror(error));
}

std::wstring PathText(const std::string& path)
{
    return FromUtf8(path);
}

bool PeerIsOurUser(int fd)
{
    ucred credentials{};
    socklen_t size = sizeof(credentials);
    if (::getsockopt(fd, SOL_SOCKET, SO_PEERCRED, &credentials, &size) != 0) {
        return false;
    }
    return credentials.uid == ::geteuid();
}

// Whether a program accepts connections on the socket at `address`.
bool SocketIsLive(const sockaddr_un& address)
{
    CUniqueFd probe(::socket(AF_UNIX, SOCK_SEQPACKET | SOCK_NONBLOCK | SOCK_CLOEXEC, 0));
    if (!probe.IsOpen()) {
        return false;
    }
    if (::connect(probe.Get(), reinterpret_cast<const sockaddr*>(&address), sizeof(address)) == 0) {
        return true;
    }
    // A full listen queue is a busy owner, not a gone one.
    return errno == EAGAIN;
}

void SendAnswer(int fd, uint64_t value, bool& failed)
{
    uint8_t bytes[8];
    for (int i = 0; i < 8; ++i) {
        bytes[i] = static_cast<uint8_t>(value >> (8 * i));
    }
    ssize_t sent;
    do {
        sent = ::send(fd, bytes, sizeof(bytes), MSG_NOSIGNAL | MSG_DONTWAIT);
    } while (sent < 0 && errno == EINTR);
    failed = sent != static_cast<ssize_t>(sizeof(bytes));
}

}  // namespace

CUnixMessageEndpoint::CUnixMessageEndpoint(PacketHandler handler)
    : m_handler(std::move(handler))
{}

CUnixMessageEndpoint::~CUnixMessageEndpoint()
{
    Close();
}

CStatus CUnixMessageEndpoint::Open(const std::wstring& name)
{
    const std::string path = MessageEndpointPath(name);
    if (path.empty()) {
        Close();
        return CStatus::NotFound(L"no endpoint can be named " + name);
    }
    return OpenPath(path);
}

CStatus CUnixMessageEndpoint::OpenPath(const std::string& path)
{
    Close();
    sockaddr_un address{};
    if (!MakeEndpointAddress(path, address)) {
        return CStatus::NotFound(L"no endpoint can have the path " + PathText(path));
    }

    // The lock says who owns the name; the kernel lets go of it when its
    // owner dies, however it dies.
    const std::string lockPath = path + ".lock";
    CUniqueFd lock(::open(lockPath.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600));
    if (!lock.IsOpen()) {
        return CStatus::IoError(L"cannot open " + PathText(lockPath) + L": " + ErrnoText(errno));
    }
    struct stat lockInfo
    {
    };
    if (::fstat(lock.Get(), &lockInfo) != 0 || lockInfo.st_uid != ::geteuid() ||
        !S_ISREG(lockInfo.st_mode)) {
        return CStatus::IoError(PathText(lockPath) + L" belongs to another user");
    }
    if (::flock(lock.Get(), LOCK_EX | LOCK_NB) != 0) {
        return CStatus::IoError(L"another program owns the endpoint " + PathText(path));
    }

    struct stat existing
    {
    };
    if (::lstat(path.c_str(), &existing) == 0) {
        if (!S_ISSOCK(existing.st_mode)) {
            return CStatus::IoError(PathText(path) + L" exists and is not a socket");
        }
        // A program that does not take the lock may still listen there.
        if (SocketIsLive(address)) {
            return CStatus::IoError(L"another program owns the endpoint " + PathText(path));
        }
        if (::unlink(path.c_str()) != 0 && errno != ENOENT) {
            return CStatus::IoError(L"cannot remove the stale socket " + PathText(path) + L": " +
                                    ErrnoText(errno));
        }
        Log(L"removed the stale socket " + PathText(path));
    }

    CUniqueFd listen(::socket(AF_UNIX, SOCK_SEQPACKET | SOCK_NONBLOCK | SOCK_CLOEXEC, 0));
    if (!listen.IsOpen()) {
        return CStatus::IoError(L"socket: " + ErrnoText(errno));
    }
    if (::bind(listen.Get(), reinterpret_cast<const sockaddr*>(&address), sizeof(address)) != 0) {
        return CStatus::IoError(L"cannot bind " + PathText(path) + L": " + ErrnoText(errno));
    }
    struct stat made
    {
    };
    if (::chmod(path.c_str(), 0600) != 0 || ::lstat(path.c_str(), &made) != 0 ||
        ::listen(listen.Get(), SOMAXCONN) != 0) {
        const int error = errno;
        ::unlink(path.c_str());
        return CStatus::IoError(L"cannot listen on " + PathText(path) + L": " + ErrnoText(error));
    }
    CUniqueFd epoll(::epoll_create1(EPOLL_CLOEXEC));
    epoll_event event{};
    event.events = EPOLLIN;
    event.data.fd = listen.Get();
    if (!epoll.IsOpen() || ::epoll_ctl(epoll.Get(), EPOLL_CTL_ADD, listen.Get(), &event) != 0) {
        const int error = errno;
        ::unlink(path.c_str());
        return CStatus::IoError(L"epoll: " + ErrnoText(error));
    }

    m_path = path;
    m_socketDevice = made.st_dev;
    m_socketInode = made.st_ino;
    m_lock = std::move(lock);
    m_listen = std::move(listen);
    m_epoll = std::move(epoll);
    return CStatus::Ok();
}

void CUnixMessageEndpoint::Close()
{
    ++m_generation;
    m_connections.clear();
    m_epoll.Reset();
    if (m_listen.IsOpen()) {
        // Only our own socket goes: a successor may have made a new one.
        struct stat now
        {
        };
        if (::lstat(m_path.c_str(), &now) == 0 && now.st_dev == m_socketDevice &&
            now.st_ino == m_socketInode) {
            ::unlink(m_path.c_str());
        }
        m_listen.Reset();
    }
    // The lock file stays: removing it would let two programs lock two files.
    m_lock.Reset();
    m_path.clear();
}

void CUnixMessageEndpoint::ProcessEvents()
{
    if (!m_epoll.IsOpen()) {
        return;
    }
    epoll_event events[kEventsPerRound];
    const int count = ::epoll_wait(m_epoll.Get(), events, kEventsPerRound, 0);
    const uint64_t generation = m_generation;
    for (int i = 0; i < count; ++i) {
        const int fd = events[i].data.fd;
        if (fd == m_listen.Get()) {
            AcceptAll();
            continue;
        }
        if (m_connections.count(fd) == 0) {
            continue;
        }
        const bool keep = ReadPackets(fd);
        if (generation != m_generation) {
            return;
        }
        if (!keep) {
            Drop(fd);
        }
    }
}

bool CUnixMessageEndpoint::WaitAndProcess(int timeoutMs)
{
    if (!m_epoll.IsOpen()) {
        return false;
    }
    pollfd p{m_epoll.Get(), POLLIN, 0};
    int n;
    do {
        n = ::poll(&p, 1, timeoutMs);
    } while (n < 0 && errno == EINTR);
    if (n <= 0) {
        return false;
    }
    ProcessEvents();
    return true;
}

void CUnixMessageEndpoint::AcceptAll()
{
    for (;;) {
        CUniqueFd fd(::accept4(m_listen.Get(), nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC));
        if (!fd.IsOpen()) {
            const int error = errno;
            if (error == EINTR || error == ECONNABORTED) {
                continue;
            }
            if (error != EAGAIN) {
                Log(L"accept on " + PathText(m_path) + L": " + ErrnoText(error));
            }
            return;
        }
        if (!PeerIsOurUser(fd.Get())) {
            Log(L"refused a sender of another user on " + PathText(m_path));
            continue;
        }
        if (m_connections.size() >= kMaxConnections) {
            Log(L"too many senders on " + PathText(m_path) + L"; one refused");
            continue;
        }
        epoll_event event{};
        event.events = EPOLLIN | EPOLLRDHUP;
        event.data.fd = fd.Get();
        if (::epoll_ctl(m_epoll.Get(), EPOLL_CTL_ADD, fd.Get(), &event) != 0) {
            Log(L"epoll: " + ErrnoText(errno));
            continue;
        }
        const int key = fd.Get();
        m_connections.emplace(key, std::move(fd));
    }
}

bool CUnixMessageEndpoint::ReadPackets(int fd)
{
    const uint64_t generation = m_generation;
    std::vector<uint8_t> buffer;
    for (int round = 0; round < kPacketsPerRound; ++round) {
        // MSG_TRUNC with MSG_PEEK gives the whole packet's size without taking it.
        const ssize_t size = ::recv(fd, nullptr, 0, MSG_PEEK | MSG_TRUNC | MSG_DONTWAIT);
        if (size < 0) {
            return errno == EAGAIN || errno == EINTR;
        }
        bool answerFailed = false;
        if (size == 0) {
            // The end of the connection, or an empty packet.
            uint8_t none;
            if (::recv(fd, &none, sizeof(none), MSG_DONTWAIT) < 0) {
                return errno == EAGAIN || errno == EINTR;
            }
            pollfd p{fd, POLLRDHUP, 0};
            if (::poll(&p, 1, 0) > 0 && (p.revents & (POLLHUP | POLLRDHUP)) != 0) {
                return false;
            }
            Log(L"an empty packet without tag on " + PathText(m_path) + L" was ignored");
            SendAnswer(fd, 0, answerFailed);
            if (answerFailed) {
                return false;
            }
            continue;
        }
        if (static_cast<size_t>(size) > kMaxPacketSize) {
            uint8_t head;
            (void)::recv(fd, &head, sizeof(head), MSG_DONTWAIT);
            Log(L"a packet of " + std::to_wstring(size) + L" bytes on " + PathText(m_path) +
                L" is too large and was ignored");
            SendAnswer(fd, 0, answerFailed);
            if (answerFailed) {
                return false;
            }
            continue;
        }
        buffer.resize(static_cast<size_t>(size));
        const ssize_t got = ::recv(fd, buffer.data(), buffer.size(), MSG_DONTWAIT);
        if (got != size) {
            return got < 0 && (errno == EAGAIN || errno == EINTR);
        }
        if (size < 8) {
            Log(L"a packet of " + std::to_wstring(size) + L" bytes without tag on " +
                PathText(m_path) + L" was ignored");
            SendAnswer(fd, 0, answerFailed);
            if (answerFailed) {
                return false;
            }
            continue;
        }
        uint64_t tag = 0;
        for (int i = 7; i >= 0; --i) {
            tag = (tag << 8) | buffer[static_cast<size_t>(i)];
        }
        const std::span<const uint8_t> payload(buffer.data() + 8, buffer.size() - 8);
        SendAnswer(fd, m_answer ? m_answer(tag, payload) : tag, answerFailed);
        // The packet has arrived even when its sender is gone: hand it on.
        if (m_handler) {
            m_handler(tag, payload);
            if (generation != m_generation) {
                return false;
            }
        }
        if (answerFailed) {
            return false;
        }
    }
    return true;
}

void CUnixMessageEndpoint::Drop(int fd)
{
    ::epoll_ctl(m_epoll.Get(), EPOLL_CTL_DEL, fd, nullptr);
    m_connections.erase(fd);
}

void CUnixMessageEndpoint::Log(const std::wstring& line) const
{
    if (m_log) {
        m_log(line);
    }
}
