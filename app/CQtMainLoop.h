// The main loop of the desktop program as the core sees it: tasks posted from
// any thread run on the Qt main thread, in order, through a queued call.
#pragma once

#include "platform/CTaskQueue.h"

#include <QObject>

class CQtMainLoop : public QObject, public IMainLoop
{
    Q_OBJECT

public:
    // Requires: made on the main thread.
    explicit CQtMainLoop(QObject* parent = nullptr);

    void Post(std::function<void()> task) override;
    // Runs what is queued now (tests drain the queue without an event loop).
    size_t RunPending() { return m_queue.RunPending(); }

private:
    CTaskQueue m_queue;
};
