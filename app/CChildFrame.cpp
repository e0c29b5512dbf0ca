#include "app/CChildFrame.h"

CChildFrame::CChildFrame(QWidget* view, QWidget* parent)
    : QMdiSubWindow(parent)
{
    setWidget(view);
    setAttribute(Qt::WA_DeleteOnClose);
}
