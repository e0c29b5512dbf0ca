#include "app/commands/CImportCommands.h"

#include "app/CImportDialog.h"
#include "app/CMainFrame.h"
#include "app/CProgramSwitches.h"
#include "app/CRibbonBar.h"
#include "app/CVeltrixView.h"
#include "app/IDialogs.h"
#include "app/commands/CCommandDispatcher.h"
#include "app/commands/CWaitCursor.h"
#include "app/commands/CommandIds.h"
#include "app/core/CApplicationCore.h"
#include "app/core/CDatabaseSettings.h"
#include "foundation/IProfile.h"
#include "foundation/WideText.h"

#include <QComboBox>
#include <QFileInfo>
#include <QLineEdit>

namespace {

const wchar_t* FolderKey(int id)
{
    return id == vxcmd::kImportFolder2 ? L"ImpotrFolderPath2" : L"ImpotrFolderPath";
}

}  // namespace

CImportCommands::CImportCommands(CMainFrame& frame, CCommandDispatcher& dispatcher)
    : m_frame(frame)
{
    dispatcher.Add(vxcmd::kImportFiles, [this] { OnImportFiles(); });
    dispatcher.Add(vxcmd::kImportFolder1, [this] { OnImportFolder(vxcmd::kImportFolder1); });
    dispatcher.Add(vxcmd::kImportFolder2, [this] { OnImportFolder(vxcmd::kImportFolder2); });
}

CImportCommands::~CImportCommands()
{
    CancelAll();
    m_running.clear();
}

bool CImportCommands::PrepareDatabase()
{
    CMainFrameContext& context = m_frame.Context();
    // The core says "DataBase does not exist!" when it is missing.
    return context.core != nullptr &&
           context.core->UseDatabase(ReadDatabaseSettings(context.profile));
}

CManualImportOptions CImportCommands::Options(const std::wstring& room)
{
    CMainFrameContext& context = m_frame.Context();
    const int format = context.switches.handHistoryFormat;
    // A stored format of no meaning stores no text.
    CManualImportOptions options = context.core->ImportOptions(
        ReadDatabaseSettings(context.profile), format >= 0 && format <= 3 ? format : 0);
    options.room = room;
    options.homeRoom = m_frame.Ribbon()->Combo(vxcmd::kHomeRoomList)->currentIndex();
    options.nick = m_frame.Ribbon()->Edit(vxcmd::kNickEdit)->text().toStdWString();
    options.autoAlias = context.switches.autoAlias != 0;
    options.aliasId = context.switches.aliasId;
    return options;
}

void CImportCommands::OnImportFiles()
{
    CMainFrameContext& context = m_frame.Context();
    {
        CWaitCursor wait;
        if (!PrepareDatabase()) {
            return;
        }
    }
    const QString path =
        context.dialogs.OpenFile(&m_frame, QStringLiteral("Select Hand History File"), QString());
    if (path.isEmpty()) {
        return;
    }
    const int homePosition = m_frame.Ribbon()->Combo(vxcmd::kHomeRoomList)->currentIndex();
    // PokerStars writes play-money tables into files of their own.
    if (homePosition == 0 && QFileInfo(path).fileName().indexOf(QStringLiteral("Play Money")) > 0) {
        context.dialogs.Message(&m_frame, QStringLiteral("Play Money is not supported!"));
        return;
    }
    CManualImportOptions options =
        Options(m_frame.Ribbon()->Combo(vxcmd::kImportRoomList)->currentText().toStdWString());
    options.paths.push_back(path.toStdString());
    Start(std::move(options), QStringLiteral("Import Files"));
}

void CImportCommands::OnImportFolder(int id)
{
    CMainFrameContext& context = m_frame.Context();
    const std::wstring room =
        m_frame.Ribbon()->Combo(vxcmd::kImportRoomList)->currentText().toStdWString();
    const std::wstring section = L"Room_" + room;
    const std::wstring last = context.profile.GetProfileString(section, FolderKey(id), L"");
    const QString folder = context.dialogs.ChooseFolder(
        &m_frame, QStringLiteral("Select hand history folder"), QString::fromStdWString(last));
    if (folder.isEmpty()) {
        return;
    }
    context.profile.WriteProfileString(section, FolderKey(id), folder.toStdWString());
    if (id == vxcmd::kImportFolder1) {
        context.switches.lastImportFolder = folder.toStdWString();
    }
    {
        CWaitCursor wait;
        if (!PrepareDatabase()) {
            return;
        }
    }
    CManualImportOptions options = Options(room);
    options.paths.push_back(folder.toStdString());
    Start(std::move(options), id == vxcmd::kImportFolder2 ? QStringLiteral("Import Folder 2")
                                                          : QStringLiteral("Import Folder 1"));
}

void CImportCommands::Start(CManualImportOptions options, const QString& title)
{
    CMainFrameContext& context = m_frame.Context();
    auto* dialog = new CImportDialog(&m_frame, title, QString::fromStdWString(options.room));
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    m_lastDialog = dialog;
    QPointer<CImportDialog> guard(dialog);
    IManualImport::CCallbacks callbacks;
    callbacks.progress = [this, guard](const CManualImportProgress& progress) {
        QMetaObject::invokeMethod(
            &m_receiver,
            [guard, progress] {
                if (guard) {
                    guard->SetProgress(progress);
                }
            },
            Qt::QueuedConnection);
    };
    callbacks.done = [this, guard](const CManualImportResult& result) {
        QMetaObject::invokeMethod(
            &m_receiver,
            [this, guard, result] {
                if (guard) {
                    guard->SetFinished(result);
                }
                // The alias the import found or made is the one of the next.
                if (result.aliasId != 0) {
                    m_frame.Context().switches.aliasId = result.aliasId;
                }
                // The players of the new hands show up in the open list.
                if (CVeltrixView* view = m_frame.ActivePlayerList()) {
                    view->Refresh();
                }
            },
            Qt::QueuedConnection);
    };
    // Finished imports are let go before a new one is kept.
    std::erase_if(m_running, [](const CRunning& r) { return r.task->Finished(); });
    CRunning running;
    running.task = context.import.Start(std::move(options), std::move(callbacks));
    running.dialog = dialog;
    QObject::connect(dialog, &CImportDialog::Cancel, &m_receiver, [this, dialog] {
        for (CRunning& r : m_running) {
            if (r.dialog == dialog) {
                r.task->Cancel();
            }
        }
    });
    m_running.push_back(std::move(running));
    dialog->show();
}

void CImportCommands::CancelAll()
{
    for (CRunning& running : m_running) {
        running.task->Cancel();
    }
}

CImportDialog* CImportCommands::LastDialog() const
{
    return m_lastDialog.data();
}

bool CImportCommands::Running() const
{
    for (const CRunning& running : m_running) {
        if (!running.task->Finished()) {
            return true;
        }
    }
    return false;
}
