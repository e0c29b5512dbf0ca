// Ends the desktop program the orderly way when the system asks it to
// (SIGTERM, SIGINT, SIGHUP, as at logout): the signal only wakes the main
// loop, which then closes the main window as the Exit command would. One
// object per process, made on the main thread.
#pragma once

#include <QObject>

#include <functional>

class QSocketNotifier;

class CTerminationSignal : public QObject
{
    Q_OBJECT

public:
    // `onSignal` runs on the main thread after a signal arrived.
    explicit CTerminationSignal(std::function<void()> onSignal, QObject* parent = nullptr);
    ~CTerminationSignal() override;

private:
    std::function<void()> m_onSignal;
    QSocketNotifier* m_notifier = nullptr;
};
