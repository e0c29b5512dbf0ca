#include "app/CQtMainLoop.h"

#include <QPointer>

CQtMainLoop::CQtMainLoop(QObject* parent)
    : QObject(parent)
{
    m_queue.SetWakeUp([this] {
        QMetaObject::invokeMethod(
            this, [this] { (void)m_queue.RunPending(); }, Qt::QueuedConnection);
    });
}

void CQtMainLoop::Post(std::function<void()> task)
{
    m_queue.Post(std::move(task));
}
