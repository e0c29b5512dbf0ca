// Dialogs that tests answer: every message shown is recorded in order, and the
// file and folder dialogs return the answers queued (empty, as a cancel, when
// none is left).
#pragma once

#include "app/IDialogs.h"

#include <QDialog>
#include <QStringList>

#include <deque>
#include <functional>

class CScriptedDialogs : public IDialogs
{
public:
    void Message(QWidget*, const QString& text) override { messages.append(text); }
    void TopmostMessage(QWidget*, const QString& text) override
    {
        messages.append(text);
        topmost.append(text);
    }
    QString OpenFile(QWidget*, const QString& title, const QString&) override
    {
        titles.append(title);
        return Next(files);
    }
    QString ChooseFolder(QWidget*, const QString& title, const QString& folder) override
    {
        titles.append(title);
        startFolders.append(folder);
        return Next(folders);
    }
    QString SaveFile(QWidget*, const QString& title, const QString&, const QString&) override
    {
        titles.append(title);
        return Next(saves);
    }
    void About(QWidget*) override { ++aboutShown; }
    // Shows the dialog to `onExec` (which may work it), then closes it as a
    // cancel would.
    int Exec(QDialog& dialog) override
    {
        titles.append(dialog.windowTitle());
        if (onExec) {
            return onExec(dialog);
        }
        return QDialog::Rejected;
    }

    QStringList messages;
    QStringList topmost;
    QStringList titles;
    QStringList startFolders;
    std::deque<QString> files;
    std::deque<QString> folders;
    std::deque<QString> saves;
    int aboutShown = 0;
    std::function<int(QDialog&)> onExec;

private:
    static QString Next(std::deque<QString>& answers)
    {
        if (answers.empty()) {
            return QString();
        }
        QString answer = answers.front();
        answers.pop_front();
        return answer;
    }
};
