// The tabbed window that holds one player list.
#pragma once

#include <QMdiSubWindow>

class CChildFrame : public QMdiSubWindow
{
    Q_OBJECT

public:
    // Takes `view` as its widget and deletes itself when closed.
    explicit CChildFrame(QWidget* view, QWidget* parent = nullptr);
};
