#include "hud/display/tests/CFakePokerTable.h"

#include "hud/display/HudLayout.h"

#include <QGuiApplication>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

#include <cstdlib>
#include <cstring>
#include <xcb/xcb.h>

namespace {

void DrawCard(QPainter& p, const QRectF& r, const QString& face, bool faceUp)
{
    p.setPen(QPen(QColor(0x30, 0x30, 0x30), 1));
    if (!faceUp) {
        p.setBrush(QColor(0xa8, 0x1c, 0x24));
        p.drawRoundedRect(r, 3, 3);
        p.setPen(QPen(QColor(0xe8, 0xc8, 0xc8), 1));
        p.drawRoundedRect(r.adjusted(3, 3, -3, -3), 2, 2);
        return;
    }
    p.setBrush(QColor(0xfa, 0xfa, 0xf5));
    p.drawRoundedRect(r, 3, 3);
    const QString rank = face.left(face.size() - 1);
    const QString suit = face.right(1);
    const bool red = suit == QStringLiteral("\u2665") || suit == QStringLiteral("\u2666");
    p.setPen(red ? QColor(0xc8, 0x10, 0x20) : QColor(0x10, 0x10, 0x10));
    // The index in the top-left corner, readable where cards overlap.
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setBold(true);
    font.setPixelSize(std::max(9, static_cast<int>(r.height() * 0.34)));
    p.setFont(font);
    const double line = r.height() * 0.34;
    p.drawText(QRectF(r.left() + 2, r.top() + 1, r.width() * 0.5, line), Qt::AlignCenter, rank);
    p.drawText(QRectF(r.left() + 2, r.top() + 1 + line, r.width() * 0.5, line), Qt::AlignCenter,
               suit);
}

}  // namespace

CFakePokerTable::CFakePokerTable(const QString& title, const QStringList& players, int hero)
    : m_players(players)
    , m_hero(hero)
{
    setWindowTitle(title);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void CFakePokerTable::SetPlayers(const QStringList& players)
{
    m_players = players;
    update();
}

uint64_t CFakePokerTable::WindowId()
{
    const uint64_t id = static_cast<uint64_t>(winId());
    auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    if (x11 != nullptr) {
        const char value[] = "pokerstars.exe\0pokerstars.exe";
        xcb_change_property(x11->connection(), XCB_PROP_MODE_REPLACE, static_cast<xcb_window_t>(id),
                            XCB_ATOM_WM_CLASS, XCB_ATOM_STRING, 8, sizeof(value), value);
        xcb_flush(x11->connection());
    }
    return id;
}

void CFakePokerTable::SetOwnerPid(uint32_t pid)
{
    auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    if (x11 == nullptr) {
        return;
    }
    xcb_connection_t* connection = x11->connection();
    static const char kName[] = "_NET_WM_PID";
    xcb_intern_atom_reply_t* atom = xcb_intern_atom_reply(
        connection, xcb_intern_atom(connection, 0, sizeof kName - 1, kName), nullptr);
    if (atom == nullptr) {
        return;
    }
    xcb_change_property(connection, XCB_PROP_MODE_REPLACE, static_cast<xcb_window_t>(winId()),
                        atom->atom, XCB_ATOM_CARDINAL, 32, 1, &pid);
    std::free(atom);
    xcb_flush(connection);
}

void CFakePokerTable::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const QRect area = rect();
    QLinearGradient room(0, 0, 0, height());
    room.setColorAt(0, QColor(0x2b, 0x30, 0x3a));
    room.setColorAt(1, QColor(0x16, 0x19, 0x20));
    p.fillRect(area, room);

    // Rail and felt.
    const QRectF felt(width() * 0.12, height() * 0.17, width() * 0.76, height() * 0.60);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x4a, 0x2c, 0x17));
    p.drawRoundedRect(felt.adjusted(-14, -14, 14, 14), felt.height() / 2 + 14,
                      felt.height() / 2 + 14);
    QRadialGradient cloth(felt.center(), felt.width() / 2);
    cloth.setColorAt(0, QColor(0x2e, 0x8b, 0x4a));
    cloth.setColorAt(1, QColor(0x14, 0x5a, 0x2c));
    p.setBrush(cloth);
    p.drawRoundedRect(felt, felt.height() / 2, felt.height() / 2);

    // Board and pot.
    const QRect middle = HudLayout::ToPixels(HudLayout::MiddleFraction(), area);
    const double cw = width() * 0.052;
    const double ch = cw * 1.4;
    const QStringList board = {QStringLiteral("K\u2660"), QStringLiteral("9\u2665"),
                               QStringLiteral("4\u2663"), QStringLiteral("J\u2666")};
    const double boardLeft = middle.center().x() - (5 * cw + 4 * 4) / 2;
    for (int i = 0; i < board.size(); ++i) {
        DrawCard(p, QRectF(boardLeft + i * (cw + 4), middle.center().y() - ch / 2, cw, ch),
                 board[i], true);
    }
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(13);
    font.setBold(true);
    p.setFont(font);
    p.setPen(QColor(0xf2, 0xe6, 0xb0));
    p.drawText(QRectF(middle.left(), middle.center().y() + ch / 2 + 4, middle.width(), 20),
               Qt::AlignHCenter | Qt::AlignTop, QStringLiteral("Pot: $0.46"));

    // Seats.
    const int n = static_cast<int>(m_players.size());
    const int holeCards = windowTitle().contains(QStringLiteral("Hold'em")) ? 2 : 4;
    for (int position = 0; position < n; ++position) {
        const QRect plate = HudLayout::ToPixels(HudLayout::SeatPlateFraction(n, position), area);
        const QString& name = m_players[position];
        if (!name.isEmpty()) {
            const QRect cards =
                HudLayout::ToPixels(HudLayout::SeatCardsFraction(n, position), area);
            const double w = cards.width() / 2.4;
            const double h = std::min<double>(cards.height(), w * 1.4);
            const double step = w * 0.5;
            const QStringList heroCards = {QStringLiteral("A\u2660"), QStringLiteral("Q\u2660"),
                                           QStringLiteral("T\u2665"), QStringLiteral("9\u2663")};
            for (int c = 0; c < holeCards; ++c) {
                const QRectF card(cards.center().x() - ((holeCards - 1) * step + w) / 2 + c * step,
                                  cards.center().y() - h / 2, w, h);
                DrawCard(p, card, heroCards[c], position == m_hero);
            }
        }
        p.setPen(QPen(QColor(0x8a, 0x8f, 0x99), 1.5));
        p.setBrush(name.isEmpty() ? QColor(0x22, 0x26, 0x2c, 200) : QColor(0x1b, 0x1d, 0x22));
        p.drawRoundedRect(plate, 8, 8);
        QFont plateFont(QStringLiteral("DejaVu Sans"));
        plateFont.setPixelSize(std::max(10, plate.height() / 3));
        p.setFont(plateFont);
        if (name.isEmpty()) {
            p.setPen(QColor(0x9a, 0xa0, 0xa8));
            p.drawText(plate, Qt::AlignCenter, QStringLiteral("Empty seat"));
            continue;
        }
        p.setPen(QColor(0xee, 0xee, 0xee));
        p.drawText(plate.adjusted(0, 2, 0, -plate.height() / 2), Qt::AlignCenter, name);
        p.setPen(QColor(0x9f, 0xe0, 0x9f));
        p.drawText(plate.adjusted(0, plate.height() / 2, 0, -2), Qt::AlignCenter,
                   QStringLiteral("$%1").arg(1.5 + position * 0.37, 0, 'f', 2));
    }
}
