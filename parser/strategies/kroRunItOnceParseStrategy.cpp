#include "parser/strategies/kroRunItOnceParseStrategy.h"

#include "companion/GetTypeGameHH.h"
#include "foundation/GameKinds.h"
#include "foundation/ILogSink.h"
#include "parser/CParserEnvironment.h"
#include "parser/HandSplitter.h"
#include "parser/HeaderFields.h"

#include <algorithm>
#include <cwchar>

namespace kroHandParser {

int kroRunItOnceParseStrategy::ParseFile(const std::vector<std::wstring>& lines,
                                         int64_t fileId,
                                         int& currency,
                                         int32_t /*aliasId*/)
{
    CSplitRules rules;
    rules.isStart = [](const std::wstring& line) {
        return line.rfind(L"Run It Once Poker Hand #", 0) == 0 ||
               line.find(L"Run It Once Poker Zoom Hand #") != std::wstring::npos;
    };
    return SplitHands(lines, rules, [&](std::vector<std::wstring>& hand) {
        return ParseHandAsUnit(hand, fileId, currency, 0);
    });
}

int64_t kroRunItOnceParseStrategy::ParseHeader(const std::wstring& header,
                                               CGameTypeRecord& gameType,
                                               int64_t& et,
                                               int64_t& utc)
{
    static const boost::wregex kHeader(
        LR"(Run It Once Poker Hand #\d+:\s+(.*) \(([\$|€])(\d+.?[0-9]{0,2})/[\$|€](\d+.?[0-9]{0,2})\) - (\d{4})/(\d{2})/(\d{2}) (\d+):(\d+) UTC \[(\d{4})/(\d{2})/(\d{2}) (\d+):(\d+) (\w+)\](.*))");
    gameType.fast = false;
    et = 0;
    utc = 0;
    m_gameText.clear();
    m_headerStatus = HeaderStatus::Ok;
    boost::wsmatch m;
    if (!SearchLine(header, kHeader, m)) {
        m_headerStatus = HeaderStatus::NoMatch;
        return 0;
    }
    const std::wstring symbol = m[2].str();
    gameType.currency = symbol == L"$" ? 0 : symbol == L"\u20AC" ? 1 : -1;
    gameType.smallblind = CentsOf(m[3]);
    gameType.bigblind = CentsOf(m[4]);
    gameType.idgamekind = GetTypeGameHH(m[1].str());
    m_gameText = m[1].str();
    const auto universal = DateTimeFromGroupsNoSeconds(m, 5);
    const auto local = DateTimeFromGroupsNoSeconds(m, 10);
    if (!universal || !local) {
        m_headerStatus = HeaderStatus::InvalidDateTime;
        return 0;
    }
    et = *universal - 14400;
    utc = *local + m_env.settings.localOffset;
    return *local;
}

kroLineParseStrategy::ReadResult kroRunItOnceParseStrategy::ReadHand(
    std::vector<std::wstring>& lines, int64_t fileId, int& currency, int32_t /*aliasId*/)
{
    m_splash = 0;
    m_lastAggressor = -1;
    static const boost::wregex kStart(LR"(^(.*) Hand #(\d+):.*)");
    boost::wsmatch m;
    if (lines.empty() || !SearchLine(lines[0], kStart, m)) {
        return ReadResult::NotHandled;
    }
    // Tournament chips are no money; such hands stay out as in other rooms.
    if (ContainsAfterFirst(lines[0], L"Tournament")) {
        m_outcome = HandOutcome::Skipped;
        return ReadResult::NotHandled;
    }
    if (!StartHand(lines, m, fileId, currency)) {
        return m_outcome == HandOutcome::AlreadyStored ? ReadResult::Handled
                                                       : ReadResult::NotHandled;
    }
    // Some files show every player's hole cards as "Dealt to" lines; then
    // none of them can be told to be the hero.
    const auto dealt = std::count_if(lines.begin(), lines.end(), [](const std::wstring& line) {
        return line.rfind(L"Dealt to ", 0) == 0;
    });
    m_manyDealt = dealt > 1;
    for (size_t i = 1; i < lines.size(); ++i) {
        m_hand.lineNumber = static_cast<int>(i);
        const std::wstring& line = lines[i];
        if (line.empty()) {
            continue;
        }
        if (line.rfind(L"***", 0) == 0) {
            RecordStreetLinePosition(line);
        }
        ParseLine(line);
    }
    return ReadResult::Finish;
}

bool kroRunItOnceParseStrategy::StartHand(const std::vector<std::wstring>& lines,
                                          const boost::wsmatch& start,
                                          int64_t fileId,
                                          int& currency)
{
    ResetHand();
    m_hand.handNumberText = start[2].str();
    m_hand.hand.sitehandnumber = std::wcstoull(m_hand.handNumberText.c_str(), nullptr, 10);
    m_hand.hand.idfile = fileId;
    Trace(m_hand.handNumberText);

    int64_t et = 0;
    int64_t utc = 0;
    const int64_t localtime = ParseHeader(lines[0], m_hand.gameType, et, utc);
    if (m_headerStatus == HeaderStatus::InvalidDateTime) {
        FailHand(L"its header has an invalid date or time: " + lines[0]);
        return false;
    }
    // Without its stakes and time the hand cannot be told from any other.
    if (m_headerStatus == HeaderStatus::NoMatch) {
        FailHand(L"its header cannot be read: " + lines[0]);
        return false;
    }
    if (LeaveOutUnmodelledGame(m_gameText)) {
        return false;
    }
    m_hand.gameType.idsite = m_siteId;
    currency = m_hand.gameType.currency;
    m_hand.currency = m_hand.gameType.currency;
    m_hand.hand.et = et;
    m_hand.hand.localtime = localtime;
    m_hand.hand.utc = utc;

    static const boost::wregex kTable(LR"(Table ID '.*' (\d+)-Max Seat #(\d+) is the button)");
    boost::wsmatch t;
    if (lines.size() > 1 && SearchLine(lines[1], kTable, t)) {
        m_hand.gameType.maxseats =
            static_cast<int32_t>(std::wcstol(t[1].str().c_str(), nullptr, 10));
    }
    if (ContainsAfterFirst(m_fileName, L"Fusion")) {
        m_hand.gameType.idgamekind = kGameFusion;
    }
    if (!StoreHandRow(&lines)) {
        return false;
    }
    m_hand.seatsAccepted = true;
    return true;
}

void kroRunItOnceParseStrategy::ParseLine(const std::wstring& line)
{
    if (ParseSeatsAndPosts(line)) {
        return;
    }
    if (ParseActions(line)) {
        return;
    }
    if (ParseShowdown(line)) {
        return;
    }
    if (ParseStreetLine(line)) {
        return;
    }
    if (ParsePots(line)) {
        return;
    }
    ParseBoard(line);
}

void kroRunItOnceParseStrategy::CompleteHand()
{
    CHandState& h = m_hand;
    // A splash goes into the pot once, but some files add it to the amount
    // collected from each pot: the winner then takes more than the pot held,
    // by exactly the splash. Its win is what the pot held.
    int64_t collected = 0;
    int collectors = 0;
    int winner = -1;
    for (size_t i = 0; i < h.players.size(); ++i) {
        const int32_t amount = AmountOf(h.collected, h.players[i].name);
        collected += amount;
        if (amount > 0) {
            ++collectors;
            winner = static_cast<int>(i);
        }
    }
    const int64_t pot = static_cast<int64_t>(h.hand.totalpot) - h.hand.rake;
    if (m_splash > 0 && collectors == 1 && collected - pot == m_splash) {
        CHandPlayerRecord& p = Player(winner);
        p.totalwin -= m_splash;
        p.netwin -= m_splash;
    }
    FinishShowdown();
}

void kroRunItOnceParseStrategy::OnSummaryLine()
{
    SummaryComputation();
    ShareSplash();
}

void kroRunItOnceParseStrategy::ShareSplash()
{
    if (m_splash <= 0) {
        return;
    }
    int winners = 0;
    for (auto& p : m_hand.players) {
        if (p.netwin >= 1) {
            p.stats.values[L"val_stp"] = m_splash;
            ++winners;
        }
    }
    // A split pot splits the splash too.
    if (winners > 1) {
        for (auto& p : m_hand.players) {
            if (p.netwin > 0) {
                p.stats.values[L"val_stp"] = m_splash / winners;
            }
        }
    }
}

void kroRunItOnceParseStrategy::FinishShowdown()
{
    CHandState& h = m_hand;
    if (!h.summarySeen) {
        return;
    }
    // The room writes who mucked at the show down only in the summary, after
    // the summary line: two players who showed or mucked make a show down.
    int showed = 0;
    for (int state : h.showdownState) {
        showed += state == 2 ? 1 : 0;
    }
    if (!h.showdownSeen && showed > 1) {
        h.showdownSeen = true;
        h.hand.stats.values[L"val_players_sd"] = showed;
        StoreShowdown();
    }
    for (size_t i = 0; i < h.players.size(); ++i) {
        CHandPlayerRecord& p = h.players[i];
        const bool atShowdown = h.showdownSeen && h.showdownState[i] == 2;
        p.showdownwin = atShowdown ? p.netwin : 0;
        p.nonshowdownwin = atShowdown ? 0 : p.netwin;
    }
}

}  // namespace kroHandParser
