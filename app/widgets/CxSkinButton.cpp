#include "app/widgets/CxSkinButton.h"

#include <QEnterEvent>
#include <QPainter>
#include <QRegion>

CxSkinButton::CxSkinButton(QWidget* parent)
    : QAbstractButton(parent)
{
    setFocusPolicy(Qt::TabFocus);
    setAttribute(Qt::WA_Hover);
}

void CxSkinButton::SetSkin(const QPixmap& normal,
                           const QPixmap& pressed,
                           const QPixmap& hover,
                           const QPixmap& disabled,
                           const QBitmap& mask)
{
    m_normal = normal;
    m_pressed = pressed.isNull() ? normal : pressed;
    m_hover = hover.isNull() ? normal : hover;
    m_disabled = disabled.isNull() ? normal : disabled;
    m_mask = mask;
    if (!normal.isNull()) {
        resize(normal.deviceIndependentSize().toSize());
    }
    UpdateMask();
    updateGeometry();
    update();
}

const QPixmap& CxSkinButton::CurrentImage() const
{
    if (!isEnabled()) {
        return m_disabled;
    }
    if (isDown() || isChecked()) {
        return m_pressed;
    }
    if (m_hovered) {
        return m_hover;
    }
    return m_normal;
}

QSize CxSkinButton::sizeHint() const
{
    if (m_normal.isNull()) {
        return QSize(24, 24);
    }
    return m_normal.deviceIndependentSize().toSize();
}

void CxSkinButton::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    const QPixmap& image = CurrentImage();
    if (!image.isNull()) {
        painter.drawPixmap(rect(), image);
    }
    if (hasFocus()) {
        QPen pen(palette().color(QPalette::Highlight));
        pen.setStyle(Qt::DotLine);
        painter.setPen(pen);
        painter.drawRect(rect().adjusted(0, 0, -1, -1));
    }
}

bool CxSkinButton::hitButton(const QPoint& pos) const
{
    if (!rect().contains(pos)) {
        return false;
    }
    if (m_mask.isNull()) {
        return true;
    }
    return ShapeAtSize().contains(pos);
}

void CxSkinButton::resizeEvent(QResizeEvent* event)
{
    QAbstractButton::resizeEvent(event);
    UpdateMask();
}

void CxSkinButton::enterEvent(QEnterEvent* event)
{
    m_hovered = true;
    update();
    QAbstractButton::enterEvent(event);
}

void CxSkinButton::leaveEvent(QEvent* event)
{
    m_hovered = false;
    update();
    QAbstractButton::leaveEvent(event);
}

QRegion CxSkinButton::ShapeAtSize() const
{
    if (m_mask.size() == size()) {
        return QRegion(m_mask);
    }
    return QRegion(QBitmap::fromPixmap(m_mask.scaled(size())));
}

void CxSkinButton::UpdateMask()
{
    if (m_mask.isNull() || size().isEmpty()) {
        clearMask();
        return;
    }
    setMask(ShapeAtSize());
}
