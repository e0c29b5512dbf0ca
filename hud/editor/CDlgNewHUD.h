// "Add new HUD": asks for a layout name. GUI thread only; modal.
#pragma once

#include <QDialog>

class QLineEdit;

class CDlgNewHUD : public QDialog
{
    Q_OBJECT

public:
    // Starts with `name` in the edit box.
    explicit CDlgNewHUD(const QString& name, QWidget* parent = nullptr);

    // The name as typed, blanks at both ends removed.
    QString Name() const;
    QLineEdit* Edit() const { return m_edit; }

private:
    QLineEdit* m_edit = nullptr;
};
