#include "app/COutputWnd.h"

#include "app/COutputList.h"

#include <QApplication>
#include <QPointer>
#include <QTabWidget>
#include <QThread>

namespace {

void Fill(COutputList* list, const QString& first)
{
    list->AppendLine(first);
    list->AppendLine(QStringLiteral("The output is being displayed in rows of a list view"));
    list->AppendLine(QStringLiteral("but you can change the way it is displayed as you wish..."));
}

}  // namespace

COutputWnd::COutputWnd(QWidget* parent)
    : QDockWidget(QStringLiteral("Output"), parent)
    , m_tabs(new QTabWidget(this))
    , m_build(new COutputList(m_tabs))
    , m_debug(new COutputList(m_tabs))
    , m_find(new COutputList(m_tabs))
{
    setObjectName(QStringLiteral("OutputWnd"));
    setFeatures(QDockWidget::DockWidgetClosable | QDockWidget::DockWidgetMovable |
                QDockWidget::DockWidgetFloatable);
    setAllowedAreas(Qt::AllDockWidgetAreas);
    m_tabs->setTabPosition(QTabWidget::South);
    m_tabs->setDocumentMode(true);
    m_tabs->addTab(m_build, QStringLiteral("Build"));
    m_tabs->addTab(m_debug, QStringLiteral("Debug"));
    m_tabs->addTab(m_find, QStringLiteral("Find"));
    Fill(m_build, QStringLiteral("Build output is being displayed here."));
    m_debug->AppendLine(QStringLiteral("Welcome to Veltrix"));
    Fill(m_find, QStringLiteral("Find output is being displayed here."));
    m_tabs->setCurrentWidget(m_debug);
    setWidget(m_tabs);
    for (COutputList* list : {m_build, m_debug, m_find}) {
        connect(list, &COutputList::HideRequested, this, [this] {
            hide();
            if (parentWidget() != nullptr) {
                parentWidget()->setFocus();
            }
        });
    }
    UpdateFonts();
}

void COutputWnd::AppendDebugLine(const QString& text)
{
    if (QThread::currentThread() == thread()) {
        m_debug->AppendLine(text);
        return;
    }
    QPointer<COutputList> list(m_debug);
    QMetaObject::invokeMethod(
        this,
        [list, text] {
            if (list) {
                list->AppendLine(text);
            }
        },
        Qt::QueuedConnection);
}

void COutputWnd::UpdateFonts()
{
    for (COutputList* list : {m_build, m_debug, m_find}) {
        list->setFont(QApplication::font());
    }
}
