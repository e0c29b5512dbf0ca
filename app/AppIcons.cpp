#include "app/AppIcons.h"

#include "app/commands/CommandIds.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QPolygonF>
#include <QtMath>

#include <functional>

namespace {

using Painter = std::function<void(QPainter&, qreal)>;

QIcon Draw(const Painter& paint)
{
    QIcon icon;
    for (const int size : {16, 24, 32, 48, 64, 128, 256}) {
        QPixmap pixmap(size, size);
        pixmap.fill(Qt::transparent);
        QPainter p(&pixmap);
        p.setRenderHint(QPainter::Antialiasing);
        paint(p, size);
        icon.addPixmap(pixmap);
    }
    return icon;
}

void DrawChip(QPainter& p, qreal s)
{
    const QPointF c(s / 2, s / 2);
    const qreal r = s * 0.47;
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x0b, 0x5d, 0x3b));
    p.drawEllipse(c, r, r);
    // The chip's edge marks.
    p.setBrush(QColor(0xf4, 0xf1, 0xe8));
    for (int i = 0; i < 8; ++i) {
        p.save();
        p.translate(c);
        p.rotate(i * 45.0);
        p.drawRect(QRectF(-r * 0.12, -r, r * 0.24, r * 0.26));
        p.restore();
    }
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(0xe0, 0xb0, 0x3c), qMax<qreal>(1.0, s * 0.035)));
    p.drawEllipse(c, r * 0.68, r * 0.68);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x10, 0x7a, 0x4e));
    p.drawEllipse(c, r * 0.62, r * 0.62);
    // The "V".
    QPainterPath v;
    v.moveTo(c.x() - r * 0.40, c.y() - r * 0.36);
    v.lineTo(c.x() - r * 0.18, c.y() - r * 0.36);
    v.lineTo(c.x(), c.y() + r * 0.14);
    v.lineTo(c.x() + r * 0.18, c.y() - r * 0.36);
    v.lineTo(c.x() + r * 0.40, c.y() - r * 0.36);
    v.lineTo(c.x() + r * 0.10, c.y() + r * 0.42);
    v.lineTo(c.x() - r * 0.10, c.y() + r * 0.42);
    v.closeSubpath();
    p.setBrush(QColor(0xf4, 0xf1, 0xe8));
    p.drawPath(v);
}

void DrawRound(QPainter& p, qreal s, const QColor& color)
{
    QRadialGradient g(QPointF(s * 0.4, s * 0.35), s * 0.6);
    g.setColorAt(0, color.lighter(140));
    g.setColorAt(1, color.darker(120));
    p.setPen(QPen(color.darker(160), qMax<qreal>(1.0, s * 0.04)));
    p.setBrush(g);
    p.drawEllipse(QRectF(s * 0.06, s * 0.06, s * 0.88, s * 0.88));
}

void DrawCylinder(QPainter& p, qreal s, const QColor& color)
{
    const QRectF body(s * 0.18, s * 0.2, s * 0.64, s * 0.62);
    const qreal cap = s * 0.18;
    p.setPen(QPen(color.darker(170), qMax<qreal>(1.0, s * 0.035)));
    p.setBrush(color);
    QPainterPath path;
    path.moveTo(body.left(), body.top() + cap / 2);
    path.lineTo(body.left(), body.bottom() - cap / 2);
    path.arcTo(QRectF(body.left(), body.bottom() - cap, body.width(), cap), 180, 180);
    path.lineTo(body.right(), body.top() + cap / 2);
    path.arcTo(QRectF(body.left(), body.top(), body.width(), cap), 0, 180);
    p.drawPath(path);
    p.setBrush(color.lighter(130));
    p.drawEllipse(QRectF(body.left(), body.top(), body.width(), cap));
    p.setBrush(Qt::NoBrush);
    for (const qreal y : {0.42, 0.62}) {
        p.drawArc(QRectF(body.left(), body.top() + body.height() * y - cap / 2, body.width(), cap),
                  180 * 16, 180 * 16);
    }
}

void DrawBadge(QPainter& p, qreal s, const QColor& color, bool plus)
{
    const QRectF badge(s * 0.52, s * 0.52, s * 0.44, s * 0.44);
    p.setPen(Qt::NoPen);
    p.setBrush(color);
    p.drawEllipse(badge);
    p.setPen(QPen(Qt::white, qMax<qreal>(1.5, s * 0.07), Qt::SolidLine, Qt::RoundCap));
    const QPointF c = badge.center();
    const qreal a = badge.width() * 0.25;
    p.drawLine(QPointF(c.x() - a, c.y()), QPointF(c.x() + a, c.y()));
    if (plus) {
        p.drawLine(QPointF(c.x(), c.y() - a), QPointF(c.x(), c.y() + a));
    }
}

