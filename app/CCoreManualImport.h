// The desktop program's manual import: each job is the application core's
// ImportFiles on a std::jthread of its own.
#pragma once

#include "app/IManualImport.h"

class CApplicationCore;

class CCoreManualImport : public IManualImport
{
public:
    // Requires: `core` outlives this object and every task it started.
    explicit CCoreManualImport(CApplicationCore& core);

    std::unique_ptr<IManualImportTask> Start(CManualImportOptions options,
                                             CCallbacks callbacks) override;

private:
    CApplicationCore& m_core;
};
