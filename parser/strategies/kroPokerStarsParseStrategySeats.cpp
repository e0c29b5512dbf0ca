// The table line, seats, blind and ante posts and the dealt cards of a
// PokerStars-layout hand.
#include "db/tables/kroHands.h"
#include "foundation/Cards.h"
#include "foundation/Money.h"
#include "foundation/WideText.h"
#include "parser/CParserEnvironment.h"
#include "parser/HeaderFields.h"
#include "parser/LineTests.h"
#include "parser/strategies/kroPokerStarsParseStrategy.h"

#include <cwchar>

namespace kroHandParser {

bool kroPokerStarsParseStrategy::ParseSeatsAndPosts(const std::wstring& line, int32_t aliasId)
{
    // Currency signs are optional: home games and play money give chips.
    static const boost::wregex kTable(LR"(Table '.*' (\d+)-max Seat #(\d+) is the button)");
    static const boost::wregex kSeat(
        LR"(Seat (\d+): (.*) \([\$|€|£|¥]?(\d+.?[0-9]{0,2}) in chips\))");
    static const boost::wregex kSeatLoose(LR"(Seat (\d+): (.*) \([\$|€|£|¥]?(.*) in chips\))");
    static const boost::wregex kPost(
        LR"((.*): posts (small|big|small & big|button) blinds? [\$|€|£|¥]?(\d+.?[0-9]{0,2}))");
    static const boost::wregex kPostNoAmount(
        LR"((.*): posts (small|big|small & big|button) blinds?)");
    static const boost::wregex kAnte(
        LR"((.*): posts (the ante|straddle|missed blind) [^\d\s]?(\d+.?[0-9]{0,2}))");
    static const boost::wregex kStraddle(LR"((.*): straddle [\$|€|£|¥]?(\d+.?[0-9]{0,2}))");
    static const boost::wregex kHoleCards(LR"(.*HOLE CARDS.*\[(.*)\].*)");
    static const boost::wregex kDealtTwo(LR"(Dealt to (.*) \[(.*)\] \[(.*)\])");
    static const boost::wregex kDealt(LR"(Dealt to (.*) \[(.*)\])");
    boost::wsmatch m;

    // Old files write no table size: "Table 'Phad' Seat #6 is the button".
    static const boost::wregex kTableNoSize(LR"(Table '.*' Seat #(\d+) is the button)");
    if (StartsWith(line, L"Table '")) {
        if (MatchLine(line, kTable, m)) {
            m_hand.buttonSeat = ToInt(m[2].str());
            return true;
        }
        if (MatchLine(line, kTableNoSize, m)) {
            m_hand.buttonSeat = ToInt(m[1].str());
            return true;
        }
    }
    if (StartsWith(line, L"Seat ") && !m_hand.summarySeen && m_hand.seatsAccepted) {
        int32_t stack = 0;
        bool seat = false;
        if (MatchLine(line, kSeat, m)) {
            stack = CentsOf(m[3]);
            seat = true;
        } else if (SearchLine(line, kSeatLoose, m)) {
            stack = AmountToCents(m[3].str(), true);
            seat = true;
        }
        if (seat) {
            AddPlayer(m[2].str(), ToInt(m[1].str()), stack);
            return true;
        }
    }

    const bool posts = Contains(line, L": posts ");
    const bool withAmount = posts && SearchLine(line, kPost, m);
    if (withAmount || (posts && SearchLine(line, kPostNoAmount, m))) {
        const int index = ListedPlayer(GroupView(m[1]));
        if (index >= 0) {
            const std::wstring kind = m[2].str();
            const int32_t amount = withAmount ? CentsOf(m[3]) : m_hand.gameType.bigblind;
            if (kind.find(L"small & big") != std::wstring::npos) {
                RecordBlind(index, Blind::SmallAndBig, amount);
            } else if (kind.find(L"big") == std::wstring::npos &&
                       kind.find(L"button") == std::wstring::npos) {
                RecordBlind(index, Blind::Small, amount);
            } else {
                RecordBlind(index, Blind::Big, amount);
            }
        }
        return true;
    }
    if (posts && MatchLine(line, kAnte, m)) {
        const int index = ListedPlayer(GroupView(m[1]));
        if (index >= 0) {
            const int32_t amount = CentsOf(m[3]);
            AddAction(index, L"A", amount);
            m_hand.posts[m_hand.players[static_cast<size_t>(index)].name] += amount;
            m_hand.lastAnte = amount;
            if (m_hand.club) {
                ++m_hand.antePosts;
            }
        }
        return true;
    }
    if (Contains(line, L": straddle ") && SearchLine(line, kStraddle, m)) {
        const int index = ListedPlayer(GroupView(m[1]));
        if (index >= 0) {
            const int32_t amount = CentsOf(m[2]);
            AddAction(index, L"A", amount);
            // A straddle is a live bet, the total the player has in: a later
            // call adds to it and a raise "to" an amount replaces it.
            m_hand.streets[0][m_hand.players[static_cast<size_t>(index)].name] = amount;
        }
        return true;
    }
    if (Contains(line, L"HOLE CARDS") && MatchLine(line, kHoleCards, m)) {
        AddAction(-1, L"FET", 0);
        return true;
    }
    if (StartsWith(line, L"Dealt to")) {
        if (MatchLine(line, kDealtTwo, m)) {
            const int index = ListedPlayer(GroupView(m[1]));
            if (index >= 0) {
                m_hand.heroIndex = index;
                CardsFromText(m[3].str(), m_hand.players[static_cast<size_t>(index)].cards);
            }
            return true;
        }
        if (MatchLine(line, kDealt, m)) {
            const int index = ListedPlayer(GroupView(m[1]));
            if (index >= 0) {
                CHandPlayerRecord& player = m_hand.players[static_cast<size_t>(index)];
                if (!player.hero) {
                    MarkHero(player.idplayer, aliasId, m_hand.club);
                    player.hero = true;
                }
                m_hand.heroIndex = index;
                player.cards.clear();
                CardsFromText(m[2].str(), player.cards);
                if (!player.cards.empty()) {
                    AddAction(index, L"DC", static_cast<int32_t>(player.cards.size()));
                }
            }
            return true;
        }
    }
    return false;
}

void kroPokerStarsParseStrategy::SettleClubGameType()
{
    if (!m_hand.club) {
        return;
    }
    // Clubs post an ante from every player in ante games; only then is the
    // ante part of the table's format.
    int withPosts = 0;
    for (const auto& [name, amount] : m_hand.posts) {
        if (amount > 0) {
            ++withPosts;
        }
    }
    if (withPosts == m_hand.antePosts) {
        m_hand.gameType.ante = m_hand.lastAnte;
    }
    if (!m_storing || !FindOrInsertGameType(m_hand.gameType)) {
        return;
    }
    kroDB::kroHands::data row(m_env.db);
    static_cast<CHandRecord&>(row) = m_hand.hand;
    if (row.SetGameType(m_hand.gameType.id)) {
        m_hand.hand.idgametype = m_hand.gameType.id;
    }
}

}  // namespace kroHandParser
