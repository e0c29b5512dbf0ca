// The dialogs and message boxes of the desktop program behind one seam, so that
// tests can answer them and read what was shown. Main thread only.
#pragma once

#include <QString>

class QDialog;
class QWidget;

class IDialogs
{
public:
    virtual ~IDialogs() = default;

    // A message box with an OK button; returns when it is closed.
    virtual void Message(QWidget* parent, const QString& text) = 0;
    // The same, staying above every other window.
    virtual void TopmostMessage(QWidget* parent, const QString& text) = 0;
    // One existing file; empty when the user cancels.
    virtual QString OpenFile(QWidget* parent, const QString& title, const QString& folder) = 0;
    // One existing folder; empty when the user cancels.
    virtual QString ChooseFolder(QWidget* parent, const QString& title, const QString& folder) = 0;
    // A file to write; empty when the user cancels.
    virtual QString SaveFile(QWidget* parent,
                             const QString& title,
                             const QString& suggested,
                             const QString& filter) = 0;
    // The modal About box.
    virtual void About(QWidget* parent) = 0;
    // Runs `dialog` modally; its result code.
    virtual int Exec(QDialog& dialog) = 0;
};
