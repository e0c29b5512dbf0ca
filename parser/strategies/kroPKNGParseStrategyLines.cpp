// The lines of a PokerKing Asia hand after its game id: seats, blinds and
// antes, cards, actions, streets, pots, boards and the players' summary lines.
#include "companion/HandEvaluators.h"
#include "foundation/Cards.h"
#include "foundation/GameKinds.h"
#include "foundation/WideText.h"
#include "parser/CParserEnvironment.h"
#include "parser/HeaderFields.h"
#include "parser/strategies/kroPKNGParseStrategy.h"

#include <algorithm>
#include <cwchar>

namespace kroHandParser {

// Amounts below are read as digits with at most two decimals, as the room
// ends them with a full stop ("Bets: 0.04.").

bool kroPKNGParseStrategy::ParseSeatsAndPosts(const std::wstring& line)
{
    static const boost::wregex kButton(LR"(Seat (\d+) is the button)");
    static const boost::wregex kSeat(LR"(Seat (\d+): (.*) \((\d+.?[0-9]{0,2})\).*)");
    static const boost::wregex kBlind(
        LR"(Player (.*) has (small|big) blind \((\d+(?:\.\d{1,2})?)\))");
    static const boost::wregex kDeadBet(
        LR"(Player (.*) posts \((\d+(?:\.\d{1,2})?)\) as a dead bet)");
    static const boost::wregex kPost(LR"(Player (.*) posts \((\d+.?[0-9]{0,2})\))");
    static const boost::wregex kStraddle(LR"(Player (.*) straddle \((\d+(?:\.\d{1,2})?)\))");
    static const boost::wregex kAnte(LR"(Player (.*) ante \((\d+.?[0-9]{0,2})\))");
    static const boost::wregex kHidden(LR"(Player (.*) received a card\.)");
    static const boost::wregex kCard(LR"(Player (.*) received card: \[(.*)\])");
    boost::wsmatch m;

    if (MatchLine(line, kButton, m)) {
        m_hand.buttonSeat = ToInt(m[1].str());
        return true;
    }
    if (line.rfind(L"Seat ", 0) == 0) {
        if (!m_hand.summarySeen && MatchLine(line, kSeat, m)) {
            AddPlayer(m[2].str(), ToInt(m[1].str()), CentsOf(m[3]));
            return true;
        }
        return false;
    }
    if (line.rfind(L"Player ", 0) != 0) {
        return false;
    }
    if (MatchLine(line, kBlind, m)) {
        const int index = ListedPlayer(GroupView(m[1]));
        if (index >= 0) {
            RecordBlind(index, m[2].str() == L"big" ? Blind::Big : Blind::Small, CentsOf(m[3]));
        }
        return true;
    }
    if (MatchLine(line, kDeadBet, m)) {
        // Dead money: in the pot, but no part of the player's live bet.
        const int index = ListedPlayer(GroupView(m[1]));
        if (index >= 0) {
            const int32_t amount = CentsOf(m[2]);
            AddAction(index, L"A", amount);
            m_hand.posts[Player(index).name] += amount;
        }
        return true;
    }
    if (MatchLine(line, kPost, m)) {
        // A player who comes in posts a big blind.
        const int index = ListedPlayer(GroupView(m[1]));
        if (index >= 0) {
            RecordBlind(index, Blind::Big, CentsOf(m[2]));
        }
        return true;
    }
    if (MatchLine(line, kStraddle, m)) {
        // A straddle is a live bet: later calls and raises count on from it.
        const int index = ListedPlayer(GroupView(m[1]));
        if (index >= 0) {
            const int32_t amount = CentsOf(m[2]);
            AddAction(index, L"A", amount);
            StreetAmount(0, index) += amount;
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
    if (MatchLine(line, kHidden, m)) {
        return true;
    }
    if (MatchLine(line, kCard, m)) {
        const int index = ListedPlayer(GroupView(m[1]));
        if (index >= 0) {
            CHandPlayerRecord& player = Player(index);
            if (!player.hero) {
                MarkHero(player.idplayer, 0, false);
                player.hero = true;
            }
            m_hand.heroIndex = index;
            CardsFromText(m[2].str(), player.cards);
            if (player.cards.size() == 2) {
                AddAction(index, L"DC", 2);
            }
        }
        return true;
    }
    return false;
}

bool kroPKNGParseStrategy::ParseActions(const std::wstring& line)
{
    static const boost::wregex kFold(LR"(Player (.*) folds)");
    static const boost::wregex kAction(
        LR"(Player (.*) (checks|calls|bets|allin|raises|caps) \((\d+(?:\.\d{1,2})?)\))");
    static const boost::wregex kBare(LR"(Player (.*) (checks|allin))");
    static const boost::wregex kRaiseTo(
        LR"((.*): raises [\$|€|?](\d+.?[0-9]{0,2}) to [\$|€|?](\d+.?[0-9]{0,2}).*)");
    static const boost::wregex kUncalled(LR"(Uncalled bet \((\d+.?[0-9]{0,2})\) returned to (.*))");
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
    const bool withAmount = MatchLine(line, kAction, m);
    if (withAmount || MatchLine(line, kBare, m)) {
        const int index = ListedPlayer(GroupView(m[1]));
        if (index >= 0) {
            const std::wstring verb = m[2].str();
            const int32_t amount = withAmount ? CentsOf(m[3]) : 0;
            int32_t& mine = StreetAmount(street, index);
            // Every amount of this layout is what the action adds.
            if (verb != L"checks") {
                mine += amount;
            }
            m_hand.streetState[static_cast<size_t>(index)] = m_hand.street + 1;
            if (verb == L"raises" || verb == L"caps") {
                AddAction(index, L"R", mine);
            } else if (verb == L"allin") {
                // The room does not say what an all-in was: it bets into an
                // empty street, raises past the largest amount in, and calls
                // otherwise. The player's own total counts, as a blind that
                // goes all in has part of it in already.
                const int32_t largest = LargestOtherAmount(street, index);
                const wchar_t* name = largest == 0     ? L"bets"
                                      : largest < mine ? L"raises"
                                                       : L"calls";
                AddActionByName(index, name, amount);
            } else {
                AddActionByName(index, verb, amount);
            }
        }
        return true;
    }
    if (MatchLine(line, kRaiseTo, m)) {
        const int index = ListedPlayer(GroupView(m[1]));
        if (index >= 0) {
            RecordRaiseTo(index, CentsOf(m[3]));
        }
        return true;
    }
    if (MatchLine(line, kUncalled, m)) {
        const int index = ListedPlayer(GroupView(m[2]));
        if (index >= 0) {
            const int32_t amount = CentsOf(m[1]);
            AddAction(index, L"UB", amount);
            StreetAmount(street, index) -= amount;
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

bool kroPKNGParseStrategy::ParsePots(const std::wstring& line)
{
    static const boost::wregex kPotGross(
        LR"(Pot: (\d+(?:\.\d{1,2})?)\. Rake: (\d+(?:\.\d{1,2})?).*)");
    static const boost::wregex kPotNet(
        LR"(Pot: (\d+(?:\.\d{1,2})?)\. Rake (\d+(?:\.\d{1,2})?)(?:\. JP fee (\d+(?:\.\d{1,2})?))?\.?)");
    static const boost::wregex kSide(
        LR"(Total pot .(\d+.?[0-9]{0,2}) Main pot .(\d+.?[0-9]{0,2}). Side pot .(\d+.?[0-9]{0,2}). \| Rake .(\d+.?[0-9]{0,2}))");
    static const boost::wregex kSides(
        LR"(Total pot .(\d+.?[0-9]{0,2}) Main pot .(\d+.?[0-9]{0,2}). Side pot-1 .(\d+.?[0-9]{0,2}). (.*) \| Rake .(\d+.?[0-9]{0,2}))");
    static const boost::wregex kNextSide(LR"(Side pot-(\d) .(\d+.?[0-9]{0,2}).(.*))");
    boost::wsmatch m;
    CHandRecord& hand = m_hand.hand;

    if (MatchLine(line, kPotNet, m)) {
        // "Pot" is what the winners share, after the rake and the jackpot
        // fee: the players put in all three.
        const int32_t pot = CentsOf(m[1]);
        hand.rake = CentsOf(m[2]) + (m[3].matched ? CentsOf(m[3]) : 0);
        hand.totalpot = pot + hand.rake;
        StorePot(0, pot);
    } else if (MatchLine(line, kPotGross, m)) {
        hand.totalpot = CentsOf(m[1]);
        hand.rake = CentsOf(m[2]);
        StorePot(0, hand.totalpot - hand.rake);
    } else if (MatchLine(line, kSide, m)) {
        hand.totalpot = CentsOf(m[1]);
        hand.rake = CentsOf(m[4]);
        StorePot(0, CentsOf(m[2]));
        StorePot(1, CentsOf(m[3]));
    } else if (MatchLine(line, kSides, m)) {
        hand.totalpot = CentsOf(m[1]);
        hand.rake = CentsOf(m[5]);
        StorePot(0, CentsOf(m[2]));
        StorePot(1, CentsOf(m[3]));
        std::wstring rest = m[4].str();
        int potNumber = 2;
        boost::wsmatch s;
        while (!rest.empty() && potNumber < 20 && MatchLine(rest, kNextSide, s)) {
            StorePot(potNumber++, CentsOf(s[2]));
            rest = Trim(s[3].str());
        }
    } else {
        return false;
    }
    StoreTotals();
    return true;
}

bool kroPKNGParseStrategy::ParseBoard(const std::wstring& line)
{
    static const boost::wregex kBoard(LR"((FIRST|SECOND)?\s?Board: \[(.*)\].*)");
    boost::wsmatch m;
    if (!MatchLine(line, kBoard, m)) {
        return false;
    }
    std::vector<int> cards;
    CardsFromText(m[2].str(), cards);
    const std::wstring which = ToLowerAscii(m[1].str());
    ReadBoard(which, cards);
    return true;
}

void kroPKNGParseStrategy::EvaluateCombinations()
{
    const std::vector<int>& board = m_hand.hand.board;
    const int kind = m_hand.gameType.idgamekind;
    if (board.size() < 3 || board.size() > 5) {
        return;
    }
    const int nBoard = static_cast<int>(board.size());
    for (auto& player : m_hand.players) {
        const int nHole = static_cast<int>(player.cards.size());
        if (nHole < 2) {
            continue;
        }
        if (kind == kGameShortDeckHoldem) {
            const int value = EvaluateHoldem6Plus(player.cards.data(), nHole, board.data(), nBoard);
            if (value > 0) {
                player.combination = value;
            }
        } else if (IsOmahaGame(kind) && nHole >= 4) {
            const int value = getCombinationOmahaFsm5Common(player.cards.data(), nHole,
                                                            board.data(), nBoard, nullptr);
            if (value > 0) {
                player.combination = value;
            }
            if (IsHiLoGame(kind)) {
                const int low = SetLowValueCombinationOmahaCommon(player.cards.data(), nHole,
                                                                  board.data(), nBoard);
                if (low > 0) {
                    player.lowcombination = low;
                }
            }
        }
    }
}

bool kroPKNGParseStrategy::ParsePlayerSummary(const std::wstring& line)
{
    static const boost::wregex kNoShow(
        LR"(Player (.*) does not show cards\.\s?Bets: (\d+(?:\.\d{1,2})?)\. Collects: (\d+(?:\.\d{1,2})?)\. (Wins|Loses):\s?(\d+(?:\.\d{1,2})?)\.)");
    static const boost::wregex kMucks(
        LR"(Player (.*) mucks \(does not show(?: cards|: \[([^\]]*)\])\)\.\s?Bets: (\d+(?:\.\d{1,2})?)\. Collects: (\d+(?:\.\d{1,2})?)\. (Wins|Loses):\s?(\d+(?:\.\d{1,2})?)\.)");
    static const boost::wregex kShows(
        LR"(Player (.*) shows: [^\[]*\[([^\]]*)\].*?Bets: (\d+(?:\.\d{1,2})?)\. Collects: (\d+(?:\.\d{1,2})?)\. (Wins|Loses):\s?(\d+(?:\.\d{1,2})?)\.)");
    boost::wsmatch m;
    int first = 0;
    bool cardsGroup = false;
    bool showed = false;
    // 0 nothing shown, 1 mucked, 2 shown.
    int kind = 0;
    if (MatchLine(line, kNoShow, m)) {
        first = 2;
    } else if (MatchLine(line, kMucks, m)) {
        first = 3;
        cardsGroup = true;
        showed = true;
        kind = 1;
    } else if (MatchLine(line, kShows, m)) {
        first = 3;
        cardsGroup = true;
        showed = true;
        kind = 2;
    } else {
        return false;
    }
    const int index = ListedPlayer(GroupView(m[1]));
    if (index < 0) {
        return true;
    }
    CHandPlayerRecord& player = Player(index);
    // The room writes its show down only here, after the summary line: the
    // statistics of the show down need the shows and mucks. Every player has
    // a line; one that showed nothing (a folder, a player sitting out) adds
    // no action.
    if (showed) {
        AddSummaryAction(index, kind == 1 ? L"MC" : L"SD", 0);
    }
    // Only a player still in the hand can show it down.
    if (showed && !player.folded) {
        m_showed.insert(index);
    }
    m_hand.showdownState[static_cast<size_t>(index)] = 2;
    if (cardsGroup && m[2].matched && player.cards.empty()) {
        CardsFromText(m[2].str(), player.cards);
    }
    player.bet = CentsOf(m[first]);
    player.totalwin = CentsOf(m[first + 1]);
    const int32_t result = CentsOf(m[first + 3]);
    player.netwin = m[first + 2].str() == L"Loses" ? -result : result;
    m_summarised.insert(index);
    return true;
}

void kroPKNGParseStrategy::FinishSummary()
{
    CHandState& h = m_hand;
    // The players' cards come after the board, in their summary lines.
    EvaluateCombinations();
    // The players' summary lines are the only sign of a show down: two or more
    // of them show or muck their cards.
    if (!h.showdownSeen && m_showed.size() >= 2) {
        h.showdownSeen = true;
        h.hand.stats.values[L"val_players_sd"] = static_cast<int32_t>(m_showed.size());
        StoreShowdown();
    }
    for (int index : m_summarised) {
        CHandPlayerRecord& p = Player(index);
        if (h.showdownSeen && m_showed.count(index) != 0) {
            p.showdownwin = p.netwin;
            p.nonshowdownwin = 0;
        } else {
            p.nonshowdownwin = p.netwin;
            p.showdownwin = 0;
        }
    }
    if (m_summarised.empty() || m_summarised.size() != h.players.size()) {
        return;
    }
    // With every player's money known, the pot is what they paid and the rake
    // what they did not get back: jackpot tables take a fee the pot line
    // does not print.
    int64_t bets = 0;
    int64_t won = 0;
    for (const auto& p : h.players) {
        bets += p.bet;
        won += p.totalwin;
    }
    if (bets > 0 && bets >= won && (bets != h.hand.totalpot || bets - won != h.hand.rake)) {
        h.hand.totalpot = static_cast<int32_t>(bets);
        h.hand.rake = static_cast<int32_t>(bets - won);
        StoreTotals();
    }
}

}  // namespace kroHandParser
