#include "testing/PrivatePgCluster.h"

#include <arpa/inet.h>
#include <csignal>
#include <cstdlib>
#include <fstream>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

namespace vxtest {

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

CPrivatePgCluster::CPrivatePgCluster()
    : m_port(FreePort())
{
    m_server.server = "127.0.0.1";
    m_server.port = std::to_string(m_port);
    m_server.user = "postgres";
    m_server.password = "lindqvarte42";
}

CPrivatePgCluster::~CPrivatePgCluster()
{
    (void)Run("stop");
}

bool CPrivatePgCluster::Run(const std::string& command)
{
    const std::string line =
        "VELTRIX_PGDATA='" + m_dir.File("data") + "' VELTRIX_PGPORT=" + std::to_string(m_port) +
        " '" VX_SOURCE_DIR "/scripts/pg-local' " + command + " >/dev/null 2>&1";
    return m_port > 0 && std::system(line.c_str()) == 0;
}

bool CPrivatePgCluster::Start()
{
    return Run("start");
}

bool CPrivatePgCluster::Stop()
{
    return Run("stop");
}

bool CPrivatePgCluster::Crash()
{
    // The signal itself rather than a script: the server must go at the
    // moment the test asks, not a program start later, when a fast import
    // may have ended already.
    std::ifstream pidFile(m_dir.File("data") + "/postmaster.pid");
    long pid = 0;
    if (!(pidFile >> pid) || pid <= 0 || ::kill(static_cast<pid_t>(pid), SIGQUIT) != 0) {
        return Run("crash");
    }
    for (int i = 0; i < 600 && ::kill(static_cast<pid_t>(pid), 0) == 0; ++i) {
        ::usleep(50000);
    }
    return ::kill(static_cast<pid_t>(pid), 0) != 0;
}

}  // namespace vxtest
