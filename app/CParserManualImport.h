// Manual import over the parser's import entry: one worker per job, each with
// its own parse state, on the application's shared database connection.
// Writes the progress and total lines to the output pane and the log.
#pragma once

#include "app/IManualImport.h"

class ILogSink;
class IUserNotifier;

namespace kroDB {
class CDbContext;
}

class CParserManualImport : public IManualImport
{
public:
    // Requires: the references outlive every task started.
    CParserManualImport(kroDB::CDbContext& db, ILogSink& log, IUserNotifier& notifier);

    std::unique_ptr<IManualImportTask> Start(CImportJob job, CCallbacks callbacks) override;

private:
    kroDB::CDbContext& m_db;
    ILogSink& m_log;
    IUserNotifier& m_notifier;
};
