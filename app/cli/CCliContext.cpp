#include "app/cli/CCliContext.h"

#include "app/core/ProgramFolder.h"
#include "companion/FileServices.h"
#include "foundation/WideText.h"

#include <ostream>

void CStderrNotifier::Notify(const std::wstring& text)
{
    m_err << text << std::endl;
    m_log.Log(text);
}

CCliContext::CCliContext(std::wostream& out, std::wostream& err, IProfile& profile)
    : m_out(out)
    , m_err(err)
    , m_profile(profile)
{
    m_sink.SetOutput([this](const std::wstring& line) { m_out << line << std::endl; });
}

CCliContext::~CCliContext() = default;

bool CCliContext::Start(const std::string& programFolder)
{
    m_programFolder = programFolder.empty() ? ResolveProgramFolder(GetExecDir()) : programFolder;
    (void)SeedDataFile(m_programFolder, VX_SHARE_DIR, "predeftypes.json");
    (void)m_logFile.Open(m_programFolder + "/Veltrix.log");
    (void)m_traceFile.Open(m_programFolder + "/kroDB_Debug.txt");
    const std::string definitions = m_programFolder + "/predeftypes.json";
    if (!m_definitions.LoadStatTypes(definitions)) {
        m_sink.Log(L"predeftypes.json not found in " + FromUtf8(m_programFolder) +
                   L": no rooms and no statistic columns are known");
    }
    m_db = std::make_unique<kroDB::CDbContext>(m_definitions, m_notifier, m_sink);
    const CStatus env = m_db->AllocateEnvironment();
    if (!env.IsOk()) {
        m_notifier.Notify(env.Message());
        return false;
    }
    return true;
}

void CCliContext::Result(const std::wstring& text)
{
    m_out << text << std::endl;
    m_sink.Log(text);
}
