#include "app/CCoreManualImport.h"

#include "app/core/CApplicationCore.h"

#include <atomic>
#include <thread>

namespace {

class CTask : public IManualImportTask
{
public:
    CTask(CApplicationCore& core, CManualImportOptions options, IManualImport::CCallbacks callbacks)
        : m_core(core)
        , m_options(std::move(options))
        , m_callbacks(std::move(callbacks))
        , m_thread([this](std::stop_token stop) { Run(std::move(stop)); })
    {}

    // The jthread asks for the stop and joins.
    ~CTask() override = default;

    void Cancel() override { m_thread.request_stop(); }
    bool Finished() const override { return m_finished; }

private:
    void Run(std::stop_token stop)
    {
        const CManualImportResult result =
            m_core.ImportFiles(m_options, m_callbacks.progress, std::move(stop));
        if (m_callbacks.done) {
            m_callbacks.done(result);
        }
        m_finished = true;
    }

    CApplicationCore& m_core;
    CManualImportOptions m_options;
    IManualImport::CCallbacks m_callbacks;
    std::atomic<bool> m_finished{false};
    // Last: it runs Run, which uses everything above.
    std::jthread m_thread;
};

}  // namespace

CCoreManualImport::CCoreManualImport(CApplicationCore& core)
    : m_core(core)
{}

std::unique_ptr<IManualImportTask> CCoreManualImport::Start(CManualImportOptions options,
                                                            CCallbacks callbacks)
{
    return std::make_unique<CTask>(m_core, std::move(options), std::move(callbacks));
}
