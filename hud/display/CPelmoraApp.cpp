#include "hud/display/CPelmoraApp.h"

#include <QAbstractEventDispatcher>
#include <QApplication>
#include <QDateTime>
#include <QGuiApplication>
#include <QPixmap>
#include <QScreen>

#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <signal.h>
#include <sys/signalfd.h>
#include <unistd.h>
#include <xcb/xcb.h>

namespace {

constexpr int kModifierPollMs = 100;
constexpr int kScanDelayMs = 300;
constexpr int kRescanMs = 5000;
constexpr int kFallbackPollMs = 500;
// Time for the last boxes to be drawn before the picture is taken.
constexpr int kScreenshotDelayMs = 300;

}  // namespace

CPelmoraApp::CPelmoraApp(const CPelmoraOptions& options)
    : m_options(options)
    , m_display(m_tracker, m_settings, [this](const QString& line) { Log(line); })
    , m_reporter(
          m_finder,
          m_channel,
          [this](const QString& line) { Log(line); },
          [this](std::function<CStatus()> send, std::function<void(CStatus)> done) {
              m_sendQueue.Post(std::move(send), std::move(done));
          })
    , m_endpoint([this](uint64_t, std::span<const uint8_t> payload) { OnPacket(payload); })
{
    if (!m_options.logFile.empty()) {
        m_logFile.setFileName(QString::fromStdString(m_options.logFile));
        if (!m_logFile.open(QIODevice::Append | QIODevice::Text)) {
            Log(QStringLiteral("cannot write the log file %1").arg(m_logFile.fileName()));
        }
    }
    m_endpoint.SetLogFunction(
        [this](const std::wstring& line) { Log(QString::fromStdWString(line)); });
    m_display.SetDisplaySync([this] { SyncDisplay(); });
    if (m_options.noColors) {
        m_display.SetColorsEnabled(false);
    }
}

CPelmoraApp::~CPelmoraApp()
{
    m_endpointNotifier.reset();
    m_trackerNotifier.reset();
    m_signalNotifier.reset();
    m_endpoint.Close();
    if (m_signalFd >= 0) {
        ::close(m_signalFd);
    }
}

void CPelmoraApp::Log(const QString& line)
{
    const QString stamped =
        QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss ")) + line;
    std::cerr << "pelmora: " << stamped.toStdString() << std::endl;
    if (m_logFile.isOpen()) {
        m_logFile.write((stamped + QLatin1Char('\n')).toUtf8());
        m_logFile.flush();
    }
}

bool CPelmoraApp::Start()
{
    const CStatus opened = m_endpoint.Open(kEndpointName);
    if (!opened.IsOk()) {
        Log(QStringLiteral("cannot take the endpoint Pelmora: %1")
                .arg(QString::fromStdWString(opened.Message())));
        return false;
    }
    Log(QStringLiteral("listening on %1").arg(QString::fromStdString(m_endpoint.Path())));
    m_endpointNotifier = std::make_unique<QSocketNotifier>(m_endpoint.Fd(), QSocketNotifier::Read);
    QObject::connect(m_endpointNotifier.get(), &QSocketNotifier::activated,
                     [this] { m_endpoint.ProcessEvents(); });

    // Stop signals end the program as a shutdown message would.
    sigset_t stops;
    sigemptyset(&stops);
    sigaddset(&stops, SIGTERM);
    sigaddset(&stops, SIGINT);
    sigaddset(&stops, SIGHUP);
    m_signalFd = ::signalfd(-1, &stops, SFD_NONBLOCK | SFD_CLOEXEC);
    if (m_signalFd >= 0) {
        m_signalNotifier = std::make_unique<QSocketNotifier>(m_signalFd, QSocketNotifier::Read);
        QObject::connect(m_signalNotifier.get(), &QSocketNotifier::activated, [this] {
            signalfd_siginfo info{};
            while (::read(m_signalFd, &info, sizeof(info)) == sizeof(info)) {
            }
            Log(QStringLiteral("stopped by a signal"));
            QCoreApplication::exit(0);
        });
    }

    if (m_tracker.EventFd() >= 0) {
        m_trackerNotifier =
            std::make_unique<QSocketNotifier>(m_tracker.EventFd(), QSocketNotifier::Read);
        QObject::connect(m_trackerNotifier.get(), &QSocketNotifier::activated,
                         [this] { m_tracker.ProcessEvents(); });
        // Replies read while waiting leave events queued without waking the
        // notifier: look again whenever the loop is about to sleep.
        QObject::connect(QAbstractEventDispatcher::instance(),
                         &QAbstractEventDispatcher::aboutToBlock,
                         [this] { m_tracker.ProcessEvents(); });
    } else {
        Log(QStringLiteral("no X events to follow the tables by; polling them instead"));
        QObject::connect(&m_pollTimer, &QTimer::timeout, [this] { m_tracker.Poll(); });
        m_pollTimer.start(kFallbackPollMs);
    }

    m_scanTimer.setSingleShot(true);
    QObject::connect(&m_scanTimer, &QTimer::timeout, [this] { ScanTables(); });
    m_rescanTimer.setSingleShot(true);
    QObject::connect(&m_rescanTimer, &QTimer::timeout, [this] { ScanTables(); });
    m_tracker.SetTopLevelListener([this] { m_scanTimer.start(kScanDelayMs); });
    m_reporter.SetRetryNeeded([this] {
        if (!m_rescanTimer.isActive()) {
            m_rescanTimer.start(kRescanMs);
        }
    });
    m_scanTimer.start(0);

    QObject::connect(&m_modifierTimer, &QTimer::timeout, [this] { PollModifier(); });
    m_modifierTimer.start(kModifierPollMs);
    return true;
}

