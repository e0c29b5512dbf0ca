// The lines of a Run It Once hand after its header: seats, posts, dealt cards,
// actions, show down, streets, pots and boards.
#include "foundation/Cards.h"
#include "foundation/Money.h"
#include "foundation/WideText.h"
#include "parser/CParserEnvironment.h"
#include "parser/HeaderFields.h"
#include "parser/strategies/kroRunItOnceParseStrategy.h"

#include <algorithm>
#include <cwchar>

namespace kroHandParser {

namespace {

std::wstring WithoutBrackets(const std::wstring& text)
{
    return ReplaceAll(ReplaceAll(text, L"[", L""), L"]", L"");
}

}  // namespace

bool kroRunItOnceParseStrategy::ParseSeatsAndPosts(const std::wstring& line)
{
    static const boost::wregex kTable(LR"(Table ID '.*' (\d+)-Max Seat #(\d+) is the button)");
    static const boost::wregex kSeat(LR"(Seat (\d+): (.*) \([\$|€|?](\d+.?[0-9]{0,2}).*\))");
    static const boost::wregex kPost(
        LR"((.*): posts (small|big|small & big|button) blinds? [\$|€|?](\d+.?[0-9]{0,2}))");
    static const boost::wregex kAnte(LR"((.*): posts the ante .(\d+.?[0-9]{0,2}))");
    static const boost::wregex kHoleCards(LR"(.*HOLE CARDS.*\[(.*)\].*)");
    static const boost::wregex kSplash(LR"(STP added: ([\$|€])(\d+.?[0-9]{0,2}))");
    static const boost::wregex kDealtTwo(LR"(Dealt to (.*) \[(.*)\] \[(.*)\])");
    static const boost::wregex kDealt(LR"(Dealt to (.*) \[(.*)\])");
    boost::wsmatch m;

    if (SearchLine(line, kTable, m)) {
        m_hand.buttonSeat = ToInt(m[2].str());
        return true;
    }
    if (line.rfind(L"Seat ", 0) == 0 && !m_hand.summarySeen && m_hand.seatsAccepted &&
        MatchLine(line, kSeat, m)) {
        AddPlayer(m[2].str(), ToInt(m[1].str()), CentsOf(m[3]));
        return true;
    }
    if (MatchLine(line, kPost, m)) {
        const int index = ListedPlayer(GroupView(m[1]));
        if (index >= 0) {
            const std::wstring kind = m[2].str();
            const int32_t amount = CentsOf(m[3]);
            RecordBlind(index,
                        kind == L"small & big" ? Blind::SmallAndBig
                        : kind == L"small"     ? Blind::Small
                                               : Blind::Big,
                        amount);
        }
        return true;
    }
    if (MatchLine(line, kAnte, m)) {
        const int index = ListedPlayer(GroupView(m[1]));
        if (index >= 0) {
            const int32_t amount = CentsOf(m[2]);
            AddAction(index, L"A", amount);
            m_hand.posts[Player(index).name] += amount;
        }
        return true;
    }
    if (MatchLine(line, kHoleCards, m)) {
        AddAction(-1, L"FET", 0);
        return true;
    }
    if (SearchLine(line, kSplash, m)) {
        m_splash = CentsOf(m[2]);
        m_hand.hand.stats.values[L"val_stp"] = m_splash;
        return true;
    }
    if (line.rfind(L"Dealt to", 0) != 0) {
        return false;
    }
    if (MatchLine(line, kDealtTwo, m)) {
        const int index = ListedPlayer(GroupView(m[1]));
        if (index >= 0) {
            if (!m_manyDealt) {
                m_hand.heroIndex = index;
            }
            CardsFromText(m[3].str(), Player(index).cards);
        }
        return true;
    }
    if (MatchLine(line, kDealt, m)) {
        const int index = ListedPlayer(GroupView(m[1]));
        if (index >= 0) {
            CHandPlayerRecord& player = Player(index);
            player.cards.clear();
            CardsFromText(m[2].str(), player.cards);
            if (m_manyDealt) {
                return true;
            }
            if (!player.hero) {
                MarkHero(player.idplayer, 0, false);
                player.hero = true;
            }
            m_hand.heroIndex = index;
            if (!player.cards.empty()) {
                AddAction(index, L"DC", static_cast<int32_t>(player.cards.size()));
            }
        }
        return true;
    }
    return false;
}

bool kroRunItOnceParseStrategy::ParseActions(const std::wstring& line)
{
    static const boost::wregex kFold(LR"((.*): folds?.*)");
    static const boost::wregex kCheckCallBet(
        LR"((.*): (checks|calls|bets)\s?[\$|€|?]?(\d+.?[0-9]{0,2})?.*)");
    static const boost::wregex kRaise(
        LR"((.*): raises [\$|€|?](\d+.?[0-9]{0,2}) to [\$|€|?](\d+.?[0-9]{0,2}).*)");
    static const boost::wregex kUncalled(
        LR"(Uncalled bet \([\$|€|?](\d+.?[0-9]{0,2})\) returned to (.*))");
    static const boost::wregex kCollected(LR"((.*) collected [\$|€|?](\d+.?[0-9]{0,2}).*)");
    boost::wsmatch m;
    const int street = std::clamp(m_hand.street, 0, 3);

    if (MatchLine(line, kFold, m)) {
        const int index = ListedPlayer(GroupView(m[1]));
        if (index >= 0) {
            RecordFold(index);
        }
        return true;
    }
    if (MatchLine(line, kCheckCallBet, m)) {
        const int index = ListedPlayer(GroupView(m[1]));
        if (index >= 0) {
            const std::wstring verb = m[2].str();
            const int32_t amount = m[3].matched ? CentsOf(m[3]) : 0;
            AddActionByName(index, verb, amount);
            int32_t& mine = StreetAmount(street, index);
            if (verb == L"calls") {
                mine += amount;
                // A call matches the bet in front of it. Older files of this
                // room print some re-raises short of what was put in; the
                // call shows the real size of the raise.
                if (m_lastAggressor >= 0 && m_lastAggressor != index) {
                    int32_t& raised = StreetAmount(street, m_lastAggressor);
                    if (mine > raised && mine > LargestOtherAmount(street, index)) {
                        raised = mine;
                    }
                }
            } else if (verb == L"bets") {
                mine = amount;
                m_lastAggressor = index;
            }
            m_hand.streetState[static_cast<size_t>(index)] = m_hand.street + 1;
        }
        return true;
    }
    if (MatchLine(line, kRaise, m)) {
        const int index = ListedPlayer(GroupView(m[1]));
        if (index >= 0) {
            RecordRaiseTo(index, CentsOf(m[3]));
            m_lastAggressor = index;
        }
        return true;
    }
    if (MatchLine(line, kUncalled, m)) {
        const int index = ListedPlayer(GroupView(m[2]));
        if (index >= 0) {
            // This room writes the return after the show down, when later
            // streets have been dealt: it belongs to the last street on which
            // the player had more in than anybody else, and no more than that
            // excess can come back.
            int32_t back = 0;
            for (int s = street; s >= 0; --s) {
                int32_t& mine = StreetAmount(s, index);
                const int32_t excess = mine - LargestOtherAmount(s, index);
                if (excess > 0) {
                    back = std::min(CentsOf(m[1]), excess);
                    mine -= back;
                    break;
                }
            }
            AddAction(index, L"UB", back);
        }
        return true;
    }
    if (MatchLine(line, kCollected, m)) {
        const int index = ListedPlayer(GroupView(m[1]));
        if (index >= 0) {
            RecordCollected(index, CentsOf(m[2]));
        }
        return true;
    }
    return false;
}

bool kroRunItOnceParseStrategy::ParseShowdown(const std::wstring& line)
{
    // The room writes "shows" without a colon and adds the made hand in
    // brackets, so the cards are the first bracket only.
    static const boost::wregex kShows(LR"((.*?):? shows \[([^\]]*)\].*)");
    static const boost::wregex kMucks(LR"((.*): mucks hand)");
    static const boost::wregex kMucked(LR"(Seat \d+: (.*) mucked \[([^\]]*)\].*)");
    static const boost::wregex kMuckedTagged(LR"(Seat \d+: (.*) \(.*\) mucked \[([^\]]*)\].*)");
    boost::wsmatch m;

    if (MatchLine(line, kShows, m) && line.rfind(L"Seat ", 0) != 0) {
        ++m_hand.discount;
        ++m_hand.showsCount;
        const int index = ListedPlayer(GroupView(m[1]));
        if (index >= 0) {
            AddAction(index, L"SD", 0);
            m_hand.showdownState[static_cast<size_t>(index)] = 2;
            CHandPlayerRecord& player = Player(index);
            if (player.cards.empty() && !m[2].str().empty()) {
                CardsFromText(m[2].str(), player.cards);
            }
        }
        return true;
    }
    if (MatchLine(line, kMucks, m)) {
        const int index = ListedPlayer(GroupView(m[1]));
        if (index >= 0) {
            AddAction(index, L"MC", 0);
            m_hand.showdownState[static_cast<size_t>(index)] = 2;
        }
        return true;
    }
    const bool mucked = MatchLine(line, kMucked, m);
    int index = mucked ? ListedPlayer(GroupView(m[1])) : -1;
    if (index < 0 && MatchLine(line, kMuckedTagged, m)) {
        index = ListedPlayer(GroupView(m[1]));
    }
    if (index >= 0) {
        AddAction(index, L"MC", 0);
        m_hand.showdownState[static_cast<size_t>(index)] = 2;
        CHandPlayerRecord& player = Player(index);
        if (player.cards.empty()) {
            CardsFromText(WithoutBrackets(m[2].str()), player.cards);
        }
        return true;
    }
    return mucked;
}

bool kroRunItOnceParseStrategy::ParsePots(const std::wstring& line)
{
    // Amounts are digits with at most two decimals; the separators between
    // pots are " | ", so no amount may lend a digit to the pattern around it.
    static const boost::wregex kTotal(
        LR"(Total pot [\$|€|£](\d+(?:\.\d{1,2})?) \| Rake [\$|€|£](\d+(?:\.\d{1,2})?).*)");
    static const boost::wregex kSplashOnly(
        LR"(Total pot [\$|€|£](\d+(?:\.\d{1,2})?) \| Main pot [\$|€|£](\d+(?:\.\d{1,2})?) \| STP [\$|€|£](\d+(?:\.\d{1,2})?) \| Rake [\$|€|£](\d+(?:\.\d{1,2})?))");
    static const boost::wregex kSide(
        LR"(Total pot [\$|€|£](\d+(?:\.\d{1,2})?) \| Main pot [\$|€|£](\d+(?:\.\d{1,2})?) \| Side pot [\$|€|£](\d+(?:\.\d{1,2})?) \| Rake [\$|€|£](\d+(?:\.\d{1,2})?))");
    static const boost::wregex kSideSplash(
        LR"(Total pot .(\d+(?:\.\d{1,2})?) \| Main pot .(\d+(?:\.\d{1,2})?)\.? \| Side pot .(\d+(?:\.\d{1,2})?)\.? \| STP [\$|€|£](\d+(?:\.\d{1,2})?) \| Rake .(\d+(?:\.\d{1,2})?))");
    static const boost::wregex kSides(
        LR"(Total pot .(\d+(?:\.\d{1,2})?) \| Main pot .(\d+(?:\.\d{1,2})?) \| Side pot 1 .(\d+(?:\.\d{1,2})?) (.*) \| Rake .(\d+(?:\.\d{1,2})?))");
    static const boost::wregex kNextSide(LR"(Side pot (\d) .(\d+(?:\.\d{1,2})?)(.*))");
    boost::wsmatch m;
    CHandRecord& hand = m_hand.hand;

    if (SearchLine(line, kTotal, m)) {
        hand.totalpot = CentsOf(m[1]);
        hand.rake = CentsOf(m[2]);
        StorePot(0, hand.totalpot - hand.rake);
    } else if (SearchLine(line, kSplashOnly, m)) {
        hand.totalpot = CentsOf(m[1]);
        hand.rake = CentsOf(m[4]);
        // The splash is in the pot the winner takes; the hand keeps one pot
        // row like every other hand.
        StorePot(0, hand.totalpot - hand.rake);
    } else if (SearchLine(line, kSide, m)) {
        hand.totalpot = CentsOf(m[1]);
        hand.rake = CentsOf(m[4]);
        StorePot(0, CentsOf(m[2]));
        StorePot(1, CentsOf(m[3]));
    } else if (SearchLine(line, kSideSplash, m)) {
        hand.totalpot = CentsOf(m[1]);
        hand.rake = CentsOf(m[5]);
        StorePot(0, CentsOf(m[2]));
        StorePot(1, CentsOf(m[3]));
    } else if (SearchLine(line, kSides, m)) {
        hand.totalpot = CentsOf(m[1]);
        hand.rake = CentsOf(m[5]);
        StorePot(0, CentsOf(m[2]));
        StorePot(1, CentsOf(m[3]));
        std::wstring rest = m[4].str();
        int potNumber = 2;
        boost::wsmatch s;
        while (!rest.empty() && potNumber < 20 && SearchLine(rest, kNextSide, s)) {
            StorePot(potNumber++, CentsOf(s[2]));
            rest = s[3].str();
        }
    } else {
        return false;
    }
    StoreTotals();
    return true;
}

bool kroRunItOnceParseStrategy::ParseBoard(const std::wstring& line)
{
    static const boost::wregex kBoard(LR"((FIRST|SECOND)?\s?Board \[(.*)\].*)");
    boost::wsmatch m;
    if (!MatchLine(line, kBoard, m)) {
        return false;
    }
    std::vector<int> cards;
    CardsFromText(m[2].str(), cards);
    ReadBoard(ToLowerAscii(m[1].str()), cards);
    return true;
}

}  // namespace kroHandParser
