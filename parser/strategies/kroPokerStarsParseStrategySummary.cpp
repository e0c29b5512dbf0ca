// The total win of a PokerStars-layout player at the summary, and the bet
// that nobody matched in files that print no return for it.
#include "db/tables/CActionList.h"
#include "parser/CParserEnvironment.h"
#include "parser/strategies/kroPokerStarsParseStrategy.h"

#include <algorithm>

namespace kroHandParser {

int32_t kroPokerStarsParseStrategy::TotalWinAtSummary(const CHandPlayerRecord& player,
                                                      int32_t collected) const
{
    // A GGPoker all-in cash-out keeps the win its cash-out line gave, or in
    // mode 1 the pot less what was cashed out.
    const auto flag = player.stats.flags.find(L"flag_allin_cash_out");
    if (m_hand.gg && flag != player.stats.flags.end() && flag->second) {
        const bool paidRisk = m_hand.riskPaid.count(player.name) != 0;
        return m_hand.cashOutMode == 1 && (paidRisk || m_hand.riskPaid.empty())
                   ? collected - player.cashOutAmount
                   : player.totalwin;
    }
    return collected;
}

void kroPokerStarsParseStrategy::CompleteHand()
{
    CHandState& h = m_hand;
    // What the players bet beyond the pot the summary prints went back to
    // them. Old files leave out the "Uncalled bet" line of a big blind whose
    // small blind folded; the return is taken when the pot line confirms it:
    // the excess is exactly what the largest bettor put in beyond the second.
    if (!h.potLineSeen || h.players.size() < 2) {
        return;
    }
    int64_t bets = 0;
    size_t largest = 0;
    for (size_t i = 0; i < h.players.size(); ++i) {
        bets += h.players[i].bet;
        if (h.players[i].bet > h.players[largest].bet) {
            largest = i;
        }
    }
    int32_t second = 0;
    for (size_t i = 0; i < h.players.size(); ++i) {
        if (i != largest) {
            second = std::max(second, h.players[i].bet);
        }
    }
    const int64_t excess = bets - h.hand.totalpot;
    CHandPlayerRecord& p = h.players[largest];
    if (excess <= 0 || excess != static_cast<int64_t>(p.bet) - second) {
        return;
    }
    const auto back = static_cast<int32_t>(excess);
    p.bet -= back;
    p.netwin += back;
    if (h.showdownSeen && h.showdownState[largest] == 2) {
        p.showdownwin += back;
    } else {
        p.nonshowdownwin += back;
    }
    CActionRecord uncalled;
    uncalled.idhand = h.hand.id;
    uncalled.idaction = m_env.actions.ActionByCode(L"UB");
    uncalled.idplayer = p.idplayer;
    uncalled.amount = back;
    // Where the file would have written it: after the player's last bet, on
    // the street where nobody matched it.
    static const wchar_t* const kBets[] = {L"SB", L"BB", L"SBBB", L"A", L"R"};
    std::vector<int32_t> betIds;
    for (const wchar_t* code : kBets) {
        betIds.push_back(m_env.actions.ActionByCode(code));
    }
    betIds.push_back(m_env.actions.ActionByName(L"bets"));
    betIds.push_back(m_env.actions.ActionByName(L"calls"));
    auto at = h.actions.end();
    for (auto it = h.actions.begin(); it != h.actions.end(); ++it) {
        if (it->idplayer == p.idplayer &&
            std::find(betIds.begin(), betIds.end(), it->idaction) != betIds.end()) {
            at = it + 1;
        }
    }
    h.actions.insert(at, uncalled);
}

}  // namespace kroHandParser
