#include "app/tests/CFrameHarness.h"

#include "app/COutputWnd.h"

#include <QApplication>
#include <QThread>

CFrameHarness::CFrameHarness(const std::function<void(CMainFrameContext&)>& prepare)
{
    definitions.LoadStatTypes(std::string(VX_SHARE_DIR) + "/predeftypes.json");
    db = std::make_unique<kroDB::CDbContext>(definitions, notifier, log);
    (void)db->AllocateEnvironment();
    import = std::make_unique<CParserManualImport>(*db, log, notifier);
    context = std::make_unique<CMainFrameContext>(profile, dialogs, switches, definitions, log, *db,
                                                  *import);
    if (prepare) {
        prepare(*context);
    }
    m_frame = std::make_unique<CMainFrame>(*context);
    if (m_frame->Create()) {
        COutputWnd* pane = m_frame->Output();
        log.SetOutput([pane](const std::wstring& text) {
            pane->AppendDebugLine(QString::fromStdWString(text));
        });
        m_frame->LoadRibbonFromProfile();
    }
}

CFrameHarness::~CFrameHarness()
{
    log.SetOutput(nullptr);
    m_frame.reset();
    import.reset();
    db.reset();
}

bool WaitFor(const std::function<bool()>& done, int ms)
{
    QElapsedTimer timer;
    timer.start();
    while (!done()) {
        if (timer.elapsed() > ms) {
            return false;
        }
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QThread::msleep(5);
    }
    return true;
}

QStringList ToStrings(const std::vector<std::wstring>& lines)
{
    QStringList out;
    for (const std::wstring& line : lines) {
        out.append(QString::fromStdWString(line));
    }
    return out;
}
