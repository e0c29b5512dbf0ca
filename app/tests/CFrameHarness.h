// A main window as the tests drive it, over a real application core in a
// temporary program folder: a profile in memory, dialogs that the test answers
// (every message the user would see lands there, the core's included), fakes
// for the processes, the HUD transport, the windows and the file changes, and
// the output pane fed by the core's log.
#pragma once

#include "app/CCoreManualImport.h"
#include "app/CGuiNotifier.h"
#include "app/CMainFrame.h"
#include "app/CMainFrameContext.h"
#include "app/CProgramSwitches.h"
#include "app/CQtMainLoop.h"
#include "app/core/CApplicationCore.h"
#include "app/tests/CScriptedDialogs.h"
#include "foundation/CMemoryProfile.h"
#include "platform/fakes/CFakeMessageChannel.h"
#include "platform/fakes/CFakeProcessList.h"
#include "platform/fakes/CFakeProgramLauncher.h"
#include "platform/fakes/CFakeWindowFinder.h"
#include "testing/CTempDir.h"

#include <QStringList>

#include <functional>
#include <memory>
#include <string>
#include <vector>

class CFrameHarness
{
public:
    // Builds the core and the frame; `prepare` may change the profile and
    // the context first.
    explicit CFrameHarness(const std::function<void(CMainFrameContext&)>& prepare = {});
    ~CFrameHarness();

    CMainFrame& Frame() { return *m_frame; }
    CApplicationCore& Core() { return *core; }
    kroDB::CDbContext& Db() { return core->Db(); }
    // The Debug tab's lines after its welcome line.
    QStringList PaneLines() const;
    // The log file's text.
    std::string LogText() const;
    const std::string& ProgramFolder() const { return m_dir.Path(); }

    CMemoryProfile profile;
    CScriptedDialogs dialogs;
    CProgramSwitches switches;
    CQtMainLoop loop;
    CFakeProcessList processes;
    CFakeMessageChannel channel;
    CFakeWindowFinder windows;
    CFakeProgramLauncher launcher;

private:
    vxtest::CTempDir m_dir;

public:
    std::unique_ptr<CGuiNotifier> notifier;
    std::unique_ptr<CApplicationCore> core;
    std::unique_ptr<CCoreManualImport> import;
    std::unique_ptr<CMainFrameContext> context;

private:
    std::unique_ptr<CMainFrame> m_frame;
};

// Runs the event loop until `done` holds or `ms` pass; true when it held.
bool WaitFor(const std::function<bool()>& done, int ms = 20000);

// The texts of a list of wide lines, for comparisons.
QStringList ToStrings(const std::vector<std::wstring>& lines);
