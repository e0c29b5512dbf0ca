#include "parser/strategies/kroPokerStarsParseStrategy.h"

#include "db/tables/kroHands.h"
#include "foundation/GameKinds.h"
#include "foundation/ILogSink.h"
#include "foundation/WideText.h"
#include "parser/CParseContext.h"
#include "parser/CParserEnvironment.h"
#include "parser/HandSplitter.h"
#include "parser/HeaderFields.h"

#include <cwchar>

namespace kroHandParser {

bool kroPokerStarsParseStrategy::IsHandStart(const std::wstring& line) const
{
    // Home Game hands and the old "Game #" headers open hands too; without them
    // such files would import nothing although they are detected.
    return line.rfind(L"PokerStars Hand #", 0) == 0 ||
           line.find(L"PokerStars Zoom Hand #") != std::wstring::npos ||
           line.rfind(L"PokerStars Home Game Hand #", 0) == 0 ||
           line.rfind(L"PokerStars Game #", 0) == 0;
}

int kroPokerStarsParseStrategy::ParseFile(const std::vector<std::wstring>& lines,
                                          int64_t fileId,
                                          int& currency,
                                          int32_t aliasId)
{
    CSplitRules rules;
    rules.isStart = [this](const std::wstring& line) { return IsHandStart(line); };
    rules.leaveOut = [](const std::wstring& line, std::vector<std::wstring>&) {
        return IsTableChatterLine(line) || line.rfind(L"# {", 0) == 0;
    };
    return SplitHands(lines, rules, [&](std::vector<std::wstring>& hand) {
        return ParseHandAsUnit(hand, fileId, currency, aliasId);
    });
}

kroLineParseStrategy::ReadResult kroPokerStarsParseStrategy::ReadHand(
    std::vector<std::wstring>& lines, int64_t fileId, int& currency, int32_t aliasId)
{
    if (lines.empty()) {
        return ReadResult::NotHandled;
    }
    static const boost::wregex kStart(LR"(^(.*) (?:Hand|Game) #(\d+):.*)");
    static const boost::wregex kGGStart(LR"(^Poker Hand #\D*(\d+):.*)");
    const std::wstring& header = lines[0];
    boost::wsmatch m;
    const bool gg = MatchLine(header, kGGStart, m);
    if (!gg && !MatchLine(header, kStart, m)) {
        return ReadResult::NotHandled;
    }
    // A client's own export mixes tournament hands into cash files: their
    // chips are no money and their blinds come from levels, so they stay out.
    if (ContainsAfterFirst(header, L"Tournament")) {
        m_outcome = HandOutcome::Skipped;
        return ReadResult::NotHandled;
    }
    m_gameLeftOut = false;
    if (!StartHand(lines, m, gg, fileId, currency)) {
        const bool handled = m_outcome == HandOutcome::AlreadyStored ||
                             (m_outcome == HandOutcome::Skipped && !m_gameLeftOut);
        return handled ? ReadResult::Handled : ReadResult::NotHandled;
    }
    ParseBody(lines, aliasId);
    return ReadResult::Finish;
}

bool kroPokerStarsParseStrategy::StartHand(const std::vector<std::wstring>& lines,
                                           const boost::wsmatch& start,
                                           bool ggHeader,
                                           int64_t fileId,
                                           int& currency)
{
    m_hand = CHandState();
    m_hand.gameType.idsite = m_siteId;
    const std::wstring& header = lines[0];
    m_hand.handNumberText = ggHeader ? start[1].str() : start[2].str();

    static const wchar_t* const kClubWords[] = {L"PokerMaster", L"UPoker", L"PPPoker", L"PokerBros",
                                                L"Suprema"};
    if (!ggHeader) {
        for (const wchar_t* word : kClubWords) {
            if (header.rfind(word, 0) == 0) {
                m_hand.club = true;
            }
        }
        // Club hand numbers this long belong to no real table.
        if (m_hand.club && m_hand.handNumberText.size() > 17) {
            m_outcome = HandOutcome::Skipped;
            return false;
        }
    }
    m_hand.gg = ggHeader;
    m_hand.hand.sitehandnumber = std::wcstoull(m_hand.handNumberText.c_str(), nullptr, 10);
    m_hand.hand.idfile = fileId;
    Trace(m_hand.handNumberText);

    int64_t et = 0;
    int64_t utc = 0;
    m_hand.rupees = header.find(L" INR)") != std::wstring::npos;
    const int64_t localtime = ParseHeader(header, m_hand.gameType, et, utc);
    if (m_headerStatus == HeaderStatus::InvalidDateTime) {
        FailHand(L"its header has an invalid date or time: " + header);
        return false;
    }
    // Without its stakes and time the hand cannot be told from any other.
    if (m_headerStatus == HeaderStatus::NoMatch) {
        FailHand(L"its header cannot be read: " + header);
        return false;
    }
    if (LeaveOutUnmodelledGame(m_gameText)) {
        m_gameLeftOut = true;
        return false;
    }
    m_hand.gameType.idsite = m_siteId;
    currency = m_hand.gameType.currency;
    m_hand.currency = m_hand.gameType.currency;
    m_hand.hand.et = et;
    m_hand.hand.localtime = localtime;
    m_hand.hand.utc = utc;

    // Headers that lost their blinds take the table's last ones. Short-deck
    // tables have no small blind at all: their one amount is ante and button
    // blind.
    const bool buttonBlindGame = m_hand.gameType.smallblind == 0 && m_hand.gameType.ante > 0;
    if (ggHeader && !buttonBlindGame) {
        int32_t lastSmall = 0;
        int32_t lastBig = 0;
        m_env.context.LastGGBlinds(lastSmall, lastBig);
        CGameTypeRecord& g = m_hand.gameType;
        if (g.smallblind == 0) {
            g.smallblind = lastSmall;
        }
        if (g.bigblind == 0) {
            g.bigblind = lastBig;
        }
        if (g.smallblind != 0) {
            const int32_t ratio = g.bigblind / g.smallblind;
            if (ratio != 1 && ratio != 2 && ratio != 3) {
                if (g.smallblind == lastSmall) {
                    g.bigblind = lastBig;
                } else if (g.bigblind == lastBig) {
                    g.smallblind = lastSmall;
                }
            }
        }
        m_env.context.SetLastGGBlinds(g.smallblind, g.bigblind);
    }

    static const boost::wregex kTable(LR"(Table '.*' (\d+)-max Seat #(\d+) is the button)");
    boost::wsmatch t;
    if (lines.size() > 1 && MatchLine(lines[1], kTable, t)) {
        m_hand.gameType.maxseats =
            static_cast<int32_t>(std::wcstol(t[1].str().c_str(), nullptr, 10));
    }
    if (!ggHeader && ContainsAfterFirst(m_fileName, L"Fusion")) {
        m_hand.gameType.idgamekind = kGameFusion;
    }
    if ((ggHeader || !m_hand.club) && !FindOrInsertGameType(m_hand.gameType)) {
        return false;
    }

    kroDB::kroHands::data row(m_env.db);
    static_cast<CHandRecord&>(row) = m_hand.hand;
    row.idgametype = m_hand.gameType.id;
    // The same hand arrives in the client's file and again in exports: it is
    // the same hand when room, room hand number and utc agree.
    if (const int64_t stored = StoredCopy(row); stored > 0) {
        m_hand.hand.id = stored;
        m_outcome = HandOutcome::AlreadyStored;
        return false;
    }
    row.id = 0;
    if (!row.Insert()) {
        return false;
    }
    m_hand.hand = row;
    if (!StoreHandHistory(row.id, lines)) {
        return false;
    }
    m_storing = true;
    m_hand.seatsAccepted = true;
    m_outcome = HandOutcome::Stored;
    return true;
}

}  // namespace kroHandParser
