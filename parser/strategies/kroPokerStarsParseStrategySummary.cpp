// The total win of a PokerStars-layout player at the summary and what is
// stored when the hand ends.
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

int32_t kroPokerStarsParseStrategy::TotalWinAtSummary(const CHandPlayerRecord& player,
                                                      int32_t collected) const
{
    // A GGPoker all-in cash-out keeps the win its cash-out line gave, or in
    // mode 1 the pot less what was cashed out.
    const auto flag = player.stats.flags.find(L"flag_allin_cash_out");
    if (m_hand.gg && flag != player.stats.flags.end() && flag->second) {
        return m_hand.cashOutMode == 1 ? collected - player.cashOutAmount : player.totalwin;
    }
    return collected;
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
