// The progress of one manual import: a bar over the files, the file being
// read, the hands so far and per second, and Cancel. When the import ends it
// shows the totals and its button closes it. Main thread only.
#pragma once

#include "app/IManualImport.h"

#include <QDialog>

class QLabel;
class QProgressBar;
class QPushButton;

class CImportDialog : public QDialog
{
    Q_OBJECT

public:
    CImportDialog(QWidget* parent, const QString& title, const QString& room);

    void SetProgress(const CManualImportProgress& progress);
    void SetFinished(const CManualImportResult& result);
    bool IsFinished() const { return m_finished; }
    bool CancelRequested() const { return m_cancelRequested; }

    QProgressBar* Bar() const { return m_bar; }
    QPushButton* Button() const { return m_button; }
    QString FileText() const;
    QString CountText() const;
    QString SpeedText() const;
    QString TotalsText() const;

signals:
    void Cancel();

protected:
    void reject() override;

private:
    void OnButton();

    QLabel* m_files;
    QLabel* m_file;
    QLabel* m_count;
    QLabel* m_speed;
    QLabel* m_totals;
    QProgressBar* m_bar;
    QPushButton* m_button;
    bool m_finished = false;
    bool m_cancelRequested = false;
};
