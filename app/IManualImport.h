// Manual import of chosen files as the desktop program drives it: a job runs
// on a worker thread, reports each file and its totals, and can be cancelled
// between hands or files; every hand stored before a cancel stays whole.
#pragma once

#include "parser/CParseSettings.h"
#include "parser/CParserEnvironment.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

struct CImportJob
{
    std::vector<std::string> files;
    // 1, 4 or 9: the room number of the folder import (1 for other rooms).
    int roomNumber = 1;
    // The import room's display name.
    std::wstring roomText;
    // One chosen file ("Import Files") rather than a folder's files: its lines
    // are those of the single-file import and it is read with `siteNumber`.
    bool singleFile = false;
    int siteNumber = 0;
    // The Home room list's position (0 marks the room whose "HH" files are
    // finished by a single-file import).
    int homeRoomPosition = 0;
    int32_t aliasId = 0;
    kroHandParser::CParseSettings parse;
};

struct CImportJobProgress
{
    // 1-based number of the file being imported, and how many there are.
    int fileNumber = 0;
    int fileCount = 0;
    std::wstring path;
    // Hands imported so far, all files.
    int64_t hands = 0;
    double seconds = 0;
};

struct CImportJobResult
{
    int64_t hands = 0;
    int filesDone = 0;
    kroHandParser::CImportCounts counts;
    double seconds = 0;
    bool cancelled = false;
};

class IManualImportTask
{
public:
    // Waits for the worker to end.
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
        // Called on the worker before each file.
        std::function<void(const CImportJobProgress&)> progress;
        // Called on the worker once, last.
        std::function<void(const CImportJobResult&)> done;
    };

    virtual ~IManualImport() = default;
    // Starts `job` on a worker of its own; several may run at once.
    virtual std::unique_ptr<IManualImportTask> Start(CImportJob job, CCallbacks callbacks) = 0;
};
