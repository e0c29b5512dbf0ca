#include "app/commands/CDatabaseCommands.h"

#include "app/CMainFrame.h"
#include "app/CRibbonBar.h"
#include "app/CVeltrixView.h"
#include "app/IDialogs.h"
#include "app/commands/CCommandDispatcher.h"
#include "app/commands/CWaitCursor.h"
#include "app/commands/CommandIds.h"
#include "db/DatabaseAdmin.h"

#include <QLineEdit>

CDatabaseCommands::CDatabaseCommands(CMainFrame& frame, CCommandDispatcher& dispatcher)
    : m_frame(frame)
{
    dispatcher.Add(vxcmd::kCreateDatabase, [this] { OnCreateDatabase(); });
    dispatcher.Add(vxcmd::kDeleteDatabase, [this] { OnDeleteDatabase(); });
}

QString CDatabaseCommands::TargetFromEdits()
{
    CRibbonBar* ribbon = m_frame.Ribbon();
    kroDB::CConnectParts parts;
    parts.server = ribbon->Edit(vxcmd::kServerIp)->text().toStdWString();
    parts.port = ribbon->Edit(vxcmd::kPort)->text().toStdWString();
    parts.database = ribbon->Edit(vxcmd::kDbName)->text().toStdWString();
    parts.user = ribbon->Edit(vxcmd::kDbUser)->text().toStdWString();
    parts.password = ribbon->Edit(vxcmd::kPassword)->text().toStdWString();
    if (parts.server.empty() || parts.port.empty() || parts.database.empty() ||
        parts.user.empty()) {
        m_frame.Context().dialogs.Message(&m_frame,
                                          QStringLiteral("Please fill all the required fields!"));
        return QString();
    }
    return QString::fromStdWString(kroDB::MakeConnectString(parts));
}

void CDatabaseCommands::ShowResult(const QString& text)
{
    m_frame.Context().dialogs.Message(&m_frame, text);
    m_frame.Report(text);
    // The open list shows the database as it is now.
    if (CVeltrixView* view = m_frame.ActivePlayerList()) {
        view->Refresh();
    }
}

void CDatabaseCommands::OnCreateDatabase()
{
    const QString target = TargetFromEdits();
    if (target.isEmpty()) {
        return;
    }
    kroDB::CDbContext& db = m_frame.Context().db;
    const std::wstring connect = target.toStdWString();
    QString result;
    // The cursor is back before the result is shown.
    CWaitCursor wait;
    if (kroDB::CheckDatabase(db, connect)) {
        result = QStringLiteral("Database is already being!");
    } else {
        result = kroDB::CreateDatabase(db, connect)
                     ? QStringLiteral("Database was created successfully!")
                     : QStringLiteral("Database is not created!");
    }
    wait.Restore();
    ShowResult(result);
}

void CDatabaseCommands::OnDeleteDatabase()
{
    const QString target = TargetFromEdits();
    if (target.isEmpty()) {
        return;
    }
    kroDB::CDbContext& db = m_frame.Context().db;
    const std::wstring connect = target.toStdWString();
    QString result;
    CWaitCursor wait;
    if (!kroDB::CheckDatabase(db, connect)) {
        result = QStringLiteral("Database is not found!");
    } else {
        result = kroDB::DropDatabase(db, connect)
                     ? QStringLiteral("Database was deleted successfully!")
                     : QStringLiteral("Database is not deleted!");
    }
    wait.Restore();
    ShowResult(result);
}
