// Betting actions, pots and boards of a PokerStars-layout hand.
#include "db/tables/kroHands.h"
#include "db/tables/kroPots.h"
#include "db/tables/kroRunittwice.h"
#include "foundation/Cards.h"
#include "foundation/IUserNotifier.h"
#include "foundation/Money.h"
#include "foundation/WideText.h"
#include "parser/CParserEnvironment.h"
#include "parser/HeaderFields.h"
#include "parser/LineTests.h"
#include "parser/strategies/kroPokerStarsParseStrategy.h"

#include <algorithm>

namespace kroHandParser {

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

    if (Contains(line, L": fold") && MatchLine(line, kFold, m)) {
        const int index = ListedPlayer(GroupView(m[1]));
        if (index >= 0) {
            RecordFold(index);
        }
        return true;
    }
    if ((Contains(line, L": checks") || Contains(line, L": calls") || Contains(line, L": bets")) &&
        MatchLine(line, kCheckCallBet, m)) {
        const int index = ListedPlayer(GroupView(m[1]));
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
    if (Contains(line, L": raises ") && MatchLine(line, kRaise, m)) {
        const int index = ListedPlayer(GroupView(m[1]));
        if (index >= 0) {
            RecordRaiseTo(index, CentsOf(m[3]));
        }
        return true;
    }
    if (StartsWith(line, L"Uncalled bet (") && MatchLine(line, kUncalled, m)) {
        const int index = ListedPlayer(GroupView(m[2]));
        if (index >= 0) {
            const int32_t amount = CentsOf(m[1]);
            AddAction(index, L"UB", amount);
            m_hand.streets[static_cast<size_t>(street)]
                          [m_hand.players[static_cast<size_t>(index)].name] -= amount;
        }
        return true;
    }
    if (Contains(line, L" collected ") && MatchLine(line, kCollected, m)) {
        const int index = ListedPlayer(GroupView(m[1]));
        if (index >= 0) {
            auto& player = m_hand.players[static_cast<size_t>(index)];
            int32_t amount = CentsOf(m[2]);
            if (m_hand.gg && player.stats.flags.count(L"flag_allin_cash_out") &&
                player.stats.flags[L"flag_allin_cash_out"]) {
                // A player who paid cash-out risk has the risk it paid taken
                // off, whoever else cashed out in the hand.
                const auto risk = m_hand.riskPaid.find(player.name);
                amount -= risk != m_hand.riskPaid.end() ? risk->second : m_hand.cashOutFee;
                player.stats.values[L"val_cash_out"] = amount;
            }
            RecordCollected(index, amount);
        }
        return true;
    }
    return false;
}

bool kroPokerStarsParseStrategy::ParsePots(const std::wstring& line)
{
    // Every pot line names the total pot.
    const bool handled = Contains(line, L"Total pot") && ReadPotLine(line);
    // The hand row keeps its pot and rake: without them no report could show
    // what the table took.
    if (handled) {
        StoreTotals();
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
        hand.rake = ClampCents(static_cast<int64_t>(CentsOf(m[2])) + CentsOf(m[3]));
        // GGPoker takes a tax from some pots as well: like the rake and the
        // jackpot fee it is money the players put in and nobody won back.
        static const boost::wregex kTax(LR"(\| Tax [\$|€|£|¥]?(\d+(?:\.\d{1,2})?)(?:\s|$))");
        boost::wsmatch tax;
        if (SearchLine(line, kTax, tax)) {
            hand.rake = ClampCents(static_cast<int64_t>(hand.rake) + CentsOf(tax[1]));
        }
        if (CentsOf(m[4]) != 0) {
            m_env.notifier.Notify(L"Bingo!");
        }
        StorePot(0, hand.totalpot - hand.rake);
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
                StorePot(0, main);
                for (size_t k = 1; k + 1 < n; ++k) {
                    const auto amount =
                        static_cast<int32_t>(n - k) * (stacks[n - 1 - k] - stacks[n - k]);
                    StorePot(static_cast<int>(k), amount);
                }
                return true;
            }
        }
        StorePot(0, hand.totalpot - hand.rake);
        return true;
    }
    if (SearchLine(line, kTotalColon, m)) {
        hand.totalpot = CentsOf(m[1]);
        hand.rake = CentsOf(m[2]);
        StorePot(0, hand.totalpot - hand.rake);
        return true;
    }
    if (MatchLine(line, kSide, m)) {
        hand.totalpot = CentsOf(m[1]);
        hand.rake = CentsOf(m[4]);
        StorePot(0, CentsOf(m[2]));
        StorePot(1, CentsOf(m[3]));
        return true;
    }
    if (MatchLine(line, kSides, m)) {
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
        return true;
    }
    if (MatchLine(line, kTotalOnly, m)) {
        hand.totalpot = CentsOf(m[1]);
        hand.rake = 0;
        StorePot(0, hand.totalpot);
        return true;
    }
    return false;
}

bool kroPokerStarsParseStrategy::ParseBoard(const std::wstring& line)
{
    static const boost::wregex kBoard(LR"((FIRST|SECOND|THIRD)?\s?Board \[(.*)\].*)");
    boost::wsmatch m;
    if (!Contains(line, L"Board [") || !MatchLine(line, kBoard, m)) {
        return false;
    }
    std::vector<int> cards;
    CardsFromText(m[2].str(), cards);
    if (cards.empty()) {
        return true;
    }
    ReadBoard(ToLowerAscii(m[1].str()), cards);
    return true;
}

}  // namespace kroHandParser
