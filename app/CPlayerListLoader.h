// Loads the player list in the background: each load opens a connection of its
// own, runs the player query and hands the rows to the main thread. A newer
// load makes older ones drop their rows. Main thread only (the workers are
// internal); the destructor waits for the workers.
#pragma once

#include "stats/CPlayerListQuery.h"

#include <sql.h>

#include <QObject>

#include <atomic>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

class CPlayerListLoader : public QObject
{
    Q_OBJECT

public:
    struct CResult
    {
        std::vector<kroStats::CPlayerListRow> rows;
        // Empty on success, else why the list could not be read.
        std::wstring error;
        double seconds = 0;
    };
    using Done = std::function<void(CResult&)>;

    // Requires: the environment stays allocated while loads run.
    CPlayerListLoader(SQLHENV environment, QObject* parent = nullptr);
    ~CPlayerListLoader() override;

    // Starts a load; `done` runs on the main thread with its result unless a
    // newer load started meanwhile.
    void Load(const std::wstring& connectString,
              const kroStats::CPlayerListFilter& filter,
              Done done);
    bool Busy() const;

private:
    struct CJob
    {
        std::atomic<bool> cancel{false};
        std::atomic<bool> finished{false};
        std::thread thread;
    };
    void Reap(bool all);

    SQLHENV m_environment;
    std::vector<std::shared_ptr<CJob>> m_jobs;
    unsigned m_generation = 0;
};
