#!/usr/bin/env python3
"""Writes the synthetic hand-history files of this folder (fixed seed).

Run from anywhere: python3 testdata/storage/make_files.py
Every name and amount is made up here; the layout is the PokerStars cash layout.
"""
import os
import random

HERE = os.path.dirname(os.path.abspath(__file__))
RANKS = "23456789TJQKA"
SUITS = "cdhs"
SYLLABLES = ["ka", "lo", "mi", "ren", "tu", "vas", "qui", "bel", "dor", "fen", "gal", "hox",
             "jun", "pry", "sal", "wen", "yor", "zim"]


def money(cents):
    whole, part = divmod(cents, 100)
    return "$%d" % whole if part == 0 else "$%d.%02d" % (whole, part)


def make_names(rng, count):
    names = set()
    while len(names) < count:
        name = "".join(rng.choice(SYLLABLES) for _ in range(rng.randint(2, 3)))
        name = name.capitalize() + rng.choice(["", "_", "x"]) + str(rng.randint(1, 99))
        names.add(name)
    return sorted(names)


def make_hand(rng, number, when, table, players):
    """One hand; `players` are (seat, name, stack cents) with the hero among them."""
    deck = [r + s for r in RANKS for s in SUITS]
    rng.shuffle(deck)
    n = len(players)
    button = rng.randrange(n)
    sb = players[(button + 1) % n]
    bb = players[(button + 2) % n]
    lines = ["PokerStars Hand #%d:  Hold'em No Limit ($0.05/$0.10 USD) - %s ET" % (number, when),
             "Table '%s' 6-max Seat #%d is the button" % (table, players[button][0])]
    for seat, name, stack in players:
        lines.append("Seat %d: %s (%s in chips)" % (seat, name, money(stack)))
    lines.append("%s: posts small blind $0.05" % sb[1])
    lines.append("%s: posts big blind $0.10" % bb[1])
    lines.append("*** HOLE CARDS ***")
    hole = {p[1]: (deck.pop(), deck.pop()) for p in players}
    lines.append("Dealt to Hero [%s %s]" % hole["Hero"])
    order = [players[(button + 3 + i) % n] for i in range(n)]  # first to act preflop
    kind = rng.choice(["walk", "steal", "flop", "showdown", "showdown"])
    bets = {p[1]: 0 for p in players}
    bets[sb[1]] = 5
    bets[bb[1]] = 10
    summary = {}
    board = []
    if kind == "walk":
        for p in order[:-1]:
            lines.append("%s: folds" % p[1])
            summary[p[1]] = "folded before Flop" if p != sb else "folded before Flop"
        lines.append("Uncalled bet ($0.05) returned to %s" % bb[1])
        pot = 10
        rake = 0
        winner = bb[1]
        lines.append("%s collected %s from pot" % (winner, money(pot)))
        lines.append("%s: doesn't show hand" % winner)
        collected = pot
    else:
        raiser = order[rng.randrange(n - 2)] if n > 2 else order[0]
        caller = bb
        idx = order.index(raiser)
        for p in order[:idx]:
            lines.append("%s: folds" % p[1])
            summary[p[1]] = "folded before Flop (didn't bet)"
        lines.append("%s: raises $0.20 to $0.30" % raiser[1])
        bets[raiser[1]] = 30
        for p in order[idx + 1:]:
            if p == caller:
                lines.append("%s: calls $0.20" % p[1])
                bets[p[1]] = 30
            else:
                lines.append("%s: folds" % p[1])
                summary[p[1]] = "folded before Flop" if p in (sb, bb) else "folded before Flop (didn't bet)"
        if kind == "steal":
            # The raise is only called when it is the big blind's turn; here it folds.
            lines[-1] = lines[-1].replace("calls $0.20", "folds")
            bets[caller[1]] = 10
            summary[caller[1]] = "folded before Flop"
            lines.append("Uncalled bet ($0.20) returned to %s" % raiser[1])
            bets[raiser[1]] = 10
            pot = sum(bets.values())
            rake = 0
            winner = raiser[1]
            lines.append("%s collected %s from pot" % (winner, money(pot)))
            lines.append("%s: doesn't show hand" % winner)
            collected = pot
        else:
            board = [deck.pop(), deck.pop(), deck.pop()]
            lines.append("*** FLOP *** [%s]" % " ".join(board))
            lines.append("%s: checks" % caller[1])
            if kind == "flop":
                lines.append("%s: bets $0.40" % raiser[1])
                lines.append("%s: folds" % caller[1])
                lines.append("Uncalled bet ($0.40) returned to %s" % raiser[1])
                pot = sum(bets.values())
                rake = pot * 5 // 100
                winner = raiser[1]
                lines.append("%s collected %s from pot" % (winner, money(pot - rake)))
                lines.append("%s: doesn't show hand" % winner)
                summary[caller[1]] = "folded on the Flop"
                collected = pot - rake
            else:
                lines.append("%s: checks" % raiser[1])
                board.append(deck.pop())
                lines.append("*** TURN *** [%s] [%s]" % (" ".join(board[:3]), board[3]))
                lines.append("%s: checks" % caller[1])
                lines.append("%s: checks" % raiser[1])
                board.append(deck.pop())
                lines.append("*** RIVER *** [%s] [%s]" % (" ".join(board[:4]), board[4]))
                lines.append("%s: checks" % caller[1])
                lines.append("%s: checks" % raiser[1])
                lines.append("*** SHOW DOWN ***")
                winner, loser = (caller[1], raiser[1]) if rng.random() < 0.5 else (raiser[1], caller[1])
                lines.append("%s: shows [%s %s] (a pair)" % ((caller[1],) + hole[caller[1]]))
                lines.append("%s: shows [%s %s] (high card)" % ((raiser[1],) + hole[raiser[1]]))
                pot = sum(bets.values())
                rake = pot * 5 // 100
                lines.append("%s collected %s from pot" % (winner, money(pot - rake)))
                collected = pot - rake
                summary[loser] = "showed [%s %s] and lost with high card" % hole[loser]
                summary[winner] = "showed [%s %s] and won (%s) with a pair" % (
                    hole[winner] + (money(collected),))
    lines.append("*** SUMMARY ***")
    lines.append("Total pot %s | Rake %s" % (money(pot), money(rake)))
    if board:
        lines.append("Board [%s]" % " ".join(board))
    for seat, name, _ in players:
        role = ""
        if name == players[button][1]:
            role = " (button)"
        elif name == sb[1]:
            role = " (small blind)"
        elif name == bb[1]:
            role = " (big blind)"
        text = summary.get(name)
        if text is None:
            text = "collected (%s)" % money(collected) if name == winner else "folded before Flop (didn't bet)"
        lines.append("Seat %d: %s%s %s" % (seat, name, role, text))
    return lines


