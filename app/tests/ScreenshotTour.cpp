// Takes the README's screenshots: starts the desktop program on the current
// display (Xvfb) with the database named on the command line, and saves the
// main window with the Home tab and the player list, the import dialog at
// work and cancelled, and the database commands with their message. Not a test; run by hand:
//   veltrix_screenshots OUTPUT_FOLDER PORT LIST_DB IMPORT_DB IMPORT_FOLDER
#include "app/AppIcons.h"
#include "app/CImportDialog.h"
#include "app/CMainFrame.h"
#include "app/COutputWnd.h"
#include "app/CQtDialogs.h"
#include "app/CRibbonBar.h"
#include "app/CVeltrixApp.h"
#include "app/CVeltrixView.h"
#include "app/commands/CommandIds.h"
#include "app/widgets/CFListCtrl.h"
#include "foundation/CMemoryProfile.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QHeaderView>
#include <QLineEdit>
#include <QMessageBox>
#include <QScreen>
#include <QThread>

#include <deque>
#include <iostream>

namespace {

void Pump(int ms)
{
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < ms) {
        QApplication::processEvents(QEventLoop::AllEvents, 20);
        QThread::msleep(10);
    }
}

void Shoot(QWidget* window, const QString& path)
{
    Pump(400);
    const QRect r = window->frameGeometry();
    QScreen* screen = QApplication::primaryScreen();
    const QPixmap shot = screen->grabWindow(0, r.x(), r.y(), r.width(), r.height());
    std::cout << (shot.save(path) ? "saved " : "could not save ") << path.toStdString() << "\n";
}

// The real dialogs, except that a message stays open until the picture is
// taken and the folder dialog answers with the tour's folder.
class CTourDialogs : public CQtDialogs
{
public:
    void Message(QWidget* parent, const QString& text) override
    {
        auto* box = new QMessageBox(QMessageBox::NoIcon, QStringLiteral("Veltrix"), text,
                                    QMessageBox::Ok, parent);
        box->setIconPixmap(AppIcon().pixmap(48, 48));
        box->setAttribute(Qt::WA_DeleteOnClose);
        box->show();
        if (onMessage) {
            onMessage(box);
        }
        box->close();
    }
    QString ChooseFolder(QWidget*, const QString&, const QString&) override
    {
        if (folders.empty()) {
            return QString();
        }
        const QString folder = folders.front();
        folders.pop_front();
        return folder;
    }

    std::function<void(QMessageBox*)> onMessage;
    std::deque<QString> folders;
};

}  // namespace

int main(int argc, char* argv[])
{
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("VeltrixClass"));
    QApplication::setApplicationDisplayName(QStringLiteral("Veltrix"));
    QApplication::setWindowIcon(AppIcon());
    if (argc != 6) {
        std::cerr << "usage: veltrix_screenshots OUTPUT_FOLDER PORT LIST_DB IMPORT_DB FOLDER\n";
        return 2;
    }
    const QString out = QString::fromLocal8Bit(argv[1]);
    const std::wstring port = QString::fromLocal8Bit(argv[2]).toStdWString();
    const std::wstring listDb = QString::fromLocal8Bit(argv[3]).toStdWString();
    const QString importDb = QString::fromLocal8Bit(argv[4]);
    CMemoryProfile profile;
    profile.WriteProfileString(L"Base", L"PortDB", port);
    profile.WriteProfileString(L"Base", L"NameDB", listDb);
    profile.WriteProfileString(L"Room_PokerStars", L"Nick", L"Hero");
    profile.WriteProfileInt(L"Base", L"HH", 3);
    profile.WriteProfileInt(L"Base", L"Archive", 1);
    profile.WriteProfileInt(L"PlayerList", L"Period", 0);
    // The session tracker on, over the output pane at the bottom right.
    profile.WriteProfileInt(L"RoraRevirDlg", L"CheckDlg", 1);
    const int widths[] = {170, 70, 60, 60, 60, 60, 60, 60, 60, 60,
                          60,  60, 60, 60, 60, 60, 60, 60, 80, 70};
    for (int c = 0; c < 20; ++c) {
        profile.WriteProfileInt(
            L"Column Settings",
            QStringLiteral("c%1").arg(c, 2, 10, QLatin1Char('0')).toStdWString(), widths[c]);
    }
    CTourDialogs dialogs;
    dialogs.folders.push_back(QString::fromLocal8Bit(argv[5]));
    CVeltrixAppOptions options;
    options.shareFolder = VX_SHARE_DIR;
    options.profile = &profile;
    options.dialogs = &dialogs;
    CVeltrixApp app(options);
    if (!app.InitInstance()) {
        return 1;
    }
    CMainFrame* frame = app.MainFrame();
    frame->Output()->AppendDebugLine(QStringLiteral("HERO:"));
    frame->Output()->AppendDebugLine(QStringLiteral(
        "Hands = 212 is imported from file = HH20240312 Halley III - $0.25-$0.50.txt"));
    if (ITrackerWindow* tracker = frame->Tracker()) {
        const QRect r = frame->geometry();
        tracker->Widget()->move(r.right() - tracker->Widget()->width() - 30,
                                r.bottom() - tracker->Widget()->height() - 40);
    }
    CVeltrixView* view = frame->ActivePlayerList();
    QElapsedTimer wait;
    wait.start();
    while (view->Loading() || view->Model() == nullptr || wait.elapsed() < 1500) {
        Pump(100);
        if (wait.elapsed() > 30000) {
            break;
        }
    }
    view->List()->sortByColumn(1, Qt::DescendingOrder);
    Shoot(frame, out + QStringLiteral("/main-window.png"));

    // The database commands: create the import database, say so.
    frame->Ribbon()->SetActiveCategory(QStringLiteral("Database"));
    frame->Ribbon()->Edit(vxcmd::kDbName)->setText(importDb);
    dialogs.onMessage = [&](QMessageBox* box) {
        Pump(300);
        box->move(frame->geometry().center() - box->rect().center());
        Shoot(frame, out + QStringLiteral("/database-commands.png"));
    };
    (void)frame->Dispatch(vxcmd::kCreateDatabase);
    dialogs.onMessage = nullptr;
    profile.WriteProfileString(L"Base", L"NameDB", importDb.toStdWString());

    // A folder import at work.
    frame->Ribbon()->SetActiveCategory(QStringLiteral("Hand Importing"));
    (void)frame->Dispatch(vxcmd::kImportFolder1);
    CImportDialog* dialog = frame->findChild<CImportDialog*>();
    if (dialog != nullptr) {
        wait.restart();
        while (!dialog->IsFinished() && dialog->CountText().toInt() < 400 &&
               wait.elapsed() < 60000) {
            Pump(100);
        }
        dialog->move(frame->geometry().center() - dialog->rect().center());
        Shoot(frame, out + QStringLiteral("/import-dialog.png"));
        emit dialog->Cancel();
        wait.restart();
        while (!dialog->IsFinished() && wait.elapsed() < 120000) {
            Pump(100);
        }
        // The cancelled import with its totals.
        dialog->adjustSize();
        dialog->move(frame->geometry().center() - dialog->rect().center());
        Shoot(frame, out + QStringLiteral("/import-cancelled.png"));
    }
    frame->close();
    (void)app.ExitInstance();
    return 0;
}
