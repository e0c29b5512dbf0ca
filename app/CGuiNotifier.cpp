#include "app/CGuiNotifier.h"

#include "app/IDialogs.h"

#include <QThread>

CGuiNotifier::CGuiNotifier(IDialogs& dialogs, QObject* parent)
    : QObject(parent)
    , m_dialogs(dialogs)
{}

void CGuiNotifier::Notify(const std::wstring& text)
{
    const QString message = QString::fromStdWString(text);
    if (QThread::currentThread() == thread()) {
        m_dialogs.Message(m_window, message);
        return;
    }
    QMetaObject::invokeMethod(
        this, [this, message] { m_dialogs.Message(m_window, message); }, Qt::QueuedConnection);
}
