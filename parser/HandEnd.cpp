#include "parser/HandEnd.h"

#include "db/tables/kroHandPlayers.h"
#include "db/tables/kroHands.h"
#include "parser/CHandState.h"
#include "parser/CParseContext.h"
#include "parser/CParserEnvironment.h"

namespace kroHandParser {

void CHandEnd::Store(CHandState& h)
{
    // Lines after the summary (an EV cash-out) may change what a player won;
    // net win stays total win less bet, and the split follows it.
    for (auto& p : h.players) {
        const int32_t net = p.totalwin - p.bet;
        if (net != p.netwin) {
            if (p.showdownwin == p.netwin && p.showdownwin != 0) {
                p.showdownwin = net;
            }
            if (p.nonshowdownwin == p.netwin && p.nonshowdownwin != 0) {
                p.nonshowdownwin = net;
            }
            p.netwin = net;
        }
    }

    if (h.hand.totalpot > 0) {
        // TODO(issue 7): statistic flags once the flag passes are in.
        for (auto& p : h.players) {
            p.rakeincents =
                static_cast<int32_t>(static_cast<int64_t>(h.hand.rake) * p.bet / h.hand.totalpot);
            kroDB::kroHandPlayers::data row(m_env.db);
            static_cast<CHandPlayerRecord&>(row) = p;
            row.idhand = h.hand.id;
            row.id = 0;
            row.SetKnownNew(true);
            if (row.Insert()) {
                p.id = row.id;
                p.idhand = row.idhand;
            }
        }
        kroDB::kroHands::data hand(m_env.db);
        static_cast<CHandRecord&>(hand) = h.hand;
        (void)hand.StoreStats();
    }

    ComputeAllinEv(h);

    if (h.heroIndex >= 0 && static_cast<size_t>(h.heroIndex) < h.players.size()) {
        CStoredHeroHand published;
        published.hero = h.players[static_cast<size_t>(h.heroIndex)];
        published.currency = h.currency;
        published.handId = h.hand.id;
        m_env.context.PublishHero(published);
    }
}

void CHandEnd::ComputeAllinEv(CHandState& /*h*/)
{
    // TODO(issue 7): all-in EV once the equity engine is in.
}

}  // namespace kroHandParser
