// A window that looks like a poker client's table, for the x11 tests and
// their screenshots: felt, name plates at the seats, cards, board and pot,
// with the client's WM_CLASS and a table title (two hole cards where the
// title names a Hold'em game, four otherwise). An ordinary X11 window of
// the test process; nothing of a real client is in it.
#pragma once

#include <QStringList>
#include <QWidget>

#include <cstdint>

class CFakePokerTable : public QWidget
{
public:
    // `players` by position ("" for an empty seat); the hero at `hero`.
    CFakePokerTable(const QString& title, const QStringList& players, int hero);

    // Seats the players anew, as the client redraws its table.
    void SetPlayers(const QStringList& players);

    // The X11 window id (made at once), with WM_CLASS "pokerstars.exe".
    uint64_t WindowId();

    // Names `pid` as the window's owner (_NET_WM_PID), as a client's window
    // names the client's process; call after WindowId().
    void SetOwnerPid(uint32_t pid);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QStringList m_players;
    int m_hero;
};
