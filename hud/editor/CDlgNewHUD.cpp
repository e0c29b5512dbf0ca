#include "hud/editor/CDlgNewHUD.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

CDlgNewHUD::CDlgNewHUD(const QString& name, QWidget* parent)
    : QDialog(parent)
{
    setWindowTitle(tr("Add new HUD"));
    auto* layout = new QVBoxLayout(this);
    // The label's first letter is the Cyrillic capital Ie, as the program has
    // always shown it.
    layout->addWidget(new QLabel(QStringLiteral("\u0415nter the name:"), this));
    m_edit = new QLineEdit(name, this);
    m_edit->setObjectName(QStringLiteral("name"));
    m_edit->setMaxLength(255);
    m_edit->setMinimumWidth(240);
    layout->addWidget(m_edit);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
}

QString CDlgNewHUD::Name() const
{
    return m_edit->text().trimmed();
}
