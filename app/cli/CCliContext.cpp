#include "app/cli/CCliContext.h"

#include "app/core/ProgramFolder.h"
#include "companion/FileServices.h"
#include "foundation/WideText.h"
#include "platform/linux/CInotifyChangeSource.h"
#include "platform/linux/CUnixMessageChannel.h"
#include "platform/linux/CXcbWindowFinder.h"

#include <ostream>

void CStderrNotifier::Notify(const std::wstring& text)
{
    m_err << text << std::endl;
    if (m_log != nullptr) {
        m_log->Log(text);
    }
}

CCliContext::CCliContext(std::wostream& out, std::wostream& err, IProfile& profile)
    : m_out(out)
    , m_err(err)
    , m_profile(profile)
    , m_channel(std::make_unique<CUnixMessageChannel>())
    , m_windows(std::make_unique<CXcbWindowFinder>())
{}

CCliContext::~CCliContext()
{
    // The core logs its last lines through the notifier's log; both go
    // together.
    m_core.reset();
    m_notifier.SetLog(nullptr);
}

bool CCliContext::Start(const std::string& programFolder, bool live)
{
    CApplicationCoreOptions options;
    options.programFolder =
        programFolder.empty() ? ResolveProgramFolder(GetExecDir()) : programFolder;
    options.home = HomeFolder();
    options.shareFolder = VX_SHARE_DIR;
    options.configureRooms = live;
    CPlatformServices platform;
    if (live) {
        platform.loop = &m_loop;
        platform.processes = &m_processes;
        platform.channel = m_channel.get();
        platform.windows = m_windows.get();
        platform.launcher = &m_launcher;
        platform.makeSource = [] { return std::make_unique<CInotifyChangeSource>(); };
        platform.executableFolder = GetExecDir();
    }
    m_core = std::make_unique<CApplicationCore>(std::move(options), m_notifier, &m_profile,
                                                std::move(platform));
    m_notifier.SetLog(&m_core->Log());
    m_core->Log().SetOutput([this](const std::wstring& line) { m_out << line << std::endl; });
    return m_core->StartUp();
}

void CCliContext::Result(const std::wstring& text)
{
    m_out << text << std::endl;
    Log().Log(text);
}
