#include "tracker/CTrackerArt.h"

#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>
#include <QRadialGradient>

namespace TrackerArt {

namespace {

QColor GlyphColor(Glyph glyph)
{
    switch (glyph) {
    case Glyph::Start:
        return QColor(80, 220, 110);
    case Glyph::Stop:
        return QColor(235, 85, 80);
    case Glyph::Pause:
        return QColor(250, 190, 60);
    case Glyph::Sound:
        return QColor(120, 180, 255);
    }
    return Qt::white;
}

void DrawGlyph(QPainter& p, Glyph glyph, const QRectF& r, const QColor& color)
{
    p.setPen(Qt::NoPen);
    p.setBrush(color);
    const qreal w = r.width();
    const QPointF c = r.center();
    switch (glyph) {
    case Glyph::Start: {
        QPolygonF tri;
        tri << QPointF(c.x() - w * 0.16, c.y() - w * 0.22) << QPointF(c.x() + w * 0.24, c.y())
            << QPointF(c.x() - w * 0.16, c.y() + w * 0.22);
        p.drawPolygon(tri);
        break;
    }
    case Glyph::Stop:
        p.drawRoundedRect(QRectF(c.x() - w * 0.18, c.y() - w * 0.18, w * 0.36, w * 0.36), 1.5, 1.5);
        break;
    case Glyph::Pause:
        p.drawRect(QRectF(c.x() - w * 0.19, c.y() - w * 0.2, w * 0.13, w * 0.4));
        p.drawRect(QRectF(c.x() + w * 0.06, c.y() - w * 0.2, w * 0.13, w * 0.4));
        break;
    case Glyph::Sound: {
        QPolygonF speaker;
        speaker << QPointF(c.x() - w * 0.26, c.y() - w * 0.09)
                << QPointF(c.x() - w * 0.12, c.y() - w * 0.09)
                << QPointF(c.x() + w * 0.04, c.y() - w * 0.24)
                << QPointF(c.x() + w * 0.04, c.y() + w * 0.24)
                << QPointF(c.x() - w * 0.12, c.y() + w * 0.09)
                << QPointF(c.x() - w * 0.26, c.y() + w * 0.09);
        p.drawPolygon(speaker);
        QPen pen(color, qMax<qreal>(1.2, w * 0.06), Qt::SolidLine, Qt::RoundCap);
        p.setPen(pen);
        p.setBrush(Qt::NoBrush);
        p.drawArc(QRectF(c.x() - w * 0.06, c.y() - w * 0.14, w * 0.26, w * 0.28), -50 * 16,
                  100 * 16);
        p.drawArc(QRectF(c.x() - w * 0.12, c.y() - w * 0.26, w * 0.44, w * 0.52), -50 * 16,
                  100 * 16);
        break;
    }
    }
}

QPixmap Button(Glyph glyph, int size, const QColor& face, const QColor& rim, const QColor& mark)
{
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF r(0.5, 0.5, size - 1.0, size - 1.0);
    QRadialGradient gradient(r.center() - QPointF(size * 0.15, size * 0.2), size * 0.8);
    gradient.setColorAt(0, face.lighter(135));
    gradient.setColorAt(1, face);
    p.setPen(QPen(rim, 1.0));
    p.setBrush(gradient);
    p.drawEllipse(r);
    DrawGlyph(p, glyph, r, mark);
    return pixmap;
}

}  // namespace

CSkin ButtonSkin(Glyph glyph, int size)
{
    const QColor mark = GlyphColor(glyph);
    CSkin skin;
    skin.normal = Button(glyph, size, QColor(58, 52, 58), QColor(110, 100, 108), mark);
    skin.hover = Button(glyph, size, QColor(78, 70, 80), mark, mark.lighter(115));
    skin.pressed = Button(glyph, size, mark.darker(260), mark, mark.lighter(130));
    skin.disabled =
        Button(glyph, size, QColor(60, 60, 60), QColor(80, 80, 80), QColor(110, 110, 110));

    QBitmap shape(size, size);
    shape.fill(Qt::color0);
    QPainter p(&shape);
    p.setPen(Qt::color1);
    p.setBrush(Qt::color1);
    p.drawEllipse(QRect(0, 0, size - 1, size - 1));
    p.end();
    skin.mask = shape;
    return skin;
}

QPixmap AlarmIcon(TrackerAlarm alarm, bool lit, int size)
{
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    const qreal s = size;
    const QColor ink = lit ? QColor(255, 90, 70) : QColor(200, 190, 195);
    switch (alarm) {
    case TrackerAlarm::Hands: {
        // Two cards, fanned.
        p.setPen(QPen(ink, 1.0));
        p.setBrush(lit ? QColor(90, 30, 30) : QColor(70, 62, 68));
        p.save();
        p.translate(s * 0.42, s * 0.55);
        p.rotate(-14);
        p.drawRoundedRect(QRectF(-s * 0.22, -s * 0.32, s * 0.44, s * 0.62), 2, 2);
        p.restore();
        p.save();
        p.translate(s * 0.6, s * 0.5);
        p.rotate(10);
        p.drawRoundedRect(QRectF(-s * 0.22, -s * 0.32, s * 0.44, s * 0.62), 2, 2);
        p.setPen(Qt::NoPen);
        p.setBrush(ink);
        QPainterPath heart;
        heart.moveTo(0, s * 0.12);
        heart.cubicTo(-s * 0.2, -s * 0.02, -s * 0.08, -s * 0.18, 0, -s * 0.06);
        heart.cubicTo(s * 0.08, -s * 0.18, s * 0.2, -s * 0.02, 0, s * 0.12);
        p.drawPath(heart);
        p.restore();
        break;
    }
    case TrackerAlarm::TakeProfit:
    case TrackerAlarm::StopLoss: {
        // A coin.
        p.setPen(QPen(ink, 1.2));
        p.setBrush(lit ? QColor(90, 30, 30) : QColor(70, 62, 68));
        p.drawEllipse(QRectF(s * 0.1, s * 0.1, s * 0.8, s * 0.8));
        QFont font = p.font();
        font.setPixelSize(qMax(6, static_cast<int>(s * 0.6)));
        font.setBold(true);
        p.setFont(font);
        p.setPen(ink);
        p.drawText(QRectF(0, 0, s, s), Qt::AlignCenter, QStringLiteral("$"));
        break;
    }
    case TrackerAlarm::Time: {
        p.setPen(QPen(ink, 1.2));
        p.setBrush(lit ? QColor(90, 30, 30) : QColor(70, 62, 68));
        p.drawEllipse(QRectF(s * 0.1, s * 0.1, s * 0.8, s * 0.8));
        p.setPen(QPen(ink, 1.4, Qt::SolidLine, Qt::RoundCap));
        const QPointF c(s / 2, s / 2);
        p.drawLine(c, QPointF(s / 2, s * 0.24));
        p.drawLine(c, QPointF(s * 0.7, s * 0.58));
        break;
    }
    }
    return pixmap;
}

QPixmap WindowIcon(int size)
{
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    const qreal s = size;
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(61, 50, 55));
    p.drawRoundedRect(QRectF(0, 0, s, s), s * 0.18, s * 0.18);
    QPen pen(QColor(255, 192, 0), qMax<qreal>(1.5, s * 0.08), Qt::SolidLine, Qt::RoundCap,
             Qt::RoundJoin);
    p.setPen(pen);
    QPolygonF line;
    line << QPointF(s * 0.15, s * 0.75) << QPointF(s * 0.38, s * 0.5) << QPointF(s * 0.55, s * 0.62)
         << QPointF(s * 0.85, s * 0.25);
    p.drawPolyline(line);
    return pixmap;
}

}  // namespace TrackerArt
