#include "parser/HandEnd.h"

#include "companion/CardMasks.h"
#include "db/tables/kroHandPlayers.h"
#include "db/tables/kroHands.h"
#include "foundation/Folders.h"
#include "foundation/ILogSink.h"
#include "foundation/Money.h"
#include "foundation/WideText.h"
#include "parser/CHandState.h"
#include "parser/CParseContext.h"
#include "parser/CParserEnvironment.h"
#include "stats/BuildAllinEvInput.h"
#include "stats/ComputeAllinEv.h"
#include "stats/flags/HandFlags.h"

#include <algorithm>
#include <fstream>
#include <utility>

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

    // Money the room paid (a cash out) or was paid (cash-out risk) is no
    // result of the show down: at the show down the player won or lost what
    // the pot gave it.
    for (size_t i = 0; i < h.players.size(); ++i) {
        CHandPlayerRecord& p = h.players[i];
        const bool atShowdown = h.showdownSeen && i < h.showdownState.size() &&
                                h.showdownState[i] == 2 && p.nonshowdownwin == 0;
        if (p.paidOutsidePot != 0 && atShowdown) {
            p.showdownwin = ClampCents(static_cast<int64_t>(p.netwin) - p.paidOutsidePot);
            p.nonshowdownwin = p.paidOutsidePot;
        }
    }

    if (h.hand.totalpot > 0) {
        kroStats::ComputeHandFlags(h.gameType.idgamekind, h.hand, h.players, h.actions);
        const std::vector<int32_t> shares = RakeShares(h.hand.rake, h.players);
        for (size_t i = 0; i < h.players.size(); ++i) {
            CHandPlayerRecord& p = h.players[i];
            p.rakeincents = shares[i];
            // Lent to the row and given back: its statistics are not copied.
            const int64_t id = p.id;
            const int64_t idhand = p.idhand;
            kroDB::kroHandPlayers::data row(m_env.db);
            static_cast<CHandPlayerRecord&>(row) = std::move(p);
            row.idhand = h.hand.id;
            row.id = 0;
            row.SetKnownNew(true);
            const bool inserted = row.Insert();
            p = std::move(static_cast<CHandPlayerRecord&>(row));
            if (!inserted) {
                p.id = id;
                p.idhand = idhand;
            }
        }
        kroDB::kroHands::data hand(m_env.db);
        static_cast<CHandRecord&>(hand) = h.hand;
        (void)hand.StoreStats();
    }

    const bool evComputed = ComputeAllinEv(h);

    if (h.heroIndex >= 0 && static_cast<size_t>(h.heroIndex) < h.players.size()) {
        CStoredHeroHand published;
        published.hero = h.players[static_cast<size_t>(h.heroIndex)];
        published.currency = h.currency;
        published.handId = h.hand.id;
        published.allinEvComputed = evComputed;
        m_env.context.PublishHero(std::move(published));
    }
}

std::vector<int32_t> CHandEnd::RakeShares(int32_t rake,
                                          const std::vector<CHandPlayerRecord>& players)
{
    std::vector<int32_t> shares(players.size(), 0);
    int64_t bets = 0;
    for (const CHandPlayerRecord& p : players) {
        bets += std::max<int32_t>(p.bet, 0);
    }
    if (rake <= 0 || bets <= 0) {
        return shares;
    }
    // Rounding every share down leaves cents with nobody; they go to the
    // largest remainders, so that what the players are shown as paid is what
    // the table took.
    std::vector<int64_t> remainders(players.size(), 0);
    int64_t given = 0;
    for (size_t i = 0; i < players.size(); ++i) {
        const int64_t weighted = static_cast<int64_t>(rake) * std::max<int32_t>(players[i].bet, 0);
        shares[i] = static_cast<int32_t>(weighted / bets);
        remainders[i] = weighted % bets;
        given += shares[i];
    }
    std::vector<size_t> order(players.size());
    for (size_t i = 0; i < order.size(); ++i) {
        order[i] = i;
    }
    std::stable_sort(order.begin(), order.end(),
                     [&](size_t a, size_t b) { return remainders[a] > remainders[b]; });
    // Fewer cents are left than players with a remainder, as each remainder
    // is below one cent of the whole.
    for (size_t k = 0; given < rake && k < order.size(); ++k) {
        if (remainders[order[k]] > 0) {
            ++shares[order[k]];
            ++given;
        }
    }
    return shares;
}

bool CHandEnd::ComputeAllinEv(CHandState& h)
{
    if (h.hand.streetAllin == 0 || h.heroIndex < 0) {
        return false;
    }
    CAllinHandFacts facts;
    facts.gameKind = h.gameType.idgamekind;
    facts.allinStreet = h.hand.streetAllin;
    facts.handNumber = h.handNumberText;
    facts.totalPot = h.hand.totalpot;
    facts.rake = h.hand.rake;
    facts.board = h.hand.board;
    facts.pots = h.potList;
    facts.lastPotAmount = h.lastPotAmount;
    for (size_t i = 0; i < h.players.size(); ++i) {
        const CHandPlayerRecord& p = h.players[i];
        CAllinHandPlayer player;
        player.handPlayerId = static_cast<int32_t>(p.id);
        player.startCash = p.startcashincents;
        player.cards = p.cards;
        player.cards64 = VecToInt64(p.cards);
        player.hero = static_cast<int>(i) == h.heroIndex;
        // Still in: the player acted on and was never folded, and its cards are known.
        player.stillIn = i < h.streetState.size() && h.streetState[i] != 0 && !p.cards.empty();
        player.netWin = p.netwin;
        player.bet = p.bet;
        facts.players.push_back(std::move(player));
    }
    std::optional<AllinEvInput> input = BuildAllinEvInput(facts);
    if (!input) {
        return false;
    }
    const bool dump = m_allinDump && m_env.settings.allinDump;
    std::vector<std::wstring> lines;
    if (::ComputeAllinEv(*input, dump, lines, &m_env.log) != 1) {
        return false;
    }
    CHandPlayerRecord& hero = h.players[static_cast<size_t>(h.heroIndex)];
    hero.allinev = AllinEvCents(input->ev);
    kroDB::kroHandPlayers::data row(m_env.db);
    static_cast<CHandPlayerRecord&>(row) = hero;
    const bool stored = row.SetAllinEV();
    if (dump && !m_env.settings.allinDumpFolder.empty() &&
        CreateFolderWithParents(ToUtf8(m_env.settings.allinDumpFolder))) {
        std::wstring folder = m_env.settings.allinDumpFolder;
        if (folder.back() != L'/') {
            folder += L'/';
        }
        std::ofstream out(ToUtf8(folder + h.handNumberText + L".dat"),
                          std::ios::binary | std::ios::trunc);
        out << ToUtf8(m_fileName) << "\n";
        for (const auto& line : lines) {
            out << ToUtf8(line) << "\n";
        }
    }
    return stored;
}

}  // namespace kroHandParser
