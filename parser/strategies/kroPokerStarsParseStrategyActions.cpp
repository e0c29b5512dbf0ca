// Betting actions, street lines, pots and boards of a PokerStars-layout hand.
#include "db/tables/kroHands.h"
#include "db/tables/kroPots.h"
#include "db/tables/kroRunittwice.h"
#include "foundation/Cards.h"
#include "foundation/IUserNotifier.h"
#include "foundation/WideText.h"
#include "parser/CParserEnvironment.h"
#include "parser/HeaderFields.h"
#include "parser/strategies/kroPokerStarsParseStrategy.h"

#include <algorithm>

namespace kroHandParser {

namespace {

void StorePot(kroDB::CDbContext& db, bool storing, CHandState& hand, int potNumber, int32_t amount)
{
    hand.potList.push_back(amount);
    hand.lastPotAmount = amount;
    if (!storing) {
        return;
    }
    kroDB::kroPots::data pot(db);
    pot.idhand = hand.hand.id;
    pot.potnum = potNumber;
    pot.amt = amount;
    (void)pot.Insert();
}

}  // namespace

bool kroPokerStarsParseStrategy::ParseActions(const std::wstring& line)
{
    static const boost::wregex kFold(LR"((.*): folds?.*)");
    static const boost::wregex kCheckCallBet(
        LR"((.*): (checks|calls|bets)\s?[\$|€|£|¥]?(\d+.?[0-9]{0,2})?.*)");
    static const boost::wregex kRaise(
        LR"((.*): raises [\$|€|£|¥]?(\d+.?[0-9]{0,2}) to [\$|€|£|¥]?(\d+.?[0-9]{0,2}).*)");
    static const boost::wregex kUncalled(
        LR"(Uncalled bet \([\$|€|£|¥]?(\d+.?[0-9]{0,2})\) returned to (.*))");
    static const boost::wregex kCollected(LR"((.*) collected [\$|€|£|¥]?(\d+.?[0-9]{0,2}).*)");
    boost::wsmatch m;
    const int street = std::clamp(m_hand.street, 0, 3);

    if (MatchLine(line, kFold, m)) {
        const int index = ListedPlayer(m[1].str());
        if (index >= 0) {
            AddActionByName(index, L"folds", 0);
            auto& player = m_hand.players[static_cast<size_t>(index)];
            m_hand.showdownState[static_cast<size_t>(index)] = 1;
            m_hand.streetState[static_cast<size_t>(index)] = 0;
            player.stats.values[L"val_fold_street"] = m_hand.street + 1;
            player.folded = true;
        }
        return true;
    }
    if (MatchLine(line, kCheckCallBet, m)) {
        const int index = ListedPlayer(m[1].str());
        if (index >= 0) {
            const std::wstring verb = m[2].str();
            const int32_t amount = m[3].matched ? CentsOf(m[3]) : 0;
            AddActionByName(index, verb.c_str(), amount);
            const std::wstring& name = m_hand.players[static_cast<size_t>(index)].name;
            if (verb == L"calls") {
                m_hand.streets[static_cast<size_t>(street)][name] += amount;
            } else if (verb == L"bets") {
                m_hand.streets[static_cast<size_t>(street)][name] = amount;
            }
            m_hand.streetState[static_cast<size_t>(index)] = m_hand.street + 1;
        }
        return true;
    }
    if (MatchLine(line, kRaise, m)) {
        const int index = ListedPlayer(m[1].str());
        if (index >= 0) {
            const int32_t to = CentsOf(m[3]);
            AddAction(index, L"R", to);
            // "raises X to Y": Y is all the player has put in on this street.
            m_hand.streets[static_cast<size_t>(street)]
                          [m_hand.players[static_cast<size_t>(index)].name] = to;
            m_hand.streetState[static_cast<size_t>(index)] = m_hand.street + 1;
        }
        return true;
    }
    if (MatchLine(line, kUncalled, m)) {
        const int index = ListedPlayer(m[2].str());
        if (index >= 0) {
            const int32_t amount = CentsOf(m[1]);
            AddAction(index, L"UB", amount);
            m_hand.streets[static_cast<size_t>(street)]
                          [m_hand.players[static_cast<size_t>(index)].name] -= amount;
        }
        return true;
    }
    if (MatchLine(line, kCollected, m)) {
        const int index = ListedPlayer(m[1].str());
        if (index >= 0) {
            auto& player = m_hand.players[static_cast<size_t>(index)];
            int32_t amount = CentsOf(m[2]);
            if (m_hand.gg && player.stats.flags.count(L"flag_allin_cash_out") &&
                player.stats.flags[L"flag_allin_cash_out"]) {
                amount -= m_hand.cashOutFee;
                player.stats.values[L"val_cash_out"] = amount;
            }
            AddAction(index, L"CP", amount);
            m_hand.collected[player.name] += amount;
        }
        return true;
    }
    return false;
}

bool kroPokerStarsParseStrategy::ParseStreetLine(const std::wstring& line)
{
    static const boost::wregex kStreet(
        LR"([\*\s]*(FIRST |SECOND |THIRD )?(PRE-FLOP|FLOP|TURN|RIVER|SHOW DOWN|SUMMARY|SHOWDOWN)[\*\s]*(.*))");
    boost::wsmatch m;
    if (!MatchLine(line, kStreet, m)) {
        return false;
    }
    const std::wstring board = ToLowerAscii(Trim(m[1].str()));
    const std::wstring street = ToLowerAscii(m[2].str());
    int boardNumber = 1;
    if (board == L"first") {
        if (!m_hand.hand.runittwice) {
            m_hand.hand.runittwice = true;
            m_hand.runItTwice.idhand = m_hand.hand.id;
            if (m_storing) {
                kroDB::kroHands::data row(m_env.db);
                static_cast<CHandRecord&>(row) = m_hand.hand;
                (void)row.SetRunItTwice(true);
            }
        }
    } else if (board == L"second") {
        boardNumber = 2;
    } else if (board == L"third") {
        m_hand.runItTwice.nb = 3;
        boardNumber = 3;
    }
    if (street.find(L"show down") != std::wstring::npos) {
        m_hand.hand.showdown = true;
        m_hand.showdownSeen = true;
        if (m_storing) {
            kroDB::kroHands::data row(m_env.db);
            static_cast<CHandRecord&>(row) = m_hand.hand;
            (void)row.SetShowdown(true);
        }
        return true;
    }
    if (street.find(L"summary") != std::wstring::npos) {
        SummaryComputation();
        return true;
    }
    // One room writes "SHOWDOWN" in nearly every hand, shown cards or not: it
    // is neither a show down nor a street of the board.
    if (street == L"showdown") {
        return true;
    }
    const wchar_t* code = L"RC";
    if (street == L"pre-flop") {
        m_hand.street = 0;
        AddAction(-1, L"FET", 0);
        return true;
    }
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
        code = kCodes[boardNumber - 1][m_hand.street - 1];
    }
    AddAction(-1, code, 0);
    return true;
}

