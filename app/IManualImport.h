// Manual import of chosen files and folders as the desktop program drives it:
// a job runs on a worker thread through the application core, reports each
// file and its hands, and can be cancelled between hands; every hand stored
// before a cancel stays whole.
#pragma once

#include "app/core/CManualImport.h"

#include <functional>
#include <memory>

class IManualImportTask
{
public:
    // Asks the worker to stop and waits for it to end.
    virtual ~IManualImportTask() = default;
    // Asks the worker to stop; thread-safe and returns at once.
    virtual void Cancel() = 0;
    virtual bool Finished() const = 0;
};

class IManualImport
{
public:
    struct CCallbacks
    {
        // Called on the worker when a file begins and ends and about four
        // times a second while hands are stored.
        std::function<void(const CManualImportProgress&)> progress;
        // Called on the worker once, last.
        std::function<void(const CManualImportResult&)> done;
    };

    virtual ~IManualImport() = default;
    // Starts the import of `options` on a worker of its own; several may run
    // at once.
    virtual std::unique_ptr<IManualImportTask> Start(CManualImportOptions options,
                                                     CCallbacks callbacks) = 0;
};
