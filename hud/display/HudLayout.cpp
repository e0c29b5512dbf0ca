#include "hud/display/HudLayout.h"

#include <algorithm>
#include <cmath>

namespace HudLayout {

namespace {

constexpr double kPi = 3.14159265358979323846;
// The oval of the seats, and the size of a name plate.
constexpr double kSeatCenterX = 0.5;
constexpr double kSeatCenterY = 0.46;
constexpr double kSeatRadiusX = 0.41;
constexpr double kSeatRadiusY = 0.345;
constexpr double kPlateWidth = 0.15;
constexpr double kPlateHeight = 0.085;
// Cards and bets lie this far from the plate toward the middle.
constexpr double kCardsShare = 0.3;
constexpr double kCardsWidth = 0.12;
constexpr double kCardsHeight = 0.11;
// Seats whose plate is this close to the oval's horizontal axis are side seats.
constexpr double kSideSeat = 0.2;
// Space between a plate and its box, in pixels.
constexpr int kGap = 2;

double SeatAngle(int tableSize, int position)
{
    const int n = std::clamp(tableSize, kMinTableSize, kMaxTableSize);
    const int p = ((position % n) + n) % n;
    return 2.0 * kPi * (p + 0.5) / n;
}

QPointF SeatCenter(int tableSize, int position)
{
    const double angle = SeatAngle(tableSize, position);
    return {kSeatCenterX + kSeatRadiusX * std::sin(angle),
            kSeatCenterY - kSeatRadiusY * std::cos(angle)};
}

}  // namespace

QRectF SeatPlateFraction(int tableSize, int position)
{
    const QPointF c = SeatCenter(tableSize, position);
    return {c.x() - kPlateWidth / 2, c.y() - kPlateHeight / 2, kPlateWidth, kPlateHeight};
}

QRectF SeatCardsFraction(int tableSize, int position)
{
    const QPointF seat = SeatCenter(tableSize, position);
    const QPointF middle = MiddleFraction().center();
    const QPointF c = seat + (middle - seat) * kCardsShare;
    return {c.x() - kCardsWidth / 2, c.y() - kCardsHeight / 2, kCardsWidth, kCardsHeight};
}

QRectF MiddleFraction()
{
    return {0.29, 0.34, 0.42, 0.26};
}

QRect ToPixels(const QRectF& fraction, const QRect& table)
{
    const double w = table.width();
    const double h = table.height();
    const int left = table.x() + static_cast<int>(std::lround(fraction.left() * w));
    const int top = table.y() + static_cast<int>(std::lround(fraction.top() * h));
    const int right = table.x() + static_cast<int>(std::lround(fraction.right() * w));
    const int bottom = table.y() + static_cast<int>(std::lround(fraction.bottom() * h));
    return QRect(QPoint(left, top), QPoint(right - 1, bottom - 1));
}

QRect KeepInside(const QRect& box, const QRect& table)
{
    QRect r = box;
    if (r.right() > table.right()) {
        r.moveRight(table.right());
    }
    if (r.bottom() > table.bottom()) {
        r.moveBottom(table.bottom());
    }
    if (r.left() < table.left()) {
        r.moveLeft(table.left());
    }
    if (r.top() < table.top()) {
        r.moveTop(table.top());
    }
    return r;
}

QRect DefaultBox(const QRect& table, int tableSize, int position, const QSize& boxSize)
{
    const QRect plate = ToPixels(SeatPlateFraction(tableSize, position), table);
    const QRect cards = ToPixels(SeatCardsFraction(tableSize, position), table);
    const double upward = std::cos(SeatAngle(tableSize, position));
    const double rightward = std::sin(SeatAngle(tableSize, position));
    QRect box(QPoint(0, 0), boxSize);
    // Clear of the plate and of the seat's cards, which at a side seat
    // reach above and below the plate.
    if (upward < -kSideSeat) {
        box.moveTop(std::max(plate.bottom(), cards.bottom()) + 1 + kGap);
    } else {
        box.moveBottom(std::min(plate.top(), cards.top()) - 1 - kGap);
    }
    if (std::abs(upward) <= kSideSeat) {
        if (rightward > 0) {
            box.moveRight(plate.right());
        } else {
            box.moveLeft(plate.left());
        }
    } else {
        box.moveCenter(QPoint(plate.center().x(), box.center().y()));
    }
    return KeepInside(box, table);
}

QRect PlacedBox(const QRect& table, const QPointF& topLeftFraction, const QSize& boxSize)
{
    const QPoint topLeft(
        table.x() + static_cast<int>(std::lround(topLeftFraction.x() * table.width())),
        table.y() + static_cast<int>(std::lround(topLeftFraction.y() * table.height())));
    return KeepInside(QRect(topLeft, boxSize), table);
}

QPointF TopLeftFraction(const QRect& table, const QPoint& topLeft)
{
    if (table.width() <= 0 || table.height() <= 0) {
        return {};
    }
    return {static_cast<double>(topLeft.x() - table.x()) / table.width(),
            static_cast<double>(topLeft.y() - table.y()) / table.height()};
}

}  // namespace HudLayout