void DrawSheet(QPainter& p, qreal s)
{
    const QRectF sheet(s * 0.2, s * 0.08, s * 0.56, s * 0.78);
    p.setPen(QPen(QColor(0x50, 0x58, 0x66), qMax<qreal>(1.0, s * 0.03)));
    p.setBrush(QColor(0xfa, 0xfa, 0xf6));
    p.drawRoundedRect(sheet, s * 0.05, s * 0.05);
    p.setPen(QPen(QColor(0x8a, 0x94, 0xa4), qMax<qreal>(1.0, s * 0.03)));
    for (int i = 0; i < 4; ++i) {
        const qreal y = sheet.top() + sheet.height() * (0.22 + i * 0.16);
        p.drawLine(QPointF(sheet.left() + s * 0.08, y), QPointF(sheet.right() - s * 0.08, y));
    }
    // A spade on the sheet.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x20, 0x20, 0x28));
    QPainterPath spade;
    const QPointF c(sheet.right() - s * 0.14, sheet.bottom() - s * 0.16);
    const qreal r = s * 0.07;
    spade.moveTo(c.x(), c.y() - r * 1.4);
    spade.cubicTo(c.x() + r * 1.6, c.y() - r * 0.2, c.x() + r * 0.8, c.y() + r * 1.0, c.x(),
                  c.y() + r * 0.2);
    spade.cubicTo(c.x() - r * 0.8, c.y() + r * 1.0, c.x() - r * 1.6, c.y() - r * 0.2, c.x(),
                  c.y() - r * 1.4);
    p.drawPath(spade);
    p.drawRect(QRectF(c.x() - r * 0.15, c.y(), r * 0.3, r * 1.0));
}

void DrawFolder(QPainter& p, qreal s)
{
    const QColor color(0xe8, 0xb8, 0x4a);
    p.setPen(QPen(color.darker(150), qMax<qreal>(1.0, s * 0.03)));
    p.setBrush(color.darker(110));
    QPainterPath back;
    back.moveTo(s * 0.08, s * 0.2);
    back.lineTo(s * 0.38, s * 0.2);
    back.lineTo(s * 0.46, s * 0.3);
    back.lineTo(s * 0.92, s * 0.3);
    back.lineTo(s * 0.92, s * 0.84);
    back.lineTo(s * 0.08, s * 0.84);
    back.closeSubpath();
    p.drawPath(back);
    p.setBrush(color);
    p.drawRect(QRectF(s * 0.08, s * 0.38, s * 0.84, s * 0.46));
}

}  // namespace

QIcon AppIcon()
{
    static const QIcon icon = Draw(DrawChip);
    return icon;
}

QIcon RibbonImage(int image)
{
    if (image == vxcmd::kStopImage) {
        return Draw([](QPainter& p, qreal s) {
            DrawRound(p, s, QColor(0xc6, 0x28, 0x28));
            p.setPen(Qt::NoPen);
            p.setBrush(Qt::white);
            p.drawRoundedRect(QRectF(s * 0.33, s * 0.33, s * 0.34, s * 0.34), s * 0.04, s * 0.04);
        });
    }
    return Draw([](QPainter& p, qreal s) {
        DrawRound(p, s, QColor(0x2e, 0x9d, 0x46));
        p.setPen(Qt::NoPen);
        p.setBrush(Qt::white);
        p.drawPolygon(QPolygonF({QPointF(s * 0.38, s * 0.28), QPointF(s * 0.74, s * 0.5),
                                 QPointF(s * 0.38, s * 0.72)}));
    });
}

QIcon RibbonIcon(RibbonPicture picture)
{
    switch (picture) {
    case RibbonPicture::DatabaseCreate:
        return Draw([](QPainter& p, qreal s) {
            DrawCylinder(p, s, QColor(0x4a, 0x7e, 0xc2));
            DrawBadge(p, s, QColor(0x2e, 0x9d, 0x46), true);
        });
    case RibbonPicture::DatabaseDelete:
        return Draw([](QPainter& p, qreal s) {
            DrawCylinder(p, s, QColor(0x4a, 0x7e, 0xc2));
            DrawBadge(p, s, QColor(0xc6, 0x28, 0x28), false);
        });
    case RibbonPicture::HudCache:
        return Draw([](QPainter& p, qreal s) {
            DrawCylinder(p, s, QColor(0x8a, 0x5c, 0xc2));
            DrawBadge(p, s, QColor(0xe0, 0xa0, 0x20), true);
        });
    case RibbonPicture::ImportFile:
        return Draw(DrawSheet);
    case RibbonPicture::ImportFolder:
        return Draw([](QPainter& p, qreal s) {
            DrawFolder(p, s);
            p.save();
            p.translate(s * 0.3, s * 0.3);
            p.scale(0.6, 0.6);
            DrawSheet(p, s);
            p.restore();
        });
    case RibbonPicture::HudLayouts:
        return Draw([](QPainter& p, qreal s) {
            // Three stat boxes as a HUD draws them over a table.
            const QColor felt(0x0b, 0x5d, 0x3b);
            p.setPen(QPen(felt.darker(150), qMax<qreal>(1.0, s * 0.03)));
            p.setBrush(felt);
            p.drawRoundedRect(QRectF(s * 0.06, s * 0.22, s * 0.88, s * 0.56), s * 0.28, s * 0.28);
            p.setPen(Qt::NoPen);
            p.setBrush(QColor(20, 20, 24, 230));
            for (const QPointF at :
                 {QPointF(0.12, 0.12), QPointF(0.56, 0.12), QPointF(0.34, 0.62)}) {
                p.drawRoundedRect(QRectF(s * at.x(), s * at.y(), s * 0.34, s * 0.22), s * 0.04,
                                  s * 0.04);
            }
            p.setBrush(QColor(0xe0, 0xb0, 0x3c));
            for (const QPointF at : {QPointF(0.15, 0.2), QPointF(0.59, 0.2), QPointF(0.37, 0.7)}) {
                p.drawRect(QRectF(s * at.x(), s * at.y(), s * 0.26, s * 0.05));
            }
        });
    }
    return QIcon();
}
