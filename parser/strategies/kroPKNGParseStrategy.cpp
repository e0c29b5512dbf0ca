#include "parser/strategies/kroPKNGParseStrategy.h"

#include "companion/GetTypeGameHH.h"
#include "foundation/GameKinds.h"
#include "foundation/ILogSink.h"
#include "foundation/WideText.h"
#include "parser/CParserEnvironment.h"
#include "parser/HandSplitter.h"
#include "parser/HeaderFields.h"

#include <cwchar>

namespace kroHandParser {

namespace {

// The game kind of the text after the stakes: the room names the game in the
// last brackets ("(Hold'em)", "(Omaha HiLow)", "(Six Plus Hold'em)").
int GameKindOf(const std::wstring& description)
{
    if (description.find(L"Hold'em 36") != std::wstring::npos ||
        description.find(L"Six Plus") != std::wstring::npos ||
        description.find(L"6+") != std::wstring::npos) {
        return kGameShortDeckHoldem;
    }
    std::wstring game = description;
    const size_t open = description.rfind(L'(');
    const size_t close = description.rfind(L')');
    if (open != std::wstring::npos && close != std::wstring::npos && close > open) {
        game = description.substr(open + 1, close - open - 1);
    }
    return GetTypeGameHH(ReplaceAll(game, L"HiLow", L"Hi/Lo"));
}

}  // namespace

int kroPKNGParseStrategy::ParseFile(const std::vector<std::wstring>& lines,
                                    int64_t fileId,
                                    int& currency,
                                    int32_t /*aliasId*/)
{
    CSplitRules rules;
    rules.isStart = [](const std::wstring& line) {
        return line.rfind(L"Game started at:", 0) == 0;
    };
    return SplitHands(lines, rules, [&](std::vector<std::wstring>& hand) {
        return ParseHandAsUnit(hand, fileId, currency, 0);
    });
}

int64_t kroPKNGParseStrategy::ParseHeader(const std::wstring& header,
                                          CGameTypeRecord& gameType,
                                          int64_t& et,
                                          int64_t& utc)
{
    // The client writes months, days and seconds without leading zeros.
    static const boost::wregex kStarted(
        LR"(Game started at: (\d{4})/(\d{1,2})/(\d{1,2}) (\d+):(\d+):(\d+))");
    et = 0;
    utc = 0;
    gameType.currency = 0;
    m_headerStatus = HeaderStatus::Ok;
    boost::wsmatch m;
    if (!MatchLine(header, kStarted, m)) {
        m_headerStatus = HeaderStatus::NoMatch;
        return 0;
    }
    const auto t = DateTimeFromGroups(m, 1);
    if (!t) {
        m_headerStatus = HeaderStatus::InvalidDateTime;
        return 0;
    }
    const int64_t offset = m_env.settings.localOffset;
    et = *t + offset - 18000;
    utc = *t + offset;
    return *t;
}

kroLineParseStrategy::ReadResult kroPKNGParseStrategy::ReadHand(std::vector<std::wstring>& lines,
                                                                int64_t fileId,
                                                                int& currency,
                                                                int32_t /*aliasId*/)
{
    m_started = false;
    m_showed.clear();
    m_summarised.clear();
    ResetHand();
    int64_t et = 0;
    int64_t utc = 0;
    int64_t localtime = 0;
    for (size_t i = 0; i < lines.size(); ++i) {
        m_hand.lineNumber = static_cast<int>(i);
        std::wstring line = lines[i];
        if (line == L"------ Summary ------") {
            line = L"*** SUMMARY ***";
        } else if (line.rfind(L"*Player", 0) == 0) {
            // The winner's line is marked with a star.
            line.erase(0, 1);
        }
        if (line.empty()) {
            continue;
        }
        if (line.rfind(L"***", 0) == 0) {
            RecordStreetLinePosition(line);
        }
        if (line.rfind(L"Game started at:", 0) == 0) {
            localtime = ParseHeader(line, m_hand.gameType, et, utc);
            if (m_headerStatus == HeaderStatus::InvalidDateTime) {
                m_env.log.Log(L"hand skipped: its start has an invalid date or time: " + line);
                m_outcome = HandOutcome::Failed;
                return ReadResult::NotHandled;
            }
            continue;
        }
        if (!m_started && line.rfind(L"Game ID: ", 0) == 0) {
            m_hand.hand.et = et;
            m_hand.hand.localtime = localtime;
            m_hand.hand.utc = utc;
            if (!StartHand(lines, i, fileId, currency)) {
                return m_outcome == HandOutcome::AlreadyStored ? ReadResult::Handled
                                                               : ReadResult::NotHandled;
            }
            continue;
        }
        if (m_started) {
            ParseLine(line);
        }
    }
    if (!m_started) {
        // A hand without its number cannot be stored or recognised later.
        m_env.log.Log(L"hand skipped: no game id line after: " +
                      (lines.empty() ? std::wstring() : lines[0]));
        m_outcome = HandOutcome::Failed;
        return ReadResult::NotHandled;
    }
    return ReadResult::Finish;
}

bool kroPKNGParseStrategy::StartHand(const std::vector<std::wstring>& lines,
                                     size_t at,
                                     int64_t fileId,
                                     int& currency)
{
    static const boost::wregex kShortDeck(
        LR"(Game ID: (\d+) (\d+.?[0-9]{0,2})/(\d+.?[0-9]{0,2}) PKNG(\d+) \(Hold'em 36\))");
    static const boost::wregex kGame(
        LR"(Game ID: (\d+) (\d+(?:\.\d{1,2})?)/(\d+(?:\.\d{1,2})?)\s*(.*))");
    static const boost::wregex kMax(LR"((\d+)-Max)", boost::regex::icase);
    static const boost::wregex kSeat(LR"(Seat (\d+): (.*) \((\d+.?[0-9]{0,2})\).*)");
    static const boost::wregex kAnte(LR"(Player (.*) ante \((\d+.?[0-9]{0,2})\))");
    boost::wsmatch m;
    const std::wstring& line = lines[at];
    CGameTypeRecord& g = m_hand.gameType;
    m_gameText.clear();
    if (MatchLine(line, kShortDeck, m)) {
        g.idgamekind = kGameShortDeckHoldem;
        m_gameText = L"Hold'em 36";
        g.smallblind = CentsOf(m[2]);
        g.bigblind = CentsOf(m[3]);
        // Short-deck tables play an ante of one big blind from everybody.
        g.ante = g.bigblind;
    } else if (MatchLine(line, kGame, m)) {
        const std::wstring description = m[4].str();
        // A tournament table names its buy-in right after the blinds and its
        // table number ("10/20 $2.20 Turbo Heads-up, Table 1"); cash tables
        // name their stakes and a table name, at most a buy-in cap ("($5
        // Max)"). Tournament chips are no money: such hands stay out, as in
        // every room.
        static const boost::wregex kTournament(LR"(^\s*[\$€£]\d.*|.*, Table \d+ .*)");
        if (boost::regex_match(description, kTournament)) {
            m_outcome = HandOutcome::Skipped;
            return false;
        }
        g.idgamekind = GameKindOf(description);
        m_gameText = description;
        g.smallblind = CentsOf(m[2]);
        g.bigblind = CentsOf(m[3]);
        boost::wsmatch seats;
        if (boost::regex_search(description, seats, kMax)) {
            g.maxseats = ToInt(seats[1].str());
        }
    } else {
        return false;
    }
    g.idsite = m_siteId;
    // At the first ante the seat count becomes the number of players seated.
    // It is part of the game type's key, so it is counted before the type is
    // looked up.
    int seated = 0;
    boost::wsmatch s;
    for (size_t j = at + 1; j < lines.size(); ++j) {
        if (MatchLine(lines[j], kAnte, s)) {
            g.maxseats = seated;
            break;
        }
        if (lines[j].rfind(L"Seat ", 0) == 0 && MatchLine(lines[j], kSeat, s)) {
            ++seated;
        }
    }
    m_hand.handNumberText = m[1].str();
    m_hand.hand.sitehandnumber = std::wcstoull(m_hand.handNumberText.c_str(), nullptr, 10);
    m_hand.hand.idfile = fileId;
    Trace(m_hand.handNumberText);
    if (LeaveOutUnmodelledGame(m_gameText)) {
        return false;
    }
    currency = g.currency;
    m_hand.currency = g.currency;
    m_hand.runItTwice.nb = 2;
    if (!StoreHandRow(nullptr)) {
        return false;
    }
    m_started = true;
    m_hand.seatsAccepted = true;
    return true;
}

void kroPKNGParseStrategy::ParseLine(const std::wstring& line)
{
    if (ParseSeatsAndPosts(line)) {
        return;
    }
    if (ParseActions(line)) {
        return;
    }
    if (ParseStreetLine(line)) {
        return;
    }
    if (ParsePots(line)) {
        return;
    }
    if (ParseBoard(line)) {
        return;
    }
    ParsePlayerSummary(line);
}

}  // namespace kroHandParser
