#include "stats/ComputeAllinEv.h"

#include "foundation/Cards.h"
#include "foundation/ILogSink.h"
#include "foundation/Money.h"
#include "foundation/WideText.h"
#include "stats/AllinEquity.h"

#include <algorithm>

namespace {

// Card names, each followed by a blank, as the dump lines print them.
std::wstring CardsText(uint64_t mask)
{
    std::wstring text;
    for (int card = 0; card < 52; ++card) {
        if (mask >> card & 1) {
            text += CardName(card) + L" ";
        }
    }
    return text;
}

std::wstring BoardText(const AllinEvInput& input)
{
    std::wstring text;
    for (const int32_t card : input.board) {
        if (card >= 0) {
            text += CardName(card) + L" ";
        }
    }
    return text;
}

double Units(double cents)
{
    return cents / 100.0;
}

int Refuse(const AllinEvInput& input, ILogSink* diagnostics, const wchar_t* why)
{
    if (diagnostics != nullptr) {
        diagnostics->Trace(
            FormatW(L"All-in EV of hand #%ls not computed: %ls", input.handNumber.c_str(), why));
    }
    return 0;
}

struct CSidePot
{
    int number;
    double equity;
};

}  // namespace

int ComputeAllinEv(AllinEvInput& input,
                   bool log,
                   std::vector<std::wstring>& lines,
                   ILogSink* diagnostics)
{
    if (input.allinStreet < 1 || input.allinStreet > 3) {
        return 255;
    }
    if (input.holeCount < 2 || input.holeCount > 6) {
        return 254;
    }
    if (input.heroIndex < 0 || input.heroIndex >= static_cast<int>(input.players.size()) ||
        __builtin_popcountll(input.players[static_cast<size_t>(input.heroIndex)].cardsMask) !=
            input.holeCount) {
        return Refuse(input, diagnostics, L"the hero's cards are not known");
    }
    const AllinEvPlayer hero = input.players[static_cast<size_t>(input.heroIndex)];
    std::vector<AllinEvPlayer> opponents;
    for (size_t i = 0; i < input.players.size(); ++i) {
        if (static_cast<int>(i) != input.heroIndex) {
            opponents.push_back(input.players[i]);
        }
    }
    if (opponents.empty() || input.pots.empty()) {
        return Refuse(input, diagnostics, L"no opponent or no pot");
    }
    std::vector<std::wstring> out;
    out.push_back(L"+++++++++++++++++++++++++++++++++++++++++++++++++++++++++");
    out.push_back(FormatW(L"Hand #%ls win = %.2lf Board = %ls", input.handNumber.c_str(),
                          Units(input.heroNetWin), BoardText(input).c_str()));
    out.push_back(FormatW(L"Hero has %ls startcash = %.2lf", CardsText(hero.cardsMask).c_str(),
                          Units(hero.startCash)));
    for (size_t i = 0; i < input.players.size(); ++i) {
        if (static_cast<int>(i) != input.heroIndex) {
            const AllinEvPlayer& p = input.players[i];
            out.push_back(FormatW(L"%d has %ls startcash = %.2lf", static_cast<int>(i),
                                  CardsText(p.cardsMask).c_str(), Units(p.startCash)));
        }
    }
    std::vector<uint64_t> masks;
    for (const AllinEvPlayer& p : opponents) {
        masks.push_back(p.cardsMask);
    }
    const double mainEquity = Equity(input, masks, 0);
    if (mainEquity < 0) {
        return Refuse(input, diagnostics, L"the players' cards cannot be dealt");
    }
    if (input.pots.size() == 1) {
        input.ev = (input.pots[0] * mainEquity / 100.0 - input.heroInvested) / 100.0;
        input.diff = Units(input.heroNetWin) - input.ev;
        out.push_back(FormatW(L"Pot =  %.2lf Rake = %.2lf Hero money = %.2lf ",
                              Units(input.pots[0]), Units(input.rake), Units(input.heroInvested)));
        out.push_back(FormatW(L"Equity = %.2lf%% EV = %.2lf  Diff = %.2lf", mainEquity, input.ev,
                              input.diff));
    } else {
        if (opponents.size() != input.pots.size()) {
            out.push_back(L"Conut of opponents is not equal count of pots!");
            out.push_back(FormatW(L"sitehandnum = %ls", input.handNumber.c_str()));
        }
        out.push_back(
            FormatW(L"Total pot =  %.2lf Main pot = %.2lf Rake = %.2lf Hero money = %.2lf ",
                    Units(input.totalPot), Units(input.pots[0]), Units(input.rake),
                    Units(input.heroInvested)));
        for (size_t k = 1; k < input.pots.size(); ++k) {
            out.push_back(
                FormatW(L"Side pot-%d =  %.2lf", static_cast<int>(k), Units(input.pots[k])));
        }
        double won = input.pots[0] * mainEquity / 100.0;
        std::vector<CSidePot> sides;
        std::vector<AllinEvPlayer> remaining = opponents;
        uint64_t dead = 0;
        size_t k = 0;
        // Side pots are played among the deeper stacks: take the shortest
        // opponents out one stack size at a time while they are shorter than
        // the hero, and play the next pot without them, their cards dead.
        while (!remaining.empty()) {
            const auto shortest =
                std::min_element(remaining.begin(), remaining.end(),
                                 [](const AllinEvPlayer& a, const AllinEvPlayer& b) {
                                     return a.startCash < b.startCash;
                                 });
            const int32_t stack = shortest->startCash;
            if (stack >= hero.startCash || ++k >= input.pots.size()) {
                break;
            }
            if (remaining.size() == 1) {
                // Nobody else is in this pot: it is the hero's.
                sides.push_back({static_cast<int>(k), 100.0});
                won += input.pots[k];
                break;
            }
            std::vector<uint64_t> left;
            std::vector<AllinEvPlayer> kept;
            for (const AllinEvPlayer& p : remaining) {
                if (p.startCash == stack) {
                    dead |= p.cardsMask;
                } else {
                    kept.push_back(p);
                    left.push_back(p.cardsMask);
                }
            }
            remaining = kept;
            const double equity = Equity(input, left, dead);
            if (equity < 0) {
                return Refuse(input, diagnostics, L"the players' cards cannot be dealt");
            }
            sides.push_back({static_cast<int>(k), equity});
            won += input.pots[k] * equity / 100.0;
            if (remaining.size() < 2) {
                break;
            }
        }
        input.ev = (won - input.heroInvested) / 100.0;
        input.diff = Units(input.heroNetWin) - input.ev;
        out.push_back(FormatW(L"Equity (Main pot) = %.2lf%%", mainEquity));
        for (const CSidePot& side : sides) {
            out.push_back(FormatW(L"Equity (Side pot-%d) = %.2lf%%", side.number, side.equity));
        }
        out.push_back(FormatW(L"EV = %.2lf  Diff = %.2lf", input.ev, input.diff));
    }
    if (log) {
        lines.insert(lines.end(), out.begin(), out.end());
    }
    return 1;
}

int32_t AllinEvCents(double ev)
{
    return UnitsToCents(ev);
}
