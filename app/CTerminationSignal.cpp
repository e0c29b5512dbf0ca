#include "app/CTerminationSignal.h"

#include <QSocketNotifier>

#include <csignal>
#include <sys/socket.h>
#include <unistd.h>

namespace {

// The write end is all a signal handler may touch.
int g_signalFds[2] = {-1, -1};

extern "C" void OnTerminationSignal(int)
{
    const char byte = 1;
    (void)!::write(g_signalFds[0], &byte, 1);
}

}  // namespace

CTerminationSignal::CTerminationSignal(std::function<void()> onSignal, QObject* parent)
    : QObject(parent)
    , m_onSignal(std::move(onSignal))
{
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, g_signalFds) != 0) {
        return;
    }
    m_notifier = new QSocketNotifier(g_signalFds[1], QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, [this] {
        char byte = 0;
        (void)!::read(g_signalFds[1], &byte, 1);
        if (m_onSignal) {
            m_onSignal();
        }
    });
    struct sigaction action
    {
    };
    action.sa_handler = OnTerminationSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (const int signal : {SIGTERM, SIGINT, SIGHUP}) {
        ::sigaction(signal, &action, nullptr);
    }
}

CTerminationSignal::~CTerminationSignal()
{
    for (const int signal : {SIGTERM, SIGINT, SIGHUP}) {
        std::signal(signal, SIG_DFL);
    }
    if (g_signalFds[0] >= 0) {
        ::close(g_signalFds[0]);
        ::close(g_signalFds[1]);
        g_signalFds[0] = g_signalFds[1] = -1;
    }
}
