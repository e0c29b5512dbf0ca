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

    const int allin = SettleAllinStreet();
    GivePositions(true);

    int showed = 0;
    for (int state : h.showdownState) {
        showed += state == 2 ? 1 : 0;
    }
    if (showed > 1) {
        h.showdownSeen = true;
        h.hand.stats.values[L"val_players_sd"] = showed;
        StoreShowdown();
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

    WriteActions();
    StoreSeats();
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