void CPelmoraApp::OnPacket(std::span<const uint8_t> payload)
{
    if (m_shuttingDown) {
        return;
    }
    if (m_display.HandlePacket(payload) == CHudDisplay::Outcome::Shutdown) {
        Shutdown();
    }
}

void CPelmoraApp::Shutdown()
{
    m_shuttingDown = true;
    Log(QStringLiteral("shutdown message received"));
    // Nobody can send to a program that is leaving. The notifier is still
    // delivering this packet: it goes later, not now.
    m_endpointNotifier->setEnabled(false);
    m_endpointNotifier.release()->deleteLater();
    m_endpoint.Close();
    if (m_options.screenshot.empty()) {
        QCoreApplication::exit(0);
        return;
    }
    QTimer::singleShot(kScreenshotDelayMs, [this] {
        for (CHudBox* box : m_display.Boxes()) {
            if (box->isVisible()) {
                box->repaint();
            }
        }
        SyncDisplay();
        QScreen* screen = QGuiApplication::primaryScreen();
        const QString file = QString::fromStdString(m_options.screenshot);
        if (screen == nullptr || !screen->grabWindow(0).save(file, "PNG")) {
            Log(QStringLiteral("could not save the screenshot %1").arg(file));
        } else {
            Log(QStringLiteral("saved the screenshot %1").arg(file));
        }
        QCoreApplication::exit(0);
    });
}

void CPelmoraApp::PollModifier()
{
    if (m_display.Boxes().empty()) {
        return;
    }
    const bool held = (QGuiApplication::queryKeyboardModifiers() & m_settings.DragModifier()) != 0;
    if (held != m_display.IsDraggable()) {
        m_display.SetDraggable(held);
    }
}

void CPelmoraApp::ScanTables()
{
    m_reporter.Scan();
}

void CPelmoraApp::SyncDisplay()
{
    // A round trip on the GUI's own connection: the server has then made and
    // mapped every box the GUI asked for, so restacking them finds them.
    auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    if (x11 != nullptr && x11->connection() != nullptr) {
        xcb_connection_t* c = x11->connection();
        std::free(xcb_get_input_focus_reply(c, xcb_get_input_focus(c), nullptr));
    }
}

int PelmoraMain(int argc, char** argv)
{
    std::vector<std::string> arguments(argv + 1, argv + argc);
    const char* fromEnvironment = std::getenv("PELMORA_SCREENSHOT");
    const CPelmoraOptions options =
        ParsePelmoraOptions(arguments, fromEnvironment != nullptr ? fromEnvironment : "");
    if (!options.error.empty()) {
        std::cerr << "pelmora: " << options.error << "\nTry 'pelmora --help'.\n";
        return 2;
    }
    if (options.help) {
        std::cout << PelmoraHelpText();
        return 0;
    }
    if (options.version) {
        std::cout << "pelmora " << VX_VERSION << "\n";
        return 0;
    }
    // Boxes sit over X11 windows (the client runs under Wine), so the GUI
    // talks X11 too, also in a Wayland session (through Xwayland).
    if (std::getenv("QT_QPA_PLATFORM") == nullptr) {
        ::setenv("QT_QPA_PLATFORM", "xcb", 1);
    }
    const char* platform = std::getenv("QT_QPA_PLATFORM");
    const char* display = std::getenv("DISPLAY");
    if (std::string(platform).rfind("xcb", 0) == 0 && (display == nullptr || *display == '\0')) {
        std::cerr << "pelmora: no X display to draw on ($DISPLAY is not set)\n";
        return 1;
    }
    // Blocked before any thread starts, so every thread leaves them to the
    // signal descriptor.
    sigset_t stops;
    sigemptyset(&stops);
    sigaddset(&stops, SIGTERM);
    sigaddset(&stops, SIGINT);
    sigaddset(&stops, SIGHUP);
    ::pthread_sigmask(SIG_BLOCK, &stops, nullptr);
    ::signal(SIGPIPE, SIG_IGN);

    QApplication application(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("Quendal"));
    QApplication::setApplicationName(QStringLiteral("Pelmora"));
    QApplication::setQuitOnLastWindowClosed(false);
    CPelmoraApp app(options);
    if (!app.Start()) {
        return 1;
    }
    const int code = QApplication::exec();
    app.Log(QStringLiteral("end of work"));
    return code;
}
