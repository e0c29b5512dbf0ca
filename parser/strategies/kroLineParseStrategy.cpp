#include "parser/strategies/kroLineParseStrategy.h"

#include "db/tables/CActionList.h"
#include "db/tables/kroHands.h"
#include "db/tables/kroHandsActions.h"
#include "db/tables/kroPots.h"
#include "db/tables/kroRunittwice.h"
#include "foundation/ILogSink.h"
#include "foundation/IUserNotifier.h"
#include "foundation/WideText.h"
#include "parser/CParserEnvironment.h"
#include "parser/HandEnd.h"

#include <algorithm>

namespace kroHandParser {

namespace {

int32_t Amount(const std::map<std::wstring, int32_t>& map, const std::wstring& name)
{
    const auto it = map.find(name);
    return it == map.end() ? 0 : it->second;
}

}  // namespace

void kroLineParseStrategy::ResetHand()
{
    m_hand = CHandState();
    m_hand.gameType.idsite = m_siteId;
    m_storing = false;
}

bool kroLineParseStrategy::StoreHandRow(const std::vector<std::wstring>* lines)
{
    m_hand.gameType.idsite = m_siteId;
    kroDB::kroHands::data row(m_env.db);
    static_cast<CHandRecord&>(row) = m_hand.hand;
    // The same hand arrives in the client's file and again in exports. It is
    // looked for before the game type so that a repeated import adds no row.
    if (const int64_t stored = row.FindStored(m_siteId); stored > 0) {
        m_hand.hand.id = stored;
        m_outcome = HandOutcome::AlreadyStored;
        return false;
    }
    m_outcome = HandOutcome::Failed;
    if (!FindOrInsertGameType(m_hand.gameType)) {
        return false;
    }
    row.idgametype = m_hand.gameType.id;
    row.id = 0;
    if (!row.Insert()) {
        return false;
    }
    m_hand.hand = row;
    if (lines != nullptr && !StoreHandHistory(row.id, *lines)) {
        return false;
    }
    m_storing = true;
    m_outcome = HandOutcome::Stored;
    return true;
}

int kroLineParseStrategy::AddPlayer(const std::wstring& name, int seat, int32_t stack)
{
    CHandPlayerRecord player;
    player.idplayer = ResolvePlayer(name);
    player.name = name;
    player.idhand = m_hand.hand.id;
    player.startcashincents = stack;
    player.seat = seat;
    m_hand.posts[name] = 0;
    for (auto& street : m_hand.streets) {
        street[name] = 0;
    }
    m_hand.collected[name] = 0;
    m_hand.players.push_back(std::move(player));
    m_hand.streetState.push_back(0);
    m_hand.showdownState.push_back(0);
    return static_cast<int>(m_hand.players.size()) - 1;
}

int32_t& kroLineParseStrategy::StreetAmount(int street, int index)
{
    return m_hand.streets[static_cast<size_t>(std::clamp(street, 0, 3))][Player(index).name];
}

int32_t kroLineParseStrategy::LargestOtherAmount(int street, int index) const
{
    const auto& amounts = m_hand.streets[static_cast<size_t>(std::clamp(street, 0, 3))];
    int32_t largest = 0;
    for (size_t i = 0; i < m_hand.players.size(); ++i) {
        // Two seats of the same name share one entry; it is not another player's.
        if (static_cast<int>(i) == index ||
            m_hand.players[i].name == m_hand.players[static_cast<size_t>(index)].name) {
            continue;
        }
        largest = std::max(largest, Amount(amounts, m_hand.players[i].name));
    }
    return largest;
}

void kroLineParseStrategy::AddAction(int index, const wchar_t* code, int32_t amount)
{
    if (m_hand.summarySeen) {
        return;
    }
    CActionRecord action;
    action.idhand = m_hand.hand.id;
    action.idaction = m_env.actions.ActionByCode(code);
    action.idplayer = index >= 0 ? Player(index).idplayer : -1;
    action.amount = amount;
    m_hand.actions.push_back(action);
}

void kroLineParseStrategy::AddActionByName(int index, const std::wstring& name, int32_t amount)
{
    if (m_hand.summarySeen) {
        return;
    }
    CActionRecord action;
    action.idhand = m_hand.hand.id;
    action.idaction = m_env.actions.ActionByName(name);
    action.idplayer = index >= 0 ? Player(index).idplayer : -1;
    action.amount = amount;
    m_hand.actions.push_back(action);
}

void kroLineParseStrategy::RecordFold(int index)
{
    AddActionByName(index, L"folds", 0);
    CHandPlayerRecord& player = Player(index);
    m_hand.showdownState[static_cast<size_t>(index)] = 1;
    m_hand.streetState[static_cast<size_t>(index)] = 0;
    player.stats.values[L"val_fold_street"] = m_hand.street + 1;
    player.folded = true;
}

void kroLineParseStrategy::RecordRaiseTo(int index, int32_t to)
{
    AddAction(index, L"R", to);
    // "raises X to Y": Y is all the player has put in on this street.
    StreetAmount(m_hand.street, index) = to;
    m_hand.streetState[static_cast<size_t>(index)] = m_hand.street + 1;
}

void kroLineParseStrategy::RecordCollected(int index, int32_t amount)
{
    AddAction(index, L"CP", amount);
    m_hand.collected[Player(index).name] += amount;
}

void kroLineParseStrategy::DealStreet(const std::wstring& street, int boardNumber)
{
    if (street == L"pre-flop") {
        m_hand.street = 0;
        AddAction(-1, L"FET", 0);
        return;
    }
    const wchar_t* code = L"RC";
    if (street == L"flop") {
        m_hand.street = 1;
        code = L"FC";
    } else if (street == L"turn") {
        m_hand.street = 2;
        code = L"TC";
    } else {
        m_hand.street = 3;
    }
    if (m_hand.hand.runittwice) {
        static const wchar_t* const kCodes[3][3] = {
            {L"FFC", L"FTC", L"FRC"}, {L"SFC", L"STC", L"SRC"}, {L"TFC", L"TTC", L"TRC"}};
        code = kCodes[std::clamp(boardNumber, 1, 3) - 1][m_hand.street - 1];
    }
    AddAction(-1, code, 0);
}

void kroLineParseStrategy::StorePot(int potNumber, int32_t amount)
{
    m_hand.potList.push_back(amount);
    m_hand.lastPotAmount = amount;
    if (!m_storing) {
        return;
    }
    kroDB::kroPots::data pot(m_env.db);
    pot.idhand = m_hand.hand.id;
    pot.potnum = potNumber;
    pot.amt = amount;
    (void)pot.Insert();
}

void kroLineParseStrategy::StoreTotals()
{
    if (!m_storing) {
        return;
    }
    kroDB::kroHands::data row(m_env.db);
    static_cast<CHandRecord&>(row) = m_hand.hand;
    (void)row.SetTotalPot(m_hand.hand.totalpot);
    (void)row.SetRake(m_hand.hand.rake);
}

void kroLineParseStrategy::StoreShowdown()
{
    m_hand.hand.showdown = true;
    if (!m_storing) {
        return;
    }
    kroDB::kroHands::data row(m_env.db);
    static_cast<CHandRecord&>(row) = m_hand.hand;
    (void)row.SetShowdown(true);
}

void kroLineParseStrategy::StoreBoardOfHand()
{
    if (!m_storing) {
        return;
    }
    kroDB::kroHands::data row(m_env.db);
    static_cast<CHandRecord&>(row) = m_hand.hand;
    (void)row.StoreBoard();
    m_hand.hand.boardtype = row.boardtype;
}

void kroLineParseStrategy::MarkRunItTwice()
{
    if (m_hand.hand.runittwice) {
        return;
    }
    m_hand.hand.runittwice = true;
    m_hand.runItTwice.idhand = m_hand.hand.id;
    if (m_storing) {
        kroDB::kroHands::data row(m_env.db);
        static_cast<CHandRecord&>(row) = m_hand.hand;
        (void)row.SetRunItTwice(true);
    }
}

void kroLineParseStrategy::StoreRunItTwice()
{
    if (!m_storing || m_hand.runItTwiceStored) {
        return;
    }
    kroDB::kroRunittwice::data row(m_env.db);
    static_cast<CRunItTwiceRecord&>(row) = m_hand.runItTwice;
    row.idhand = m_hand.hand.id;
    if (row.Insert()) {
        m_hand.runItTwiceStored = true;
    }
}

void kroLineParseStrategy::ReadBoard(const std::wstring& which, const std::vector<int>& cards)
{
    if (cards.empty()) {
        return;
    }
    auto& boards = m_hand.runItTwice.boards;
    std::vector<int>& common = m_hand.hand.board;
    if (which.empty()) {
        common = cards;
        StoreBoardOfHand();
        return;
    }
    if (which == L"first") {
        boards[0] = cards;
        return;
    }
    if (which == L"third") {
        // Like the second board: the cards shared with the first are -1. A
        // room that writes only the cards of the extra run gives fewer cards.
        boards[2].clear();
        if (boards[0].size() == cards.size()) {
            boards[2] = cards;
            for (size_t k = 0; k < cards.size(); ++k) {
                if (boards[0][k] == -1) {
                    boards[2][k] = -1;
                }
            }
        } else {
            const size_t shared =
                boards[0].size() > cards.size() ? boards[0].size() - cards.size() : 0;
            boards[2].assign(shared, -1);
            boards[2].insert(boards[2].end(), cards.begin(), cards.end());
        }
        StoreRunItTwice();
        return;
    }
    if (which != L"second") {
        return;
    }
    // What both runs share is the common board; each run keeps -1 there.
    boards[1].clear();
    common.clear();
    if (boards[0].size() == cards.size()) {
        for (size_t k = 0; k < cards.size(); ++k) {
            if (cards[k] == boards[0][k]) {
                boards[0][k] = -1;
                boards[1].push_back(-1);
                common.push_back(cards[k]);
            } else {
                boards[1].push_back(cards[k]);
            }
        }
    } else if (boards[0].size() > cards.size()) {
        const size_t shared = boards[0].size() - cards.size();
        for (size_t k = 0; k < shared; ++k) {
            common.push_back(boards[0][k]);
            boards[0][k] = -1;
            boards[1].push_back(-1);
        }
        boards[1].insert(boards[1].end(), cards.begin(), cards.end());
    } else {
        boards[1] = cards;
    }
    if (!common.empty()) {
        StoreBoardOfHand();
    }
    // With a third run the row waits for its board.
    if (m_hand.runItTwice.nb == 2) {
        StoreRunItTwice();
    }
}

void kroLineParseStrategy::RecordStreetLinePosition(const std::wstring& line)
{
    if (line.size() < 5) {
        return;
    }
    const int at = m_hand.lineNumber - m_hand.discount;
    const wchar_t fifth = line[4];
    const wchar_t sixth = line.size() > 5 ? line[5] : L'\0';
    switch (fifth) {
    case L'F':
        if (sixth == L'L') {
            m_hand.streetLine[0] = at;
        } else if (m_hand.firstSplitStreet == 0 && line.size() > 10) {
            // "*** FIRST FLOP", "FIRST TURN", "FIRST RIVER": the first street
            // dealt more than once is where the players were all in.
            const wchar_t which = line[10];
            m_hand.firstSplitStreet = which == L'F' ? 1 : which == L'T' ? 2 : which == L'R' ? 3 : 0;
        }
        break;
    case L'T':
        m_hand.streetLine[1] = at;
        break;
    case L'R':
        m_hand.streetLine[2] = at;
        break;
    case L'S':
        if (sixth == L'H') {
            m_hand.streetLine[3] = at;
        }
        break;
    case L'H':
        OnHoleCardsLine();
        break;
    default:
        break;
    }
}

int kroLineParseStrategy::SettleAllinStreet()
{
    CHandState& h = m_hand;
    // A street dealt with no line of its own before the next one had no
    // betting: everybody was all in before it.
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
    return allin;
}

void kroLineParseStrategy::GivePositions(bool headsUpRule)
{
    CHandState& h = m_hand;
    const int n = static_cast<int>(h.players.size());
    if (headsUpRule && n == 2) {
        for (auto& p : h.players) {
            p.position = p.seat == h.buttonSeat ? 9 : 10;
        }
        return;
    }
    if (n == 0) {
        return;
    }
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

void kroLineParseStrategy::RecordBlind(int index, Blind blind, int32_t amount)
{
    const std::wstring& name = Player(index).name;
    switch (blind) {
    case Blind::SmallAndBig: {
        AddAction(index, L"SBBB", amount);
        // Of both blinds only the big one is a live bet; the small one is
        // dead money, so a later raise "to" an amount adds to it.
        const int32_t live = std::min(amount, m_hand.gameType.bigblind);
        m_hand.streets[0][name] = live > 0 ? live : amount;
        m_hand.posts[name] += live > 0 ? amount - live : 0;
        break;
    }
    case Blind::Small:
        AddAction(index, L"SB", amount);
        // A second small blind is a dead one, posted out of turn: it is money
        // in the pot, not a bet of this street.
        if (m_hand.firstSmallBlind) {
            m_hand.streets[0][name] = amount;
            m_hand.firstSmallBlind = false;
        } else {
            m_hand.posts[name] += amount;
        }
        break;
    case Blind::Big:
        AddAction(index, L"BB", amount);
        // A big blind posted by a player who comes in is a live bet like the
        // table's own: a later raise "to" an amount includes it.
        m_hand.streets[0][name] = amount;
        if (m_hand.firstBigBlind) {
            m_hand.firstBigBlind = false;
            m_hand.bigBlindPosted = amount;
        }
        break;
    }
}

void kroLineParseStrategy::SummaryComputation()
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
        CHandPlayerRecord& p = Player(i);
        p.bet = Amount(h.posts, p.name);
        for (const auto& street : h.streets) {
            p.bet += Amount(street, p.name);
        }
        p.totalwin = TotalWinAtSummary(p, Amount(h.collected, p.name));
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

void kroLineParseStrategy::WriteActions()
{
    if (!m_storing || m_hand.actions.empty()) {
        return;
    }
    for (auto& action : m_hand.actions) {
        action.idhand = m_hand.hand.id;
    }
    kroDB::kroHandsActions table(m_env.db);
    (void)table.InsertAll(m_hand.actions);
}

void kroLineParseStrategy::StoreSeats()
{
    const auto n = static_cast<int32_t>(m_hand.players.size());
    m_hand.hand.seats = n;
    if (!m_storing) {
        return;
    }
    kroDB::kroHands::data row(m_env.db);
    static_cast<CHandRecord&>(row) = m_hand.hand;
    (void)row.SetSeats(n);
}

bool kroLineParseStrategy::RejectUnfinished(bool summarySeen)
{
    if (summarySeen) {
        return false;
    }
    m_env.log.Log(L"hand #" + m_hand.handNumberText + L" skipped: it ends before its summary");
    m_outcome = HandOutcome::Failed;
    return true;
}

void kroLineParseStrategy::StoreEndOfHand()
{
    if (!m_storing || !m_hand.summarySeen) {
        return;
    }
    if (m_hand.hand.totalpot < 0) {
        m_env.notifier.Notify(FormatW(L"hand#%ls error", m_hand.handNumberText.c_str()));
        return;
    }
    CParseSettings settings = m_env.settings;
    settings.allinDump = false;
    CParserEnvironment noDump(m_env.db, m_env.actions, m_env.context, m_env.log, m_env.notifier,
                              settings);
    CHandEnd end(noDump, m_fileName);
    end.Store(m_hand);
}

}  // namespace kroHandParser
