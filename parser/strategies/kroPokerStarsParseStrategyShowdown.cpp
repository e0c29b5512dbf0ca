// Cards shown and mucked, and the seat lines of the summary.
#include "db/tables/kroHands.h"
#include "foundation/Cards.h"
#include "foundation/WideText.h"
#include "parser/CParserEnvironment.h"
#include "parser/HeaderFields.h"
#include "parser/LineTests.h"
#include "parser/strategies/kroPokerStarsParseStrategy.h"

namespace kroHandParser {

namespace {

void ReadCardsIfNone(CHandPlayerRecord& player, const std::wstring& text)
{
    if (player.cards.empty() && !text.empty()) {
        CardsFromText(text, player.cards);
    }
}

}  // namespace

bool kroPokerStarsParseStrategy::ParseShowdown(const std::wstring& line)
{
    static const boost::wregex kMucks(LR"((.*): mucks hand)");
    static const boost::wregex kShows(LR"((.*): shows \[(.*)\].*)");
    static const boost::wregex kMuckedTagged(LR"(Seat \d+: (.*) \(.*\) mucked \[(.*)\].*)");
    static const boost::wregex kMucked(LR"(Seat \d+: (.*) mucked \[(.*)\].*)");
    static const boost::wregex kShowedWon(
        LR"(Seat \d+: (.*) showed \[(.*)\] and won \([\$|€|£|¥]?(\d+.?[0-9]{0,2})\) with)");
    static const boost::wregex kShowedLost(LR"(Seat \d+: (.*) showed \[(.*)\] and lost with)");
    static const boost::wregex kMuckedFolded(LR"(Seat \d+: (.*) (mucked|folded))");
    static const boost::wregex kSeatCollected(
        LR"(Seat \d+: (.*) collected \([\$|€|£|¥]?(\d+.?[0-9]{0,2})\))");
    static const boost::wregex kSeatResult(LR"(Seat \d+: (.*))");
    boost::wsmatch m;

    if (EndsWith(line, L": mucks hand") && MatchLine(line, kMucks, m)) {
        const int index = ListedPlayer(GroupView(m[1]));
        if (index >= 0) {
            AddAction(index, L"MC", 0);
            m_hand.showdownState[static_cast<size_t>(index)] = 2;
        }
        return true;
    }
    if (Contains(line, L": shows [") && MatchLine(line, kShows, m)) {
        ++m_hand.discount;
        ++m_hand.showsCount;
        const int index = ListedPlayer(GroupView(m[1]));
        if (index >= 0) {
            AddAction(index, L"SD", 0);
            if (m_hand.gg && m_hand.showsCount >= 2 && m_storing) {
                m_hand.hand.showdown = true;
                kroDB::kroHands::data row(m_env.db);
                static_cast<CHandRecord&>(row) = m_hand.hand;
                (void)row.SetShowdown(true);
                (void)row.SetSeats(static_cast<int32_t>(m_hand.players.size()));
            }
            m_hand.showdownState[static_cast<size_t>(index)] = 2;
            ReadCardsIfNone(m_hand.players[static_cast<size_t>(index)], m[2].str());
        }
        return true;
    }
    // What is left reads the seat lines of the summary.
    if (!Contains(line, L"Seat ")) {
        return false;
    }
    if (StartsWith(line, L"Seat ") && Contains(line, L" mucked [") &&
        (MatchLine(line, kMuckedTagged, m) || MatchLine(line, kMucked, m))) {
        const int index = ListedPlayer(GroupView(m[1]));
        if (index >= 0) {
            AddAction(index, L"MC", 0);
            m_hand.showdownState[static_cast<size_t>(index)] = 2;
            ReadCardsIfNone(m_hand.players[static_cast<size_t>(index)],
                            ReplaceAll(ReplaceAll(m[2].str(), L"[", L""), L"]", L""));
        }
        return true;
    }
    const bool showed = Contains(line, L" showed [");
    const bool won = showed && SearchLine(line, kShowedWon, m);
    if (won || (showed && SearchLine(line, kShowedLost, m))) {
        const int index = ListedPlayer(WithoutSeatTags(m[1].str()));
        if (index >= 0) {
            auto& player = m_hand.players[static_cast<size_t>(index)];
            ReadCardsIfNone(player, m[2].str());
            player.showdownwin = player.netwin;
        }
        return true;
    }
    if ((Contains(line, L" mucked") || Contains(line, L" folded")) &&
        SearchLine(line, kMuckedFolded, m)) {
        const int index = ListedPlayer(WithoutSeatTags(m[1].str()));
        if (index >= 0) {
            auto& player = m_hand.players[static_cast<size_t>(index)];
            if (m[2].str() == L"mucked") {
                player.folded = false;
                player.showdownwin = player.netwin;
                player.nonshowdownwin = 0;
            } else {
                player.folded = true;
                player.nonshowdownwin = player.netwin;
                player.showdownwin = 0;
            }
        }
        return true;
    }
    if (Contains(line, L" collected (") && SearchLine(line, kSeatCollected, m)) {
        const int index = ListedPlayer(WithoutSeatTags(m[1].str()));
        if (index >= 0) {
            auto& player = m_hand.players[static_cast<size_t>(index)];
            player.folded = false;
            player.showdownwin = 0;
            player.nonshowdownwin = player.netwin;
        }
        return true;
    }
    if (SearchLine(line, kSeatResult, m)) {
        const int index = ListedPlayer(WithoutSeatTags(m[1].str()));
        if (index >= 0) {
            auto& player = m_hand.players[static_cast<size_t>(index)];
            player.nonshowdownwin = player.netwin;
            player.showdownwin = 0;
        }
        return true;
    }
    return false;
}

}  // namespace kroHandParser
