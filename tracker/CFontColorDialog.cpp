#include "tracker/CFontColorDialog.h"

#include "tracker/CColorPopupButton.h"

#include <QDialogButtonBox>
#include <QFontDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

CFontColorDialog::CFontColorDialog(const QFont& font,
                                   const QColor& color,
                                   const QColor& background,
                                   QWidget* parent)
    : QDialog(parent)
    , m_background(background)
{
    setWindowTitle(tr("Font"));
    auto* layout = new QVBoxLayout(this);

    // The font dialog without its own buttons, inside this one.
    m_fonts = new QFontDialog(font, this);
    m_fonts->setOptions(QFontDialog::NoButtons | QFontDialog::DontUseNativeDialog);
    m_fonts->setWindowFlags(Qt::Widget);
    m_fonts->setCurrentFont(font);
    layout->addWidget(m_fonts);

    auto* row = new QHBoxLayout();
    row->addWidget(new QLabel(tr("Color:"), this));
    m_color = new CColorPopupButton(color, this);
    m_color->setObjectName(QStringLiteral("fontColor"));
    m_color->SetColor(color);
    row->addWidget(m_color);
    m_sample = new QLabel(tr("13.38"), this);
    m_sample->setAutoFillBackground(true);
    m_sample->setMinimumHeight(40);
    m_sample->setAlignment(Qt::AlignCenter);
    row->addWidget(m_sample, 1);
    layout->addLayout(row);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);

    connect(m_fonts, &QFontDialog::currentFontChanged, this, &CFontColorDialog::UpdateSample);
    connect(m_color, &CColorPopupButton::ColorChosen, this, &CFontColorDialog::UpdateSample);
    UpdateSample();
}

QFont CFontColorDialog::SelectedFont() const
{
    return m_fonts->currentFont();
}

QColor CFontColorDialog::SelectedColor() const
{
    return m_color->Color();
}

void CFontColorDialog::SetSelectedFont(const QFont& font)
{
    m_fonts->setCurrentFont(font);
    UpdateSample();
}

void CFontColorDialog::SetSelectedColor(const QColor& color)
{
    m_color->SetColor(color);
    UpdateSample();
}

void CFontColorDialog::UpdateSample()
{
    QPalette p = m_sample->palette();
    p.setColor(QPalette::Window, m_background);
    p.setColor(QPalette::WindowText, m_color->Color());
    m_sample->setPalette(p);
    m_sample->setFont(m_fonts->currentFont());
}
