#include "parser/strategies/kroLineParseStrategy.h"

#include "db/tables/CActionList.h"
#include "db/tables/kroHands.h"
#include "db/tables/kroHandsActions.h"
#include "db/tables/kroPots.h"
#include "db/tables/kroRunittwice.h"
#include "foundation/GameKinds.h"
#include "foundation/ILogSink.h"
#include "foundation/IUserNotifier.h"
#include "foundation/Money.h"
#include "foundation/WideText.h"
#include "parser/CParserEnvironment.h"
#include "parser/HandEnd.h"
#include "parser/HeaderFields.h"
#include "parser/LineTests.h"

#include <algorithm>

namespace kroHandParser {

namespace {

// The longest name the players table keeps.
constexpr size_t kLongestName = 255;

}  // namespace

bool kroLineParseStrategy::ParseHand(std::vector<std::wstring>& lines,
                                     int64_t fileId,
                                     int& currency,
                                     int32_t aliasId)
{
    m_outcome = HandOutcome::Failed;
    m_storing = false;
    switch (ReadHand(lines, fileId, currency, aliasId)) {
    case ReadResult::Finish:
        break;
    case ReadResult::Handled:
        return true;
    case ReadResult::NotHandled:
        return false;
    }
    if (!m_storing) {
        return m_outcome == HandOutcome::AlreadyStored;
    }
    return FinishHand();
}

bool kroLineParseStrategy::FinishHand()
{
    if (RejectUnfinished()) {
        return false;
    }
    CompleteHand();
    if (!CheckWholeHand()) {
        return false;
    }
    WriteActions();
    CHandEnd end(m_env, m_fileName, KeepsAllinDump());
    end.Store(m_hand);
    return true;
}

bool kroLineParseStrategy::RejectUnfinished()
{
    if (m_hand.summarySeen) {
        return false;
    }
    FailHand(L"it ends before its summary");
    return true;
}

void kroLineParseStrategy::FailHand(const std::wstring& reason)
{
    m_env.log.Log(L"hand #" + m_hand.handNumberText + L" skipped: " + reason);
    m_outcome = HandOutcome::Failed;
}

bool kroLineParseStrategy::CheckWholeHand()
{
    CHandState& h = m_hand;
    if (!h.rejectReason.empty()) {
        FailHand(h.rejectReason);
        return false;
    }
    // A hand without its pot would be stored with actions but no players: it
    // is stored whole or not at all.
    if (PrintsTotalPot() && !h.potLineSeen && !h.cancelled) {
        FailHand(L"its total pot line is missing or unreadable");
        return false;
    }
    if (h.cancelled || h.hand.totalpot == 0) {
        m_env.log.Log(L"hand #" + h.handNumberText +
                      L" left out: it was cancelled, nothing was played for");
        m_outcome = HandOutcome::Skipped;
        return false;
    }
    if (h.hand.totalpot < 0) {
        m_env.notifier.Notify(FormatW(L"hand#%ls error", h.handNumberText.c_str()));
        FailHand(L"its total pot is negative");
        return false;
    }
    // Amounts are 32-bit counts of cents; one read beyond them was clamped,
    // and a stored sum of them would wrap. Such a hand is not stored rather
    // than stored with a wrong number.
    const std::wstring range = L" is negative or beyond 21,474,836.47";
    if (IsAmountOutOfRange(h.hand.totalpot) || IsAmountOutOfRange(h.hand.rake)) {
        FailHand(L"its total pot or rake" + range);
        return false;
    }
    for (const CHandPlayerRecord& p : h.players) {
        if (IsAmountOutOfRange(p.startcashincents) || IsAmountOutOfRange(p.bet) ||
            IsAmountOutOfRange(p.totalwin)) {
            FailHand(L"the stack, bet or win of " + p.name + range);
            return false;
        }
    }
    for (const CActionRecord& action : h.actions) {
        if (IsAmountOutOfRange(action.amount)) {
            FailHand(L"an action's amount" + range);
            return false;
        }
    }
    return true;
}

bool kroLineParseStrategy::LeaveOutUnmodelledGame(const std::wstring& gameText)
{
    if (IsModelledGame(m_hand.gameType.idgamekind)) {
        return false;
    }
    const std::wstring game = Trim(gameText);
    m_env.log.Log(L"hand #" + m_hand.handNumberText + L" left out: " +
                  (game.empty() ? std::wstring(L"its game") : game) + L" is a game we do not read");
    m_outcome = HandOutcome::Skipped;
    return true;
}

int32_t kroLineParseStrategy::AmountOf(const std::map<std::wstring, int32_t>& map,
                                       const std::wstring& name)
{
    const auto it = map.find(name);
    return it == map.end() ? 0 : it->second;
}

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
    if (const int64_t stored = StoredCopy(row); stored > 0) {
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
    // The database keeps names of at most 255 characters, and a NUL ends the
    // text a statement sends: such a "name" is a damaged line, and storing it
    // cut would make up a player.
    if (m_hand.rejectReason.empty()) {
        if (Trim(name).empty()) {
            // Nameless players cannot be told apart, nor their actions read.
            m_hand.rejectReason = L"a seat line names no player";
        } else if (name.find(L'\0') != std::wstring::npos) {
            m_hand.rejectReason = L"a player name contains a NUL character";
        } else if (name.size() > kLongestName) {
            m_hand.rejectReason =
                L"a player name is longer than 255 characters: " + name.substr(0, 40) + L"...";
        }
    }
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
        largest = std::max(largest, AmountOf(amounts, m_hand.players[i].name));
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

void kroLineParseStrategy::AddSummaryAction(int index, const wchar_t* code, int32_t amount)
{
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

bool kroLineParseStrategy::ParseStreetLine(const std::wstring& line)
{
    static const boost::wregex kStreet(
        LR"([\*\s]*(FIRST |SECOND |THIRD )?(PRE-FLOP|FLOP|TURN|RIVER|SHOW DOWN|SUMMARY|SHOWDOWN)[\*\s]*(.*))");
    // Every street line names its street in capitals.
    if (!Contains(line, L"FLOP") && !Contains(line, L"TURN") && !Contains(line, L"RIVER") &&
        !Contains(line, L"SHOW") && !Contains(line, L"SUMMARY")) {
        return false;
    }
    boost::wsmatch m;
    if (!MatchLine(line, kStreet, m)) {
        return false;
    }
    const std::wstring board = ToLowerAscii(Trim(m[1].str()));
    const std::wstring street = ToLowerAscii(m[2].str());
    int boardNumber = 1;
    if (board == L"first") {
        MarkRunItTwice();
    } else if (board == L"second") {
        boardNumber = 2;
    } else if (board == L"third") {
        m_hand.runItTwice.nb = 3;
        boardNumber = 3;
    }
    if (street == L"show down") {
        m_hand.showdownSeen = true;
        StoreShowdown();
        return true;
    }
    if (street == L"summary") {
        OnSummaryLine();
        return true;
    }
    // Some rooms write "SHOWDOWN" in nearly every hand, shown cards or not:
    // it is neither a show down nor a street of the board.
    if (street == L"showdown") {
        return true;
    }
    OnStreetDealt();
    DealStreet(street, boardNumber);
    return true;
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
    m_hand.potLineSeen = true;
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
        // Heads-up the small blind acts first before the flop. The posts say
        // who it is, also in old files whose button is the big blind.
        const int32_t smallBlind = m_env.actions.ActionByCode(L"SB");
        const int32_t bigBlind = m_env.actions.ActionByCode(L"BB");
        int smallIndex = -1;
        int bigIndex = -1;
        for (const CActionRecord& action : h.actions) {
            for (int i = 0; i < n; ++i) {
                if (action.idplayer != h.players[static_cast<size_t>(i)].idplayer) {
                    continue;
                }
                if (action.idaction == smallBlind && smallIndex < 0) {
                    smallIndex = i;
                } else if (action.idaction == bigBlind && bigIndex < 0) {
                    bigIndex = i;
                }
            }
        }
        if (smallIndex >= 0 && bigIndex >= 0 && smallIndex != bigIndex) {
            h.players[static_cast<size_t>(smallIndex)].position = 9;
            h.players[static_cast<size_t>(bigIndex)].position = 10;
            return;
        }
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
        // Of both blinds only the big one is a live bet; the small one is
        // dead money, so a later raise "to" an amount adds to it.
        const int32_t live = std::min(amount, m_hand.gameType.bigblind);
        RecordDeadAndLiveBlinds(index, live > 0 ? amount - live : 0, live > 0 ? live : amount);
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

void kroLineParseStrategy::RecordDeadAndLiveBlinds(int index, int32_t dead, int32_t live)
{
    const std::wstring& name = Player(index).name;
    AddAction(index, L"SBBB", ClampCents(static_cast<int64_t>(dead) + live));
    m_hand.streets[0][name] += live;
    m_hand.posts[name] += dead;
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
        int64_t bet = AmountOf(h.posts, p.name);
        for (const auto& street : h.streets) {
            bet += AmountOf(street, p.name);
        }
        p.bet = ClampCents(bet);
        p.totalwin = TotalWinAtSummary(p, AmountOf(h.collected, p.name));
        p.netwin = ClampCents(static_cast<int64_t>(p.totalwin) - p.bet);
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

}  // namespace kroHandParser
