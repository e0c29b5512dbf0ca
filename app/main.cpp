// The desktop program: the application object around the Qt event loop.
#include "app/AppIcons.h"
#include "app/CMainFrame.h"
#include "app/CQtDialogs.h"
#include "app/CTerminationSignal.h"
#include "app/CVeltrixApp.h"
#include "app/settings/CQSettingsProfile.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    QApplication application(argc, argv);
    // The window manager knows the main window by this class name.
    QApplication::setApplicationName(QStringLiteral("VeltrixClass"));
    QApplication::setApplicationDisplayName(QStringLiteral("Veltrix"));
    QApplication::setApplicationVersion(QStringLiteral(VX_VERSION));
    QApplication::setOrganizationName(QStringLiteral("Quendal"));
    QApplication::setDesktopFileName(QStringLiteral("veltrix"));
    QApplication::setWindowIcon(AppIcon());

    CQSettingsProfile profile;
    CQtDialogs dialogs;
    CVeltrixAppOptions options;
    options.shareFolder = VX_SHARE_DIR;
    options.profile = &profile;
    options.dialogs = &dialogs;
    int code = 0;
    {
        CVeltrixApp app(options);
        if (!app.InitInstance()) {
            return 1;
        }
        if (app.Running()) {
            // Logging out or a kill closes the window as Exit does, so the
            // watched files are finished and the log gets its last line.
            CTerminationSignal termination([&app] {
                if (CMainFrame* frame = app.MainFrame()) {
                    frame->close();
                }
            });
            code = QApplication::exec();
        }
        (void)app.ExitInstance();
    }
    return code;
}
