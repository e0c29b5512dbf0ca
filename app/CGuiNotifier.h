// Messages the user must see, as message boxes through the dialog seam. A
// message from a worker thread is shown on the main thread without making the
// worker wait.
#pragma once

#include "foundation/IUserNotifier.h"

#include <QObject>
#include <QPointer>
#include <QWidget>

class IDialogs;

class CGuiNotifier : public QObject, public IUserNotifier
{
    Q_OBJECT

public:
    // Requires: made on the main thread; `dialogs` outlives this object.
    explicit CGuiNotifier(IDialogs& dialogs, QObject* parent = nullptr);

    void Notify(const std::wstring& text) override;
    // The window the boxes belong to; none before the main window exists.
    void SetParentWindow(QWidget* window) { m_window = window; }

private:
    void Show(const QString& message);

    IDialogs& m_dialogs;
    QPointer<QWidget> m_window;
};
