#include "app/tests/CFrameHarness.h"

#include "app/COutputList.h"
#include "app/COutputWnd.h"
#include "platform/fakes/CFakeFileChangeSource.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QThread>

#include <fstream>
#include <sstream>

CFrameHarness::CFrameHarness(const std::function<void(CMainFrameContext&)>& prepare)
{
    notifier = std::make_unique<CGuiNotifier>(dialogs);
    CApplicationCoreOptions options;
    options.programFolder = m_dir.Path();
    options.home = m_dir.Path();
    options.probe.winePrefixes = {m_dir.File("no-wine")};
    options.probe.userName = "hero";
    options.shareFolder = VX_SHARE_DIR;
    CPlatformServices platform;
    platform.loop = &loop;
    platform.processes = &processes;
    platform.channel = &channel;
    platform.windows = &windows;
    platform.launcher = &launcher;
    platform.makeSource = [] { return std::make_unique<CFakeFileChangeSource>(); };
    platform.executableFolder = m_dir.Path();
    core = std::make_unique<CApplicationCore>(options, *notifier, &profile, platform);
    import = std::make_unique<CCoreManualImport>(*core);
    context = std::make_unique<CMainFrameContext>(profile, dialogs, switches, core->Definitions(),
                                                  core->Log(), core->Db(), *import);
    context->core = core.get();
    if (prepare) {
        prepare(*context);
    }
    // After `prepare`: the start reads the profile it set.
    (void)core->StartUp();
    m_frame = std::make_unique<CMainFrame>(*context);
    if (m_frame->Create()) {
        notifier->SetParentWindow(m_frame.get());
        COutputWnd* pane = m_frame->Output();
        core->Log().SetOutput([pane](const std::wstring& text) {
            pane->AppendDebugLine(QString::fromStdWString(text));
        });
        m_frame->LoadRibbonFromProfile();
    }
}

CFrameHarness::~CFrameHarness()
{
    core->Log().SetOutput(nullptr);
    m_frame.reset();
    import.reset();
    core.reset();
}

QStringList CFrameHarness::PaneLines() const
{
    QStringList lines = m_frame->Output()->DebugList()->Lines();
    if (!lines.isEmpty() && lines.first() == QStringLiteral("Welcome to Veltrix")) {
        lines.removeFirst();
    }
    return lines;
}

std::string CFrameHarness::LogText() const
{
    std::ifstream in(m_dir.File("Veltrix.log"));
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
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
