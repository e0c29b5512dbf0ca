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
#include "db/CDbContext.h"
#include "db/tables/kroAliases.h"
#include "foundation/IProfile.h"
#include "foundation/Sites.h"
#include "foundation/WideText.h"
#include "live/HistoryFileWalks.h"

#include <QComboBox>
#include <QFileInfo>
#include <QLineEdit>

#include <ctime>

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

int CImportCommands::RoomNumberOf(const std::wstring& roomText)
{
    if (roomText == L"RedStar") {
        return 4;
    }
    if (roomText == L"iPoker") {
        return 9;
    }
    return 1;
}

std::vector<std::string> CImportCommands::CollectFiles(const std::wstring& folder, int roomNumber)
{
    std::vector<std::string> files;
    if (roomNumber == 4 || roomNumber == 9) {
        files.push_back(ToUtf8(JoinPath(folder, L"GameHistory.dat")));
        return files;
    }
    // A day ahead, so that every file qualifies by its time.
    const int64_t limit = static_cast<int64_t>(std::time(nullptr)) + 86400;
    std::vector<std::wstring> found;
    SelectFilesToImport(folder, limit, std::wstring(), roomNumber, true, found);
    for (const std::wstring& path : found) {
        files.push_back(ToUtf8(path));
    }
    return files;
}

bool CImportCommands::PrepareDatabase()
{
    CMainFrameContext& context = m_frame.Context();
    // The core says "DataBase does not exist!" when it is missing.
    return context.core != nullptr &&
           context.core->UseDatabase(ReadDatabaseSettings(context.profile));
}

int32_t CImportCommands::AliasId()
{
    CMainFrameContext& context = m_frame.Context();
    const std::wstring nick = m_frame.Ribbon()->Edit(vxcmd::kNickEdit)->text().toStdWString();
    if (context.switches.autoAlias != 0 && !nick.empty()) {
        kroDB::kroAliases::data alias(context.db);
        alias.name = nick;
        if (alias.Load() || alias.Insert()) {
            context.switches.aliasId = alias.id;
        }
    }
    return context.switches.aliasId;
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
    CImportJob job;
    job.files.push_back(path.toStdString());
    job.singleFile = true;
    job.roomText = m_frame.Ribbon()->Combo(vxcmd::kImportRoomList)->currentText().toStdWString();
    job.roomNumber = RoomNumberOf(job.roomText);
    job.siteNumber = SiteCodeFromRoomName(job.roomText, context.definitions);
    job.homeRoomPosition = homePosition;
    job.aliasId = AliasId();
    Start(std::move(job), QStringLiteral("Import Files"));
}

void CImportCommands::OnImportFolder(int id)
{
    CMainFrameContext& context = m_frame.Context();
    const std::wstring room =
        m_frame.Ribbon()->Combo(vxcmd::kImportRoomList)->currentText().toStdWString();
    const int roomNumber = RoomNumberOf(room);
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
    CImportJob job;
    {
        CWaitCursor wait;
        job.files = CollectFiles(folder.toStdWString(), roomNumber);
        if (!PrepareDatabase()) {
            return;
        }
    }
    job.roomNumber = roomNumber;
    job.roomText = room;
    job.aliasId = AliasId();
    Start(std::move(job), id == vxcmd::kImportFolder2 ? QStringLiteral("Import Folder 2")
                                                      : QStringLiteral("Import Folder 1"));
}

void CImportCommands::Start(CImportJob job, const QString& title)
{
    CMainFrameContext& context = m_frame.Context();
    const int format = context.switches.handHistoryFormat;
    // A stored format of no meaning stores no text.
    job.parse = context.core->ParseSettings(format >= 0 && format <= 3 ? format : 0);
    auto* dialog = new CImportDialog(&m_frame, title, QString::fromStdWString(job.roomText));
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    m_lastDialog = dialog;
    QPointer<CImportDialog> guard(dialog);
    IManualImport::CCallbacks callbacks;
    callbacks.progress = [this, guard](const CImportJobProgress& progress) {
        QMetaObject::invokeMethod(
            &m_receiver,
            [guard, progress] {
                if (guard) {
                    guard->SetProgress(progress);
                }
            },
            Qt::QueuedConnection);
    };
    callbacks.done = [this, guard](const CImportJobResult& result) {
        QMetaObject::invokeMethod(
            &m_receiver,
            [this, guard, result] {
                if (guard) {
                    guard->SetFinished(result);
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
    running.task = context.import.Start(std::move(job), std::move(callbacks));
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
