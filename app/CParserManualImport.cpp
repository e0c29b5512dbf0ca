#include "app/CParserManualImport.h"

#include "db/CDbContext.h"
#include "db/tables/CActionList.h"
#include "db/tables/kroFiles.h"
#include "foundation/ILogSink.h"
#include "foundation/WideText.h"
#include "parser/CHandHistoryImporter.h"
#include "parser/CParseContext.h"

#include <atomic>
#include <chrono>
#include <memory>
#include <thread>

namespace {

bool NameBeginsWithHH(const std::string& path)
{
    const size_t slash = path.find_last_of('/');
    const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    return name.rfind("HH", 0) == 0;
}

class CTask : public IManualImportTask
{
public:
    CTask(kroDB::CDbContext& db,
          ILogSink& log,
          IUserNotifier& notifier,
          CImportJob job,
          IManualImport::CCallbacks callbacks)
        : m_db(db)
        , m_log(log)
        , m_notifier(notifier)
        , m_job(std::move(job))
        , m_callbacks(std::move(callbacks))
        , m_thread([this] { Run(); })
    {}

    ~CTask() override
    {
        m_cancel = true;
        if (m_thread.joinable()) {
            m_thread.join();
        }
    }

    void Cancel() override { m_cancel = true; }
    bool Finished() const override { return m_finished; }

private:
    void Line(const std::wstring& text)
    {
        m_log.Output(text);
        m_log.Log(text);
    }

    void Run()
    {
        auto connection = std::make_unique<kroDB::CConnectionLease>(m_db.AcquireConnection(true));
        kroDB::CActionList actions;
        kroHandParser::CParseContext context;
        kroHandParser::CParserEnvironment env(m_db, actions, context, m_log, m_notifier,
                                              m_job.parse);
        kroHandParser::CHandHistoryImporter importer(env);
        const auto start = std::chrono::steady_clock::now();
        const auto elapsed = [&] {
            return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        };
        CImportJobResult result;
        const int count = static_cast<int>(m_job.files.size());
        for (int i = 0; i < count && !m_cancel; ++i) {
            const std::string& path = m_job.files[static_cast<size_t>(i)];
            const std::wstring widePath = FromUtf8(path);
            if (m_callbacks.progress) {
                m_callbacks.progress(
                    CImportJobProgress{i + 1, count, widePath, result.hands, elapsed()});
            }
            if (!m_job.singleFile) {
                Line(FormatW(L"All files = %d file number %d. Start import from file = %ls \n",
                             count, i + 1, widePath.c_str()));
            }
            int64_t fileId = 0;
            int currency = -1;
            int64_t position = 0;
            const int hands = m_job.singleFile
                                  ? importer.ImportWithSiteCode(path, fileId, currency, position,
                                                                m_job.siteNumber, m_job.aliasId)
                                  : importer.ImportHandHistoryFile(path, fileId, currency, position,
                                                                   m_job.roomText, m_job.aliasId);
            if (hands > 0) {
                result.hands += hands;
                // A client's own file that was read whole is finished: live
                // import must not read it again.
                const bool finish =
                    m_job.singleFile ? m_job.homeRoomPosition == 0 : m_job.roomNumber == 1;
                if (finish && NameBeginsWithHH(path)) {
                    kroDB::kroFiles::data file(m_db);
                    (void)file.SetFinished(fileId);
                }
            }
            ++result.filesDone;
            Line(m_job.singleFile
                     ? FormatW(L"All files = 1 file number 1. Hands = %d is imported from file = "
                               L"%ls \n",
                               hands, widePath.c_str())
                     : FormatW(L"Hands = %d is imported from file = %ls \n\n", hands,
                               widePath.c_str()));
        }
        result.seconds = elapsed();
        result.cancelled = m_cancel && result.filesDone < count;
        result.counts = env.counts;
        const int whole = static_cast<int>(result.seconds);
        // An import without hands has no time per hand; 0 rather than the
        // "nan" a division by 0 would print.
        const double perHand =
            result.hands > 0 ? result.seconds / static_cast<double>(result.hands) : 0.0;
        Line(FormatW(
            L"Total hands = %d. Elapsed time = %d mins. %d secs. Time for 1 hand: %.3lf secs.\n",
            static_cast<int>(result.hands), whole / 60, whole % 60, perHand));
        connection.reset();
        if (m_callbacks.done) {
            m_callbacks.done(result);
        }
        m_finished = true;
    }

    kroDB::CDbContext& m_db;
    ILogSink& m_log;
    IUserNotifier& m_notifier;
    CImportJob m_job;
    IManualImport::CCallbacks m_callbacks;
    std::atomic<bool> m_cancel{false};
    std::atomic<bool> m_finished{false};
    // Last: it runs Run, which uses everything above.
    std::thread m_thread;
};

}  // namespace

CParserManualImport::CParserManualImport(kroDB::CDbContext& db,
                                         ILogSink& log,
                                         IUserNotifier& notifier)
    : m_db(db)
    , m_log(log)
    , m_notifier(notifier)
{}

std::unique_ptr<IManualImportTask> CParserManualImport::Start(CImportJob job, CCallbacks callbacks)
{
    return std::make_unique<CTask>(m_db, m_log, m_notifier, std::move(job), std::move(callbacks));
}
