#include "tracker/CColorPopupButton.h"

#include <QColorDialog>
#include <QGridLayout>
#include <QMenu>
#include <QPainter>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>
#include <QWidgetAction>

namespace {

constexpr int kColumns = 5;

QPixmap Swatch(const QColor& color, const QSize& size)
{
    QPixmap pixmap(size);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setPen(QColor(90, 90, 90));
    p.setBrush(color);
    p.drawRect(QRect(QPoint(0, 0), size - QSize(1, 1)));
    return pixmap;
}

}  // namespace

CColorPopupButton::CColorPopupButton(const QColor& automatic, QWidget* parent)
    : QToolButton(parent)
    , m_automatic(automatic)
    , m_color(automatic)
{
    setText(tr("Color"));
    setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    setPopupMode(QToolButton::InstantPopup);
    setAutoRaise(false);

    m_popup = new QMenu(this);
    auto* panel = new QWidget(m_popup);
    auto* column = new QVBoxLayout(panel);
    column->setContentsMargins(6, 6, 6, 6);
    column->setSpacing(6);

    auto* automaticButton = new QPushButton(tr("Default"), panel);
    automaticButton->setObjectName(QStringLiteral("automaticColor"));
    automaticButton->setIcon(QIcon(Swatch(m_automatic, QSize(14, 14))));
    automaticButton->setAutoDefault(false);
    connect(automaticButton, &QPushButton::clicked, this, &CColorPopupButton::ChooseAutomatic);
    column->addWidget(automaticButton);

    auto* grid = new QGridLayout();
    grid->setSpacing(3);
    const auto& colors = PaletteColors();
    for (int i = 0; i < colors.size(); ++i) {
        auto* swatch = new QToolButton(panel);
        swatch->setIcon(QIcon(Swatch(colors[i], QSize(18, 18))));
        swatch->setIconSize(QSize(18, 18));
        swatch->setAutoRaise(true);
        swatch->setToolTip(colors[i].name());
        const QColor color = colors[i];
        connect(swatch, &QToolButton::clicked, this, [this, color] { Choose(color); });
        grid->addWidget(swatch, i / kColumns, i % kColumns);
    }
    column->addLayout(grid);

    auto* other = new QPushButton(tr("Other..."), panel);
    other->setObjectName(QStringLiteral("otherColor"));
    other->setAutoDefault(false);
    connect(other, &QPushButton::clicked, this, &CColorPopupButton::ChooseOther);
    column->addWidget(other);

    auto* action = new QWidgetAction(m_popup);
    action->setDefaultWidget(panel);
    m_popup->addAction(action);
    setMenu(m_popup);
    UpdateIcon();
}

const QList<QColor>& CColorPopupButton::PaletteColors()
{
    // Dark table felts and backgrounds first (what a floating window over a
    // poker table needs), then clear colours for text.
    static const QList<QColor> colors = {
        QColor(61, 50, 55),    QColor(0, 0, 0),     QColor(32, 32, 40),    QColor(20, 60, 35),
        QColor(25, 40, 75),    QColor(70, 20, 25),  QColor(60, 60, 60),    QColor(40, 80, 80),
        QColor(90, 60, 20),    QColor(55, 30, 80),  QColor(255, 255, 255), QColor(192, 192, 192),
        QColor(128, 128, 128), QColor(255, 192, 0), QColor(255, 255, 0),   QColor(0, 195, 19),
        QColor(0, 255, 128),   QColor(0, 200, 255), QColor(80, 140, 255),  QColor(255, 128, 192),
        QColor(255, 0, 0),     QColor(255, 128, 0), QColor(160, 255, 0),   QColor(0, 128, 255),
        QColor(200, 120, 255), QColor(128, 0, 0),   QColor(128, 64, 0),    QColor(0, 128, 0),
        QColor(0, 0, 128),     QColor(128, 0, 128),
    };
    return colors;
}

void CColorPopupButton::SetColor(const QColor& color)
{
    m_color = color;
    UpdateIcon();
}

void CColorPopupButton::ChooseAutomatic()
{
    m_popup->close();
    SetColor(m_automatic);
    emit ColorChosen(m_automatic, true);
}

void CColorPopupButton::Choose(const QColor& color)
{
    m_popup->close();
    SetColor(color);
    emit ColorChosen(color, false);
}

void CColorPopupButton::ChooseOther()
{
    m_popup->close();
    const QColor color = QColorDialog::getColor(m_color, window(), tr("Other colour"));
    if (color.isValid()) {
        Choose(color);
    }
}

void CColorPopupButton::UpdateIcon()
{
    setIcon(QIcon(Swatch(m_color, QSize(16, 16))));
}
