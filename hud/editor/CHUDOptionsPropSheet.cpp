#include "hud/editor/CHUDOptionsPropSheet.h"

#include "hud/editor/CPageHUDDisp.h"

#include <QDialogButtonBox>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

CHUDOptionsPropSheet::CHUDOptionsPropSheet(IHudLayoutStore& store,
                                           std::vector<std::wstring> statNames,
                                           const std::wstring& inUse,
                                           std::function<void(const std::wstring&)> setInUse,
                                           QWidget* parent)
    : QDialog(parent)
    , m_setInUse(std::move(setInUse))
{
    setObjectName(QStringLiteral("HUDOptionsPropSheet"));
    setWindowTitle(tr("HUD Options"));
    auto* layout = new QVBoxLayout(this);
    auto* tabs = new QTabWidget(this);
    m_page = new CPageHUDDisp(store, std::move(statNames), inUse, tabs);
    tabs->addTab(m_page, tr("HUD"));
    layout->addWidget(tabs);
    auto* buttons = new QDialogButtonBox(
        QDialogButtonBox::Ok | QDialogButtonBox::Cancel | QDialogButtonBox::Apply, this);
    m_apply = buttons->button(QDialogButtonBox::Apply);
    m_apply->setObjectName(QStringLiteral("apply"));
    m_apply->setEnabled(true);
    for (QAbstractButton* b : buttons->buttons()) {
        if (auto* push = qobject_cast<QPushButton*>(b)) {
            push->setAutoDefault(false);
        }
    }
    connect(m_apply, &QPushButton::clicked, this, &CHUDOptionsPropSheet::Apply);
    connect(buttons, &QDialogButtonBox::accepted, this, &CHUDOptionsPropSheet::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
}

void CHUDOptionsPropSheet::Apply()
{
    const std::wstring name = m_page->SelectedLayout();
    if (!name.empty() && m_setInUse) {
        m_setInUse(name);
    }
}

void CHUDOptionsPropSheet::accept()
{
    Apply();
    QDialog::accept();
}
