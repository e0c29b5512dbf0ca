#include "platform/linux/CUnixMessageChannel.h"

#include "foundation/WideText.h"
#include "platform/linux/CUniqueFd.h"
#include "platform/linux/MessageEndpointPath.h"

#include <cerrno>
#include <cstring>
#include <poll.h>
#include <sys/socket.h>
#include <sys/uio.h>
#include <sys/un.h>
#include <thread>
#include <unistd.h>

namespace {

using Clock = std::chrono::steady_clock;

std::wstring ErrnoText(int error)
{
    return FromUtf8(std::strerror(error));
}

int RemainingMs(Clock::time_point deadline)
{
    const auto left =
        std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
    return left > 0 ? static_cast<int>(left) : 0;
}

// Waits until `fd` shows `events` or the deadline passes; false on time-out.
bool WaitFor(int fd, short events, Clock::time_point deadline)
{
    for (;;) {
        pollfd p{fd, events, 0};
        const int n = ::poll(&p, 1, RemainingMs(deadline));
        if (n > 0) {
            return true;
        }
        if (n == 0 || errno != EINTR) {
            return false;
        }
    }
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

// Connects to the endpoint. A full listen queue means the receiver is busy,
// not gone: try again until the deadline.
CStatus Connect(const std::wstring& name, Clock::time_point deadline, CUniqueFd& out)
{
    const std::string path = MessageEndpointPath(name);
    sockaddr_un address{};
    if (!MakeEndpointAddress(path, address)) {
        return CStatus::NotFound(L"no endpoint can be named " + name);
    }
    for (;;) {
        CUniqueFd fd(::socket(AF_UNIX, SOCK_SEQPACKET | SOCK_NONBLOCK | SOCK_CLOEXEC, 0));
        if (!fd.IsOpen()) {
            return CStatus::IoError(L"socket: " + ErrnoText(errno));
        }
        if (::connect(fd.Get(), reinterpret_cast<const sockaddr*>(&address), sizeof(address)) ==
            0) {
            if (!PeerIsOurUser(fd.Get())) {
                return CStatus::IoError(L"endpoint " + name + L" belongs to another user");
            }
            out = std::move(fd);
            return CStatus::Ok();
        }
        const int error = errno;
        if (error == ENOENT || error == ECONNREFUSED || error == ENOTDIR) {
            return CStatus::NotFound(L"no program owns the endpoint " + name);
        }
        if (error != EAGAIN && error != EINTR) {
            return CStatus::IoError(L"connect to " + name + L": " + ErrnoText(error));
        }
        if (Clock::now() >= deadline) {
            return CStatus::IoError(L"endpoint " + name + L" accepts no connection in time");
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
}

}  // namespace

bool CUnixMessageChannel::EndpointExists(const std::wstring& name)
{
    CUniqueFd fd;
    return Connect(name, Clock::now() + std::chrono::milliseconds(200), fd).IsOk();
}

CStatus CUnixMessageChannel::Send(const std::wstring& name,
                                  uint64_t tag,
                                  std::span<const uint8_t> payload,
                                  std::chrono::milliseconds timeout,
                                  uint64_t* answer)
{
    const Clock::time_point deadline =
        Clock::now() + std::max(timeout, std::chrono::milliseconds(0));
    CUniqueFd fd;
    CStatus status = Connect(name, deadline, fd);
    if (!status.IsOk()) {
        return status;
    }

    uint8_t tagBytes[8];
    for (int i = 0; i < 8; ++i) {
        tagBytes[i] = static_cast<uint8_t>(tag >> (8 * i));
    }
    // A packet larger than the default send buffer needs a larger buffer; the
    // system caps it, and a packet beyond the cap fails with EMSGSIZE below.
    const size_t packetSize = sizeof(tagBytes) + payload.size();
    if (packetSize > 64 * 1024) {
        const int wanted = static_cast<int>(std::min<size_t>(packetSize * 2, 1 << 30));
        (void)::setsockopt(fd.Get(), SOL_SOCKET, SO_SNDBUF, &wanted, sizeof(wanted));
    }
    iovec parts[2] = {{tagBytes, sizeof(tagBytes)},
                      {const_cast<uint8_t*>(payload.data()), payload.size()}};
    msghdr message{};
    message.msg_iov = parts;
    message.msg_iovlen = payload.empty() ? 1 : 2;
    for (;;) {
        const ssize_t sent = ::sendmsg(fd.Get(), &message, MSG_NOSIGNAL);
        if (sent >= 0) {
            break;
        }
        const int error = errno;
        if (error == EINTR) {
            continue;
        }
        if (error == EAGAIN && WaitFor(fd.Get(), POLLOUT, deadline)) {
            continue;
        }
        if (error == EAGAIN) {
            return CStatus::IoError(L"endpoint " + name + L" takes no packet in time");
        }
        if (error == EMSGSIZE || error == ENOBUFS) {
            return CStatus::IoError(L"a packet of " + std::to_wstring(packetSize) +
                                    L" bytes is too large to send");
        }
        return CStatus::IoError(L"send to " + name + L": " + ErrnoText(error));
    }

    for (;;) {
        if (!WaitFor(fd.Get(), POLLIN, deadline)) {
            return CStatus::IoError(L"no answer from " + name + L" in time");
        }
        uint8_t reply[16];
        const ssize_t got = ::recv(fd.Get(), reply, sizeof(reply), MSG_DONTWAIT);
        if (got < 0 && (errno == EINTR || errno == EAGAIN)) {
            continue;
        }
        if (got < 0) {
            return CStatus::IoError(L"answer from " + name + L": " + ErrnoText(errno));
        }
        if (got != 8) {
            return CStatus::IoError(got == 0 ? L"endpoint " + name + L" closed without answer"
                                             : L"endpoint " + name + L" gave a malformed answer");
        }
        if (answer != nullptr) {
            uint64_t value = 0;
            for (int i = 7; i >= 0; --i) {
                value = (value << 8) | reply[i];
            }
            *answer = value;
        }
        return CStatus::Ok();
    }
}
