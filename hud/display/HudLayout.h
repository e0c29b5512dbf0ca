// Where the HUD boxes of a table go. The table window is modelled as every
// poker client draws its tables: an oval felt with the board and the pot in
// the middle, the seats on a wider oval around it, each seat a name plate
// with the player's cards and bets between the plate and the middle. Seat 1
// is the first seat clockwise from twelve o'clock (a seat straddles twelve
// o'clock only at odd table sizes, where the middle seat is at the bottom);
// HUD position p is seat p + 1. A box goes on the side of its seat away from
// the middle (above a seat in the upper half, below one in the lower half,
// above and flush with the outer edge of the plate for a seat at the side),
// clear of the plate and of the seat's cards, so it covers neither cards nor
// pot; it is kept inside the window.
//
// All areas are in pixels of the window's area unless named "Fraction".
// Pure functions; thread-safe.
#pragma once

#include <QPointF>
#include <QRect>
#include <QRectF>
#include <QSize>

namespace HudLayout {

inline constexpr int kMinTableSize = 2;
inline constexpr int kMaxTableSize = 10;

// The seat's name plate, as fractions of the window's width and height.
QRectF SeatPlateFraction(int tableSize, int position);
// Where the seat's cards and bets are drawn.
QRectF SeatCardsFraction(int tableSize, int position);
// The board and the pot.
QRectF MiddleFraction();

// Scales a fraction rectangle to the window's area `table` (screen pixels).
QRect ToPixels(const QRectF& fraction, const QRect& table);

// The box of `boxSize` for the seat, placed by the rule above.
QRect DefaultBox(const QRect& table, int tableSize, int position, const QSize& boxSize);
// The box at a place the player chose: its top-left corner as fractions of
// the window, kept inside the window.
QRect PlacedBox(const QRect& table, const QPointF& topLeftFraction, const QSize& boxSize);
// The top-left corner of `box` as fractions of the window.
QPointF TopLeftFraction(const QRect& table, const QPoint& topLeft);

// `box` moved (not resized) so that it lies inside `table` as far as it fits.
QRect KeepInside(const QRect& box, const QRect& table);

}  // namespace HudLayout
