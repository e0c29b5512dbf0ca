#include "app/commands/CDatabaseCommands.h"

#include "app/CMainFrame.h"
#include "app/CRibbonBar.h"
#include "app/CVeltrixView.h"
#include "app/IDialogs.h"
#include "app/commands/CCommandDispatcher.h"
#include "app/commands/CWaitCursor.h"
#include "app/commands/CommandIds.h"
#include "app/core/CApplicationCore.h"

#include <QLineEdit>

CDatabaseCommands::CDatabaseCommands(CMainFrame& frame, CCommandDispatcher& dispatcher)
    : m_frame(frame)
{
    dispatcher.Add(vxcmd::kCreateDatabase, [this] { OnCreateDatabase(); });
    dispatcher.Add(vxcmd::kDeleteDatabase, [this] { OnDeleteDatabase(); });
}

CDatabaseSettings CDatabaseCommands::SettingsFromEdits() const
{
    CRibbonBar* ribbon = m_frame.Ribbon();
    CDatabaseSettings settings;
    settings.server = ribbon->Edit(vxcmd::kServerIp)->text().toStdWString();
    settings.port = ribbon->Edit(vxcmd::kPort)->text().toStdWString();
    settings.name = ribbon->Edit(vxcmd::kDbName)->text().toStdWString();
    settings.user = ribbon->Edit(vxcmd::kDbUser)->text().toStdWString();
    settings.password = ribbon->Edit(vxcmd::kPassword)->text().toStdWString();
    return settings;
}

void CDatabaseCommands::Run(bool create)
{
    CApplicationCore* core = m_frame.Context().core;
    if (core == nullptr) {
        return;
    }
    // The edits as they are, typed but not yet stored included.
    const CDatabaseSettings settings = SettingsFromEdits();
    CDbCommandResult result;
    {
        CWaitCursor wait;
        result = create ? core->CreateDatabase(settings) : core->DropDatabase(settings);
    }
    // A missing field was already told; the core wrote the result's line.
    if (result.incomplete) {
        return;
    }
    m_frame.Context().dialogs.Message(&m_frame, QString::fromStdWString(result.message));
    // The open list shows the database as it is now.
    if (CVeltrixView* view = m_frame.ActivePlayerList()) {
        view->Refresh();
    }
}

void CDatabaseCommands::OnCreateDatabase()
{
    Run(true);
}

void CDatabaseCommands::OnDeleteDatabase()
{
    Run(false);
}
