// The real dialogs: Qt message boxes, file and folder dialogs and the About box.
#pragma once

#include "app/IDialogs.h"

class CQtDialogs : public IDialogs
{
public:
    void Message(QWidget* parent, const QString& text) override;
    void TopmostMessage(QWidget* parent, const QString& text) override;
    QString OpenFile(QWidget* parent, const QString& title, const QString& folder) override;
    QString ChooseFolder(QWidget* parent, const QString& title, const QString& folder) override;
    QString SaveFile(QWidget* parent,
                     const QString& title,
                     const QString& suggested,
                     const QString& filter) override;
    void About(QWidget* parent) override;
    int Exec(QDialog& dialog) override;
};
