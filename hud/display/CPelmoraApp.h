// The running HUD display program: owns the endpoint "Pelmora", the X11
// window tracker and finder, the display and the table reporter, and joins
// them to the Qt event loop (socket notifiers for the endpoint, the X
// connection and the stop signals; timers for the drag modifier and for
// scans). Create after the QApplication, on its thread.
#pragma once

#include "hud/display/CHudDisplay.h"
#include "hud/display/CHudSettings.h"
#include "hud/display/CSendQueue.h"
#include "hud/display/CTableReporter.h"
#include "hud/display/PelmoraOptions.h"
#include "platform/linux/CUnixMessageChannel.h"
#include "platform/linux/CUnixMessageEndpoint.h"
#include "platform/linux/CXcbWindowFinder.h"
#include "platform/linux/CXcbWindowTracker.h"

#include <QFile>
#include <QSocketNotifier>
#include <QTimer>

#include <memory>

class CPelmoraApp
{
public:
    static constexpr const wchar_t* kEndpointName = L"Pelmora";

    explicit CPelmoraApp(const CPelmoraOptions& options);
    ~CPelmoraApp();

    // Takes the endpoint and starts listening. False (with a logged reason)
    // when another program owns it or it cannot be made.
    [[nodiscard]] bool Start();

    void Log(const QString& line);

private:
    void OnPacket(std::span<const uint8_t> payload);
    void Shutdown();
    void PollModifier();
    void ScanTables();
    void SyncDisplay();

    CPelmoraOptions m_options;
    QFile m_logFile;
    CHudSettings m_settings;
    CXcbWindowTracker m_tracker;
    CXcbWindowFinder m_finder;
    CUnixMessageChannel m_channel;
    CHudDisplay m_display;
    CTableReporter m_reporter;
    // Destroyed before the reporter: no answer reaches a reporter that is gone.
    CSendQueue m_sendQueue;
    CUnixMessageEndpoint m_endpoint;
    std::unique_ptr<QSocketNotifier> m_endpointNotifier;
    std::unique_ptr<QSocketNotifier> m_trackerNotifier;
    std::unique_ptr<QSocketNotifier> m_signalNotifier;
    int m_signalFd = -1;
    QTimer m_modifierTimer;
    QTimer m_scanTimer;
    QTimer m_rescanTimer;
    QTimer m_pollTimer;
    bool m_shuttingDown = false;
};

// The whole program: options, display check, QApplication, event loop.
int PelmoraMain(int argc, char** argv);
