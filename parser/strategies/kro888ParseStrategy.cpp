#include "parser/strategies/kro888ParseStrategy.h"

#include "companion/GetTypeGameHH.h"
#include "db/tables/kroGameTypes.h"
#include "db/tables/kroHandPlayers.h"
#include "foundation/Cards.h"
#include "foundation/ILogSink.h"
#include "foundation/LocalTime.h"
#include "foundation/Money.h"
#include "foundation/WideText.h"
#include "parser/CParserEnvironment.h"
#include "parser/HandSplitter.h"
#include "parser/HeaderFields.h"
#include "parser/LineTests.h"
#include "parser/strategies/LocalizedHandText.h"

#include <algorithm>
#include <cwchar>

namespace kroHandParser {

namespace {

const boost::wregex& BlindsPattern()
{
    static const boost::wregex kBlinds(
        LR"(([^/]+)/([^/]+?) Blinds (.*) -[\*\s]* ([0-9]{1,2}) ([0-9]{1,2}) ([0-9]{4}) ([0-9]{1,2}):([0-9]{1,2}):([0-9]{1,2}))");
    return kBlinds;
}

const boost::wregex& TablePattern()
{
    static const boost::wregex kTable(LR"(Table .* (\d+) Max (.*))");
    return kTable;
}

std::vector<int> CardsOf(const std::wstring& text)
{
    std::vector<int> cards;
    CardsFromText(ReplaceAll(ReplaceAll(NormaliseCardNames(text), L"[", L""), L"]", L""), cards);
    return cards;
}

}  // namespace

int kro888ParseStrategy::ParseFile(const std::vector<std::wstring>& lines,
                                   int64_t fileId,
                                   int& currency,
                                   int32_t aliasId)
{
    CSplitRules rules;
    rules.isStart = [](const std::wstring& line) { return line.rfind(L"#Game No :", 0) == 0; };
    return SplitHands(lines, rules, [&](std::vector<std::wstring>& hand) {
        return ParseHandAsUnit(hand, fileId, currency, aliasId);
    });
}

int64_t kro888ParseStrategy::ParseHeader(const std::wstring& header,
                                         CGameTypeRecord& gameType,
                                         int64_t& et,
                                         int64_t& utc)
{
    et = 0;
    utc = 0;
    m_headerStatus = HeaderStatus::Ok;
    m_gameText.clear();
    boost::wsmatch m;
    const auto small =
        MatchLine(header, BlindsPattern(), m) ? ReadLocalizedAmount(m[1].str()) : std::nullopt;
    const auto big = small ? ReadLocalizedAmount(m[2].str()) : std::nullopt;
    if (!small || !big) {
        gameType.currency = 0;
        m_headerStatus = HeaderStatus::NoMatch;
        return 0;
    }
    const wchar_t symbol = small->symbol != 0 ? small->symbol : big->symbol;
    gameType.currency = symbol == 0 ? -1 : symbol == L'$' ? 0 : symbol == L'\u20AC' ? 1 : 2;
    gameType.smallblind = small->cents;
    gameType.bigblind = big->cents;
    gameType.idgamekind = GetTypeGameHH(Trim(m[3].str()));
    m_gameText = Trim(m[3].str());
    // Day, month, year, then the time.
    const auto t = LocalDateTimeToSeconds(ToInt(m[6].str()), ToInt(m[5].str()), ToInt(m[4].str()),
                                          ToInt(m[7].str()), ToInt(m[8].str()), ToInt(m[9].str()));
    if (!t) {
        m_headerStatus = HeaderStatus::InvalidDateTime;
        return 0;
    }
    utc = *t + m_env.settings.localOffset;
    return *t;
}

kroLineParseStrategy::ReadResult kro888ParseStrategy::ReadHand(std::vector<std::wstring>& lines,
                                                               int64_t fileId,
                                                               int& currency,
                                                               int32_t aliasId)
{
    m_blindsSeen = false;
    m_summaryLine = false;
    m_uncalled.clear();
    static const boost::wregex kStart(LR"(^#Game No : (\d+).*)");
    boost::wsmatch m;
    if (lines.empty() || !MatchLine(lines[0], kStart, m)) {
        return ReadResult::NotHandled;
    }
    ResetHand();
    m_hand.handNumberText = m[1].str();
    m_hand.hand.sitehandnumber = std::wcstoull(m_hand.handNumberText.c_str(), nullptr, 10);
    m_hand.hand.idfile = fileId;
    // Tournament hands name their tournament on the line of the table.
    for (const std::wstring& line : lines) {
        if (line.rfind(L"Tournament #", 0) == 0) {
            m_outcome = HandOutcome::Skipped;
            return ReadResult::NotHandled;
        }
    }

    static const boost::wregex kBlindsStart(LR"(^([^/]+)/([^/]+?) Blinds .*)");
    for (size_t i = 1; i < lines.size(); ++i) {
        m_hand.lineNumber = static_cast<int>(i);
        const std::wstring& line = lines[i];
        if (line.empty()) {
            continue;
        }
        if (!m_blindsSeen && MatchLine(line, kBlindsStart, m) && ReadLocalizedAmount(m[1].str())) {
            if (!ParseBlindsLine(lines, i, fileId)) {
                return m_outcome == HandOutcome::AlreadyStored ? ReadResult::Handled
                                                               : ReadResult::NotHandled;
            }
            currency = m_hand.currency;
            continue;
        }
        ParseLine(line, aliasId);
    }
    if (!m_blindsSeen) {
        // Without its stakes and time the hand cannot be told from any other.
        FailHand(L"it has no blinds line");
        return ReadResult::NotHandled;
    }
    // The shows and collections follow the summary line in this room; the
    // summary is complete once every line is read.
    m_hand.summarySeen = m_summaryLine;
    return ReadResult::Finish;
}

bool kro888ParseStrategy::ParseBlindsLine(const std::vector<std::wstring>& lines,
                                          size_t at,
                                          int64_t fileId)
{
    int64_t et = 0;
    int64_t utc = 0;
    const int64_t localtime = ParseHeader(lines[at], m_hand.gameType, et, utc);
    if (m_headerStatus == HeaderStatus::InvalidDateTime) {
        FailHand(L"its blinds line has an invalid date or time: " + lines[at]);
        return false;
    }
    if (m_headerStatus == HeaderStatus::NoMatch) {
        FailHand(L"its blinds line cannot be read: " + lines[at]);
        return false;
    }
    bool practice = m_hand.gameType.currency < 0;
    boost::wsmatch t;
    for (size_t j = at + 1; j < lines.size(); ++j) {
        if (lines[j].rfind(L"Table ", 0) != 0) {
            continue;
        }
        practice = practice || lines[j].find(L"(Practice Play)") != std::wstring::npos;
        // The seat count belongs to the game type's key: it is read before the
        // type is looked up, so that the type found is the one the table has.
        if (MatchLine(lines[j], TablePattern(), t)) {
            m_hand.gameType.maxseats = ToInt(t[1].str());
        }
        break;
    }
    if (practice) {
        m_outcome = HandOutcome::Skipped;
        return false;
    }
    if (LeaveOutUnmodelledGame(m_gameText)) {
        return false;
    }
    m_hand.currency = m_hand.gameType.currency;
    m_hand.hand.idfile = fileId;
    m_hand.hand.et = et;
    m_hand.hand.localtime = localtime;
    m_hand.hand.utc = utc;
    if (!StoreHandRow(nullptr)) {
        return false;
    }
    m_blindsSeen = true;
    m_hand.seatsAccepted = true;
    return true;
}

void kro888ParseStrategy::ParseLine(const std::wstring& line, int32_t aliasId)
{
    static const boost::wregex kAction(
        LR"((.*) (checks|calls|bets|folds|raises)(?:\s?\[(.*)\].*)?)");
    static const boost::wregex kCollected(LR"((.*) collected \[(.*)\].*)");
    static const boost::wregex kShows(LR"((.*) (shows|mucks) \[(.*)\].*)");
    boost::wsmatch m;

    if (ParseSeatsAndPosts(line, aliasId)) {
        return;
    }
    if ((Contains(line, L" checks") || Contains(line, L" calls") || Contains(line, L" bets") ||
         Contains(line, L" folds") || Contains(line, L" raises")) &&
        MatchLine(line, kAction, m)) {
        const int index = ListedPlayer(GroupView(m[1]));
        if (index >= 0) {
            const std::wstring verb = m[2].str();
            const int32_t amount = m[3].matched ? CentsOf888(m[3].str()) : 0;
            if (verb == L"folds") {
                RecordFold(index);
                return;
            }
            // The room writes what each action adds, so every amount adds up.
            int32_t& mine = StreetAmount(m_hand.street, index);
            if (verb != L"checks") {
                mine = ClampCents(static_cast<int64_t>(mine) + amount);
            }
            // A raise is recorded, as in every other room, as the total the
            // player then has in on the street.
            AddActionByName(index, verb, verb == L"raises" ? mine : amount);
            m_hand.streetState[static_cast<size_t>(index)] = m_hand.street + 1;
        }
        return;
    }
    if (Contains(line, L" collected [") && MatchLine(line, kCollected, m)) {
        const int index = ListedPlayer(GroupView(m[1]));
        if (index >= 0) {
            RecordCollected(index, CentsOf888(m[2].str()));
        }
        return;
    }
    if (Parse888StreetLine(line)) {
        return;
    }
    if ((Contains(line, L" shows [") || Contains(line, L" mucks [")) &&
        MatchLine(line, kShows, m)) {
        const int index = ListedPlayer(GroupView(m[1]));
        if (index >= 0) {
            AddAction(index, L"SD", 0);
            CHandPlayerRecord& player = Player(index);
            if (player.cards.empty()) {
                player.cards = CardsOf(m[3].str());
            }
            m_hand.showdownState[static_cast<size_t>(index)] = 2;
            if (!m_hand.hand.showdown) {
                StoreShowdown();
            }
        }
    }
}

int32_t kro888ParseStrategy::CentsOf888(const std::wstring& text)
{
    // Amounts are never negative, and a line that cannot be read must not
    // invent money: an amount that is none, or beyond the range of cents,
    // makes the hand fail rather than count as nothing.
    const auto amount = ReadLocalizedAmount(text);
    if (!amount) {
        if (m_hand.rejectReason.empty()) {
            m_hand.rejectReason =
                L"an amount is negative or beyond 21,474,836.47, or no amount: " + text;
        }
        return 0;
    }
    return amount->cents;
}

bool kro888ParseStrategy::ParseSeatsAndPosts(const std::wstring& line, int32_t aliasId)
{
    static const boost::wregex kButton(LR"(Seat (\d+) is the button)");
    static const boost::wregex kSeat(LR"(Seat (\d+): (.*) \((.*)\))");
    static const boost::wregex kPost(LR"((.*) posts (small|big) blind \[(.*)\].*)");
    static const boost::wregex kDeadPost(LR"((.*) posts dead blind \[(.*) \+ (.*)\].*)");
    static const boost::wregex kDealt(LR"(Dealt to (.*) \[(.*)\].*)");
    boost::wsmatch m;

    if (StartsWith(line, L"Table ") && MatchLine(line, TablePattern(), m)) {
        const int32_t seats = ToInt(m[1].str());
        if (m_hand.gameType.id != 0 && seats != m_hand.gameType.maxseats) {
            kroDB::kroGameTypes::data row(m_env.db);
            static_cast<CGameTypeRecord&>(row) = m_hand.gameType;
            if (row.SetMaxSeats(seats)) {
                m_hand.gameType.maxseats = seats;
            }
        }
        return true;
    }
    if (StartsWith(line, L"Seat ") && MatchLine(line, kButton, m)) {
        m_hand.buttonSeat = ToInt(m[1].str());
        return true;
    }
    if (line.rfind(L"Seat ", 0) == 0 && m_hand.seatsAccepted && MatchLine(line, kSeat, m)) {
        AddPlayer(m[2].str(), ToInt(m[1].str()), CentsOf888(m[3].str()));
        return true;
    }
    const bool posts = Contains(line, L" posts ");
    if (posts && MatchLine(line, kPost, m)) {
        const int index = ListedPlayer(GroupView(m[1]));
        if (index >= 0) {
            RecordBlind(index, m[2].str() == L"big" ? Blind::Big : Blind::Small,
                        CentsOf888(m[3].str()));
        }
        return true;
    }
    if (posts && MatchLine(line, kDeadPost, m)) {
        // A player who comes in out of turn pays both blinds at once. The
        // small one is dead money, in the pot but no part of the bet that
        // others must match; the big one is live.
        const int index = ListedPlayer(GroupView(m[1]));
        if (index >= 0) {
            RecordDeadAndLiveBlinds(index, CentsOf888(m[2].str()), CentsOf888(m[3].str()));
        }
        return true;
    }
    if (StartsWith(line, L"Dealt to ") && MatchLine(line, kDealt, m)) {
        const int index = ListedPlayer(GroupView(m[1]));
        if (index >= 0) {
            // The player whose cards are dealt face up is the hero, here as in
            // every room: the hero's all-in EV and its row for the session.
            CHandPlayerRecord& player = Player(index);
            if (!player.hero) {
                MarkHero(player.idplayer, aliasId, false);
                player.hero = true;
            }
            m_hand.heroIndex = index;
            player.cards = CardsOf(m[2].str());
        }
        return true;
    }
    return false;
}

bool kro888ParseStrategy::Parse888StreetLine(const std::wstring& line)
{
    static const boost::wregex kStreet(LR"([\*\s]*(.*)(flop|turn|river|Summary)[\*\s]*(.*))");
    boost::wsmatch m;
    // Street lines always begin with "**"; a player's name may contain "river".
    if (line.rfind(L"**", 0) != 0 || !MatchLine(line, kStreet, m)) {
        return false;
    }
    const std::wstring board = ToLowerAscii(m[1].str());
    const std::wstring street = ToLowerAscii(m[2].str());
    const bool second = board.find(L"second") != std::wstring::npos;
    if (board.find(L"first") != std::wstring::npos) {
        MarkRunItTwice();
    }
    // Where each street began: a street followed at once by the next one (or
    // the river by the summary) had no betting, as the players were all in.
    const int at = m_hand.lineNumber - m_hand.discount;
    if (street == L"summary") {
        m_hand.streetLine[3] = at;
        m_summaryLine = true;
        ComputeUncalledBets();
        return true;
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
    if (!second) {
        m_hand.streetLine[static_cast<size_t>(m_hand.street - 1)] = at;
    }
    if (m_hand.hand.runittwice) {
        static const wchar_t* const kCodes[2][3] = {{L"FFC", L"FTC", L"FRC"},
                                                    {L"SFC", L"STC", L"SRC"}};
        code = kCodes[second ? 1 : 0][m_hand.street - 1];
    }
    AddAction(-1, code, 0);
    const std::vector<int> cards = CardsOf(m[3].str());
    std::vector<int>& target = !m_hand.hand.runittwice ? m_hand.hand.board
                               : second                ? m_hand.runItTwice.boards[1]
                                                       : m_hand.runItTwice.boards[0];
    target.insert(target.end(), cards.begin(), cards.end());
    return true;
}

void kro888ParseStrategy::ComputeUncalledBets()
{
    const size_t n = m_hand.players.size();
    std::vector<int32_t> totals(n, 0);
    for (size_t i = 0; i < n; ++i) {
        for (const auto& street : m_hand.streets) {
            totals[i] += AmountOf(street, m_hand.players[i].name);
        }
    }
    m_uncalled.assign(n, 0);
    if (n < 2) {
        return;
    }
    std::vector<int32_t> sorted = totals;
    std::sort(sorted.begin(), sorted.end(), std::greater<int32_t>());
    const int32_t second = sorted[1];
    if (second >= sorted[0]) {
        return;
    }
    // No other player matched more than the second largest total: the rest
    // went back to the player who put it in.
    for (size_t i = 0; i < n; ++i) {
        if (totals[i] > second) {
            m_uncalled[i] = totals[i] - second;
            AddAction(static_cast<int>(i), L"UB", m_uncalled[i]);
        }
    }
}

void kro888ParseStrategy::CompleteHand()
{
    CHandState& h = m_hand;
    const size_t n = h.players.size();
    const int allin = SettleAllinStreet();
    // Heads-up the small blind is the button here as everywhere.
    GivePositions(true);
    m_uncalled.resize(n, 0);

    int64_t totals = 0;
    int64_t returned = 0;
    int64_t collected = 0;
    for (size_t i = 0; i < n; ++i) {
        totals += AmountOf(h.posts, h.players[i].name);
        for (const auto& street : h.streets) {
            totals += AmountOf(street, h.players[i].name);
        }
        returned += m_uncalled[i];
        collected += AmountOf(h.collected, h.players[i].name);
    }
    // What comes back uncalled was never in the pot. Most files pay the
    // winners only the pot; older ones include the returned bet in what the
    // bettor "collected", which then pays out more than the pot held.
    const bool collectedIncludesReturn = returned > 0 && collected > totals - returned;
    int64_t totalPot = 0;
    int64_t paidOut = 0;
    for (size_t i = 0; i < n; ++i) {
        CHandPlayerRecord& p = h.players[i];
        int64_t total = AmountOf(h.posts, p.name);
        for (const auto& street : h.streets) {
            total += AmountOf(street, p.name);
        }
        const int32_t won = AmountOf(h.collected, p.name);
        const int32_t back = m_uncalled[i];
        if (!collectedIncludesReturn) {
            p.bet = ClampCents(total - back);
            p.totalwin = won;
        } else if (won >= back) {
            p.bet = ClampCents(total - back);
            p.totalwin = won - back;
        } else {
            p.bet = ClampCents(total);
            p.totalwin = won;
        }
        p.netwin = ClampCents(static_cast<int64_t>(p.totalwin) - p.bet);
        if (h.hand.showdown && h.showdownState[i] == 2) {
            p.showdownwin = p.netwin;
        } else {
            p.nonshowdownwin = p.netwin;
        }
        const int streetState = h.streetState[i];
        if (allin != 0 && streetState != 0) {
            p.stats.values[L"val_allin_street"] = streetState;
        }
        totalPot += p.bet;
        paidOut += p.totalwin;
    }
    h.hand.totalpot = ClampCents(totalPot);
    h.hand.rake = ClampCents(totalPot - paidOut);
    h.showdownSeen = h.hand.showdown;

    if (!h.hand.board.empty()) {
        StoreBoardOfHand();
    }
    if (h.runItTwice.idhand != 0) {
        StoreRunItTwice();
    }
    StoreSeats();
    StoreTotals();
    StorePot(0, h.hand.totalpot - h.hand.rake);
}

}  // namespace kroHandParser
