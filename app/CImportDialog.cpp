#include "app/CImportDialog.h"

#include <QDialogButtonBox>
#include <QFileInfo>
#include <QFormLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

CImportDialog::CImportDialog(QWidget* parent, const QString& title, const QString& room)
    : QDialog(parent)
    , m_files(new QLabel(this))
    , m_file(new QLabel(this))
    , m_count(new QLabel(QStringLiteral("0"), this))
    , m_speed(new QLabel(QStringLiteral("-"), this))
    , m_totals(new QLabel(this))
    , m_bar(new QProgressBar(this))
    , m_button(new QPushButton(QStringLiteral("Cancel"), this))
{
    setObjectName(QStringLiteral("ImportDialog"));
    setWindowTitle(title);
    setMinimumWidth(520);
    auto* layout = new QVBoxLayout(this);
    auto* heading =
        new QLabel(QStringLiteral("<b>Importing %1 hands</b>").arg(room.toHtmlEscaped()), this);
    layout->addWidget(heading);
    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Files:"), m_files);
    m_file->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_file->setMinimumWidth(380);
    form->addRow(QStringLiteral("Reading:"), m_file);
    form->addRow(QStringLiteral("Hands:"), m_count);
    form->addRow(QStringLiteral("Hands per second:"), m_speed);
    layout->addLayout(form);
    m_bar->setRange(0, 0);
    m_bar->setTextVisible(true);
    layout->addWidget(m_bar);
    m_totals->setWordWrap(true);
    m_totals->hide();
    layout->addWidget(m_totals);
    auto* buttons = new QDialogButtonBox(this);
    buttons->addButton(m_button, QDialogButtonBox::RejectRole);
    layout->addWidget(buttons);
    connect(m_button, &QPushButton::clicked, this, &CImportDialog::OnButton);
}

void CImportDialog::SetProgress(const CManualImportProgress& progress)
{
    if (m_finished) {
        return;
    }
    if (progress.fileCount > 1) {
        m_bar->setRange(0, progress.fileCount);
        m_bar->setValue(progress.fileNumber - 1);
        m_bar->setFormat(QStringLiteral("%v of %m files"));
    }
    m_files->setText(QStringLiteral("%1 of %2").arg(progress.fileNumber).arg(progress.fileCount));
    const QString path = QString::fromStdString(progress.path);
    m_file->setText(QFileInfo(path).fileName());
    m_file->setToolTip(path);
    m_count->setText(QString::number(progress.handsSoFar));
    if (progress.handsPerSecond > 0) {
        m_speed->setText(QString::number(progress.handsPerSecond, 'f', 1));
    }
}

void CImportDialog::SetFinished(const CManualImportResult& result)
{
    m_finished = true;
    const int notImported = static_cast<int>(result.filesNotImported.size());
    const int done = qMax(0, result.fileCount - notImported);
    m_bar->setRange(0, qMax(1, result.fileCount));
    m_bar->setValue(result.fileCount > 0 ? done : 1);
    m_bar->setFormat(result.fileCount > 1 ? QStringLiteral("%v of %m files")
                                          : QStringLiteral("%p%"));
    const int64_t handled = result.counts.Handled();
    m_count->setText(QString::number(result.totalHands));
    m_speed->setText(result.seconds > 0 && handled > 0
                         ? QString::number(static_cast<double>(handled) / result.seconds, 'f', 1)
                         : QStringLiteral("-"));
    m_file->setText(result.stopped           ? QStringLiteral("cancelled")
                    : result.databaseMissing ? QStringLiteral("no database")
                    : result.playMoney       ? QStringLiteral("play money is not supported")
                    : result.databaseLost    ? QStringLiteral("the database went away")
                                             : QStringLiteral("done"));
    const int whole = static_cast<int>(result.seconds);
    QString totals = QStringLiteral(
                         "%1 hands from %2 files in %3 min %4 s. New hands stored: %5, already "
                         "stored: %6, left out: %7, failed: %8.")
                         .arg(result.totalHands)
                         .arg(done)
                         .arg(whole / 60)
                         .arg(whole % 60)
                         .arg(result.counts.stored)
                         .arg(result.counts.alreadyStored)
                         .arg(result.counts.skipped)
                         .arg(result.counts.rejected);
    if (result.stopped) {
        totals += QStringLiteral(" Cancelled: every hand stored before stays whole.");
    }
    if (notImported > 0) {
        totals += QStringLiteral(" %1 files not imported, or not completely (see the output pane).")
                      .arg(notImported);
    }
    m_totals->setText(totals);
    m_totals->show();
    m_button->setText(QStringLiteral("Close"));
    m_button->setEnabled(true);
}

QString CImportDialog::FileText() const
{
    return m_file->text();
}

QString CImportDialog::CountText() const
{
    return m_count->text();
}

QString CImportDialog::SpeedText() const
{
    return m_speed->text();
}

QString CImportDialog::TotalsText() const
{
    return m_totals->text();
}

void CImportDialog::reject()
{
    if (!m_finished) {
        OnButton();
        return;
    }
    QDialog::reject();
}

void CImportDialog::OnButton()
{
    if (m_finished) {
        close();
        return;
    }
    if (!m_cancelRequested) {
        m_cancelRequested = true;
        m_button->setEnabled(false);
        m_button->setText(QStringLiteral("Cancelling..."));
        emit Cancel();
    }
}
