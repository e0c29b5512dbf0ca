// The summary of a PokerStars-layout hand (positions, money, showdown) and
// what is stored when the hand ends.
#include "db/tables/kroHandPlayers.h"
#include "db/tables/kroHands.h"
#include "db/tables/kroHandsActions.h"
#include "foundation/IUserNotifier.h"
#include "foundation/WideText.h"
#include "parser/CParseContext.h"
#include "parser/CParserEnvironment.h"
#include "parser/HandEnd.h"
#include "parser/strategies/kroPokerStarsParseStrategy.h"

namespace kroHandParser {

namespace {

int32_t Amount(const std::map<std::wstring, int32_t>& map, const std::wstring& name)
{
    const auto it = map.find(name);
    return it == map.end() ? 0 : it->second;
}

}  // namespace

void kroPokerStarsParseStrategy::SummaryComputation()
{
    CHandState& h = m_hand;
    const int n = static_cast<int>(h.players.size());

    // A street dealt without a line of its own between it and the next one
    // had no betting: everybody was all in before it.
    int allin = h.firstSplitStreet;
    if (allin == 0) {
        for (int k = 1; k <= 3; ++k) {
            const int here = h.streetLine[static_cast<size_t>(k - 1)];
            const int next = h.streetLine[static_cast<size_t>(k)];
            if (here > 0 && next == here + 1) {
                allin = k;
                break;
            }
        }
    }
    if (allin != 0) {
        h.hand.streetAllin = allin;
        if (m_storing) {
            kroDB::kroHands::data row(m_env.db);
            static_cast<CHandRecord&>(row) = h.hand;
            (void)row.SetStreetAllin(allin);
        }
    }

    if (n == 2) {
        for (auto& p : h.players) {
            p.position = p.seat == h.buttonSeat ? 9 : 10;
        }
    } else if (n > 0) {
        int b = n + 1;
        for (int i = 0; i < n; ++i) {
            if (h.players[static_cast<size_t>(i)].seat == h.buttonSeat) {
                b = i + 1;
                break;
            }
        }
        for (int k = 0; k < n; ++k) {
            int p = 9 - b + k;
            if (p < 11 - n) {
                p += n;
            } else if (p >= 11) {
                p -= n;
            }
            h.players[static_cast<size_t>(k)].position = p;
        }
    }

    int showed = 0;
    for (int state : h.showdownState) {
        showed += state == 2 ? 1 : 0;
    }
    if (showed > 1) {
        h.hand.showdown = true;
        h.showdownSeen = true;
        h.hand.stats.values[L"val_players_sd"] = showed;
        if (m_storing) {
            kroDB::kroHands::data row(m_env.db);
            static_cast<CHandRecord&>(row) = h.hand;
            (void)row.SetShowdown(true);
        }
        AddAction(-1, L"SD", 0);
    }

    for (int i = 0; i < n; ++i) {
        CHandPlayerRecord& p = h.players[static_cast<size_t>(i)];
        p.bet = Amount(h.posts, p.name);
        for (const auto& street : h.streets) {
            p.bet += Amount(street, p.name);
        }
        const int32_t collected = Amount(h.collected, p.name);
        const auto flag = p.stats.flags.find(L"flag_allin_cash_out");
        const bool cashedOut = flag != p.stats.flags.end() && flag->second;
        if (h.gg && cashedOut) {
            if (h.cashOutMode == 1) {
                p.totalwin = collected - p.cashOutAmount;
            }
        } else {
            p.totalwin = collected;
        }
        p.netwin = p.totalwin - p.bet;
        const int state = h.showdownState[static_cast<size_t>(i)];
        if (!h.showdownSeen || state == 1) {
            p.nonshowdownwin = p.netwin;
        } else if (state == 2) {
            p.showdownwin = p.netwin;
        }
        const int streetState = h.streetState[static_cast<size_t>(i)];
        if (allin != 0 && streetState != 0) {
            p.stats.values[L"val_allin_street"] = streetState;
        }
    }

    if (m_storing) {
        for (auto& action : h.actions) {
            action.idhand = h.hand.id;
        }
        kroDB::kroHandsActions table(m_env.db);
        if (!h.actions.empty()) {
            (void)table.InsertAll(h.actions);
        }
        h.hand.seats = n;
        kroDB::kroHands::data row(m_env.db);
        static_cast<CHandRecord&>(row) = h.hand;
        (void)row.SetSeats(n);
    }
    h.hand.seats = n;
    h.summarySeen = true;
}

void kroPokerStarsParseStrategy::EndOfHand()
{
    CHandState& h = m_hand;
    if (!h.summarySeen || !m_storing) {
        return;
    }
    if (h.hand.totalpot < 0) {
        m_env.notifier.Notify(FormatW(L"hand#%ls error", h.handNumberText.c_str()));
        return;
    }
    CHandEnd end(m_env, m_fileName);
    end.Store(h);
}

}  // namespace kroHandParser
