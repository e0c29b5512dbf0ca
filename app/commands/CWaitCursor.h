// Shows the wait cursor for the life of the object.
#pragma once

#include <QApplication>
#include <QCursor>

class CWaitCursor
{
public:
    CWaitCursor() { QApplication::setOverrideCursor(QCursor(Qt::WaitCursor)); }
    ~CWaitCursor() { Restore(); }
    // Gives the cursor back early (before a message box).
    void Restore()
    {
        if (m_active) {
            m_active = false;
            QApplication::restoreOverrideCursor();
        }
    }
    CWaitCursor(const CWaitCursor&) = delete;
    CWaitCursor& operator=(const CWaitCursor&) = delete;

private:
    bool m_active = true;
};
