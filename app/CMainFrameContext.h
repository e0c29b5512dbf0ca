// What the application gives its main window: the profile, the dialog seam,
// the program-wide switches, the stat definitions, the log, the database, the
// manual import, the application core (database commands, live tracking, the
// end of a run) and the maker of the session tracker window. The references
// and pointers are borrowed and outlive the frame; without a core the
// commands that need it do nothing.
#pragma once

#include "app/ITrackerWindow.h"

#include <cstdint>
#include <functional>
#include <span>

class CApplicationCore;
struct CProgramSwitches;
class CStatDefinitions;
class IDialogs;
class ILogSink;
class IManualImport;
class IProfile;

namespace kroDB {
class CDbContext;
}

struct CMainFrameContext
{
    CMainFrameContext(IProfile& profile_,
                      IDialogs& dialogs_,
                      CProgramSwitches& switches_,
                      const CStatDefinitions& definitions_,
                      ILogSink& log_,
                      kroDB::CDbContext& db_,
                      IManualImport& import_)
        : profile(profile_)
        , dialogs(dialogs_)
        , switches(switches_)
        , definitions(definitions_)
        , log(log_)
        , db(db_)
        , import(import_)
    {}

    IProfile& profile;
    IDialogs& dialogs;
    CProgramSwitches& switches;
    const CStatDefinitions& definitions;
    // Log lines to the log file, output lines to the output pane.
    ILogSink& log;
    kroDB::CDbContext& db;
    IManualImport& import;

    CApplicationCore* core = nullptr;
    // Makes the session tracker window; empty: the tracker itself.
    TrackerWindowFactory makeTracker;
    // A table report of the HUD display program (20 bytes), after the answer
    // was given.
    std::function<void(std::span<const uint8_t>)> tableReport;
};
