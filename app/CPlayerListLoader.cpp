#include "app/CPlayerListLoader.h"

#include "companion/CDatabase.h"

#include <chrono>

CPlayerListLoader::CPlayerListLoader(SQLHENV environment, QObject* parent)
    : QObject(parent)
    , m_environment(environment)
{}

CPlayerListLoader::~CPlayerListLoader()
{
    Reap(true);
}

void CPlayerListLoader::Reap(bool all)
{
    for (auto it = m_jobs.begin(); it != m_jobs.end();) {
        if (all) {
            (*it)->cancel = true;
        }
        if (all || (*it)->finished) {
            if ((*it)->thread.joinable()) {
                (*it)->thread.join();
            }
            it = m_jobs.erase(it);
        } else {
            ++it;
        }
    }
}

bool CPlayerListLoader::Busy() const
{
    for (const auto& job : m_jobs) {
        if (!job->finished) {
            return true;
        }
    }
    return false;
}

void CPlayerListLoader::Load(const std::wstring& connectString,
                             const kroStats::CPlayerListFilter& filter,
                             Done done)
{
    Reap(false);
    for (const auto& job : m_jobs) {
        job->cancel = true;
    }
    const unsigned generation = ++m_generation;
    auto job = std::make_shared<CJob>();
    CPlayerListLoader* self = this;
    SQLHENV environment = m_environment;
    job->thread = std::thread(
        [self, job, environment, connectString, filter, generation, done = std::move(done)] {
            const auto start = std::chrono::steady_clock::now();
            auto result = std::make_shared<CResult>();
            if (environment == SQL_NULL_HENV) {
                result->error = L"the ODBC driver manager is not available";
            } else {
                CDatabase db(environment);
                CStatus status = db.Open(connectString);
                if (status.IsOk()) {
                    status = kroStats::LoadPlayerList(db, filter, result->rows, &job->cancel);
                }
                if (!status.IsOk()) {
                    result->error = status.Message();
                    result->rows.clear();
                }
            }
            result->seconds =
                std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
            if (!job->cancel) {
                // The loader waits for this worker in its destructor, so it is
                // there when the call is queued.
                // Events queued for a destroyed object are dropped with it.
                QMetaObject::invokeMethod(
                    self,
                    [self, result, generation, done] {
                        if (generation == self->m_generation) {
                            done(*result);
                        }
                    },
                    Qt::QueuedConnection);
            }
            job->finished = true;
        });
    m_jobs.push_back(std::move(job));
}
