#include "app/CQtDialogs.h"

#include "app/AppIcons.h"

#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>

namespace {

void ShowBox(QWidget* parent, const QString& text, bool topmost)
{
    QMessageBox box(QMessageBox::NoIcon, QStringLiteral("Veltrix"), text, QMessageBox::Ok, parent);
    box.setIconPixmap(AppIcon().pixmap(48, 48));
    if (topmost) {
        box.setWindowFlag(Qt::WindowStaysOnTopHint, true);
    }
    box.exec();
}

}  // namespace

void CQtDialogs::Message(QWidget* parent, const QString& text)
{
    ShowBox(parent, text, false);
}

void CQtDialogs::TopmostMessage(QWidget* parent, const QString& text)
{
    ShowBox(parent, text, true);
}

QString CQtDialogs::OpenFile(QWidget* parent, const QString& title, const QString& folder)
{
    return QFileDialog::getOpenFileName(parent, title, folder, QStringLiteral("*"));
}

QString CQtDialogs::ChooseFolder(QWidget* parent, const QString& title, const QString& folder)
{
    return QFileDialog::getExistingDirectory(parent, title, folder, QFileDialog::ShowDirsOnly);
}

QString CQtDialogs::SaveFile(QWidget* parent,
                             const QString& title,
                             const QString& suggested,
                             const QString& filter)
{
    return QFileDialog::getSaveFileName(parent, title, suggested, filter);
}

void CQtDialogs::About(QWidget* parent)
{
    QMessageBox box(parent);
    box.setWindowTitle(QStringLiteral("About Veltrix"));
    box.setIconPixmap(AppIcon().pixmap(64, 64));
    box.setText(QStringLiteral("<b>Veltrix</b> %1").arg(QApplication::applicationVersion()));
    box.setInformativeText(
        QStringLiteral("A poker tracker for Linux: hand import, live tracking,\n"
                       "player statistics and the HUD feed."));
    box.setStandardButtons(QMessageBox::Ok);
    box.exec();
}

int CQtDialogs::Exec(QDialog& dialog)
{
    return dialog.exec();
}
