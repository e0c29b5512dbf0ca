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
        Show(message);
        return;
    }
    QMetaObject::invokeMethod(
        this, [this, message] { Show(message); }, Qt::QueuedConnection);
}

void CGuiNotifier::Show(const QString& message)
{
    // Before the main window exists a box could open behind other programs'
    // windows; it stays on top instead.
    if (m_window) {
        m_dialogs.Message(m_window, message);
    } else {
        m_dialogs.TopmostMessage(nullptr, message);
    }
}