bool kroPokerStarsParseStrategy::ParsePots(const std::wstring& line)
{
    const bool handled = ReadPotLine(line);
    // The hand row keeps its pot and rake: without them no report could show
    // what the table took.
    if (handled && m_storing) {
        kroDB::kroHands::data row(m_env.db);
        static_cast<CHandRecord&>(row) = m_hand.hand;
        (void)row.SetTotalPot(m_hand.hand.totalpot);
        (void)row.SetRake(m_hand.hand.rake);
    }
    return handled;
}

bool kroPokerStarsParseStrategy::ReadPotLine(const std::wstring& line)
{
    static const boost::wregex kJackpot(
        LR"(Total pot [\$|€|£|¥]?(\d+.?[0-9]{0,2}) \| Rake [\$|€|£|¥]?(\d+.?[0-9]{0,2}) \| Jackpot [\$|€|£|¥]?(\d+.?[0-9]{0,2}) \| Bingo [\$|€|£|¥]?(\d+.?[0-9]{0,2}))");
    static const boost::wregex kTotal(
        LR"(Total pot [\$|€|£|¥]?(\d+.?[0-9]{0,2}) \| Rake [\$|€|£|¥]?(\d+.?[0-9]{0,2}).*)");
    static const boost::wregex kTotalColon(
        LR"(Total pot: [\$|€|£|¥]?(\d+.?[0-9]{0,2}) \| Rake [\$|€|£|¥]?(\d+.?[0-9]{0,2}).*)");
    static const boost::wregex kSide(
        LR"(Total pot [^\d\s]?(\d+.?[0-9]{0,2}) Main pot [^\d\s]?(\d+.?[0-9]{0,2}). Side pot [^\d\s]?(\d+.?[0-9]{0,2}). \| Rake [^\d\s]?(\d+.?[0-9]{0,2}))");
    static const boost::wregex kSides(
        LR"(Total pot [^\d\s]?(\d+.?[0-9]{0,2}) Main pot [^\d\s]?(\d+.?[0-9]{0,2}). Side pot-1 [^\d\s]?(\d+.?[0-9]{0,2}). (.*) \| Rake [^\d\s]?(\d+.?[0-9]{0,2}))");
    static const boost::wregex kNextSide(LR"(Side pot-(\d) [^\d\s]?(\d+.?[0-9]{0,2}).(.*))");
    // Some clients write the total alone when they take no rake.
    static const boost::wregex kTotalOnly(LR"(Total pot [\$|€|£|¥]?(\d+.?[0-9]{0,2}))");
    boost::wsmatch m;
    CHandRecord& hand = m_hand.hand;

    if (SearchLine(line, kJackpot, m)) {
        hand.totalpot = CentsOf(m[1]);
        hand.rake = CentsOf(m[2]) + CentsOf(m[3]);
        if (CentsOf(m[4]) != 0) {
            m_env.notifier.Notify(L"Bingo!");
        }
        StorePot(m_env.db, m_storing, m_hand, 0, hand.totalpot - hand.rake);
        return true;
    }
    if (SearchLine(line, kTotal, m)) {
        hand.totalpot = CentsOf(m[1]);
        hand.rake = CentsOf(m[2]);
        if (m_hand.club && m_hand.showsCount > 2) {
            // Clubs print no side pots: rebuild them from the stacks of the
            // players still in, the largest capped at the second largest.
            std::vector<int32_t> stacks;
            for (size_t i = 0; i < m_hand.players.size(); ++i) {
                if (m_hand.streetState[i] != 0 && m_hand.players[i].cards.empty()) {
                    m_hand.streetState[i] = 0;
                }
                if (m_hand.streetState[i] != 0) {
                    stacks.push_back(m_hand.players[i].startcashincents);
                }
            }
            const size_t n = stacks.size();
            if (n > 2) {
                std::sort(stacks.begin(), stacks.end(), std::greater<int32_t>());
                stacks[0] = stacks[1];
                int32_t main = hand.totalpot - hand.rake;
                for (size_t i = 0; i + 1 < n; ++i) {
                    main -= stacks[i] - stacks[n - 1];
                }
                StorePot(m_env.db, m_storing, m_hand, 0, main);
                for (size_t k = 1; k + 1 < n; ++k) {
                    const auto amount =
                        static_cast<int32_t>(n - k) * (stacks[n - 1 - k] - stacks[n - k]);
                    StorePot(m_env.db, m_storing, m_hand, static_cast<int>(k), amount);
                }
                return true;
            }
        }
        StorePot(m_env.db, m_storing, m_hand, 0, hand.totalpot - hand.rake);
        return true;
    }
    if (SearchLine(line, kTotalColon, m)) {
        hand.totalpot = CentsOf(m[1]);
        hand.rake = CentsOf(m[2]);
        StorePot(m_env.db, m_storing, m_hand, 0, hand.totalpot - hand.rake);
        return true;
    }
    if (MatchLine(line, kSide, m)) {
        hand.totalpot = CentsOf(m[1]);
        hand.rake = CentsOf(m[4]);
        StorePot(m_env.db, m_storing, m_hand, 0, CentsOf(m[2]));
        StorePot(m_env.db, m_storing, m_hand, 1, CentsOf(m[3]));
        return true;
    }
    if (MatchLine(line, kSides, m)) {
        hand.totalpot = CentsOf(m[1]);
        hand.rake = CentsOf(m[5]);
        StorePot(m_env.db, m_storing, m_hand, 0, CentsOf(m[2]));
        StorePot(m_env.db, m_storing, m_hand, 1, CentsOf(m[3]));
        std::wstring rest = m[4].str();
        int potNumber = 2;
        boost::wsmatch s;
        while (!rest.empty() && potNumber < 20 && MatchLine(rest, kNextSide, s)) {
            StorePot(m_env.db, m_storing, m_hand, potNumber++, CentsOf(s[2]));
            rest = Trim(s[3].str());
        }
        return true;
    }
    if (MatchLine(line, kTotalOnly, m)) {
        hand.totalpot = CentsOf(m[1]);
        hand.rake = 0;
        StorePot(m_env.db, m_storing, m_hand, 0, hand.totalpot);
        return true;
    }
    return false;
}

bool kroPokerStarsParseStrategy::ParseBoard(const std::wstring& line)
{
    static const boost::wregex kBoard(LR"((FIRST|SECOND|THIRD)?\s?Board \[(.*)\].*)");
    boost::wsmatch m;
    if (!MatchLine(line, kBoard, m)) {
        return false;
    }
    std::vector<int> cards;
    CardsFromText(m[2].str(), cards);
    if (cards.empty()) {
        return true;
    }
    const std::wstring which = ToLowerAscii(m[1].str());
    auto& boards = m_hand.runItTwice.boards;
    std::vector<int>& common = m_hand.hand.board;
    if (which.empty()) {
        common = cards;
        StoreBoardOfHand();
    } else if (which == L"first") {
        boards[0] = cards;
    } else if (which == L"second") {
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
        if (m_hand.runItTwice.nb == 2) {
            StoreRunItTwice();
        }
    } else if (which == L"third") {
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
    }
    return true;
}

void kroPokerStarsParseStrategy::StoreRunItTwice()
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

}  // namespace kroHandParser