def make_hands(seed, count, first_number, start_minute, table, pool):
    rng = random.Random(seed)
    hands = []
    for i in range(count):
        n = rng.randint(3, 6)
        names = ["Hero"] + rng.sample(pool, n - 1)
        rng.shuffle(names)
        seats = sorted(rng.sample(range(1, 7), n))
        players = [(seats[k], names[k], rng.randint(400, 2000)) for k in range(n)]
        minute = start_minute + i
        when = "2021/03/%02d %02d:%02d:%02d" % (4 + minute // 1440, (minute // 60) % 24, minute % 60,
                                               rng.randint(0, 59))
        hands.append(make_hand(rng, first_number + i * 7, when, table, players))
    return hands


def write(name, hands):
    with open(os.path.join(HERE, name), "w", newline="") as out:
        for hand in hands:
            out.write("\r\n".join(hand) + "\r\n\r\n\r\n")


def main():
    pool = make_names(random.Random(7), 60)
    first = make_hands(11, 200, 230000000000, 600, "Alnair II", pool)
    second = make_hands(12, 450, 230000005000, 900, "Mirfak", pool)
    # The same 150 hands reach the second file, as a client's file and an
    # export of several tables overlap.
    write("overlap_table.txt", first)
    write("overlap_export.txt", second[:200] + first[50:] + second[200:])
    # A hand number that does not fit a signed 64-bit column, between good hands.
    damaged = [list(h) for h in first[:3]]
    damaged[1][0] = damaged[1][0].replace("#230000000007:", "#9300000000000000007:")
    write("row_fails.txt", damaged)
    write("row_fails_good_copy.txt", first[:3])


if __name__ == "__main__":
    main()
