// All-in cash-outs, cash-out risk payments, EV cash-outs and all-in insurance
// of GGPoker hands.
#include "foundation/Money.h"
#include "foundation/WideText.h"
#include "parser/CParserEnvironment.h"
#include "parser/HandSplitter.h"
#include "parser/HeaderFields.h"
#include "parser/LineTests.h"
#include "parser/strategies/kroPokerStarsParseStrategy.h"

namespace kroHandParser {

namespace {

std::wstring WithoutTrailingButton(std::wstring name)
{
    const std::wstring tag = L" (button)";
    if (EndsWith(name, tag)) {
        name.erase(name.size() - tag.size());
    }
    return name;
}

}  // namespace

bool kroPokerStarsParseStrategy::ParseCashOut(const std::wstring& line)
{
    static const boost::wregex kWithFee(
        LR"((.*) cashed out the hand for [\$|€|£|¥]?(\d+.?[0-9]{0,2}) \| Cash Out Fee [\$|€|£|¥]?(\d+.?[0-9]{0,2}))");
    static const boost::wregex kCashOut(
        LR"((.*) cashed out the hand for [\$|€|£|¥]?(\d+.?[0-9]{0,2}))");
    static const boost::wregex kNotAwardedTagged(
        LR"(Seat \d+: (.*) \((.*)\) showed \[(.*)\] and won \([\$|€|£|¥]?(\d+.?[0-9]{0,2})\) (.*) \(pot not awarded as player cashed out\))");
    static const boost::wregex kNotAwarded(
        LR"(Seat \d+: (.*) showed \[(.*)\] and won \([\$|€|£|¥]?(\d+.?[0-9]{0,2})\) (.*) \(pot not awarded as player cashed out\))");
    static const boost::wregex kRiskTagged(
        LR"(Seat \d+: (.*) \((.*)\) showed \[(.*)\] and won \([\$|€|£|¥]?(\d+.?[0-9]{0,2})\) (.*) Cashout Risk \([\$|€|£|¥]?(\d+.?[0-9]{0,2})\))");
    static const boost::wregex kRisk(
        LR"(Seat \d+: (.*) showed \[(.*)\] and won \([\$|€|£|¥]?(\d+.?[0-9]{0,2})\) (.*) Cashout Risk \([\$|€|£|¥]?(\d+.?[0-9]{0,2})\))");
    static const boost::wregex kLostCashedTagged(
        LR"(Seat \d+: (.*) \((.*)\) showed \[(.*)\] and lost with (.*) \(cashed out\))");
    static const boost::wregex kLostCashed(
        LR"(Seat \d+: (.*) showed \[(.*)\] and lost with (.*) \(cashed out\))");
    static const boost::wregex kEvTagged(
        LR"(Seat \d+: (.*) \((.*)\) showed \[(.*)\] and lost with (.*) EV Cashout \([\$|€|£|¥]?(\d+.?[0-9]{0,2})\))");
    static const boost::wregex kEv(
        LR"(Seat \d+: (.*) showed \[(.*)\] and lost with (.*) EV Cashout \([\$|€|£|¥]?(\d+.?[0-9]{0,2})\))");
    static const boost::wregex kPaysRisk(LR"((.*): Pays Cashout Risk \(\$(\d+.?[0-9]{0,2})\))");
    static const boost::wregex kReceives(LR"((.*): Receives Cashout \(\$(\d+.?[0-9]{0,2})\))");
    boost::wsmatch m;

    const auto cashOut = [this](int index, int32_t amount, int32_t fee) {
        auto& player = m_hand.players[static_cast<size_t>(index)];
        AddAction(index, L"ACO", amount);
        player.cashOutAmount = amount;
        m_hand.collected[player.name] += amount;
        player.cashOutFlag = true;
        m_hand.cashOutFee = fee;
        player.stats.values[L"val_cash_out"] = amount;
        player.stats.values[L"val_fee"] = fee;
        player.stats.flags[L"flag_allin_cash_out"] = true;
        // The room pays the cash out, not the pot.
        player.paidOutsidePot = amount;
    };
    const auto player = [this](const std::wstring& name) -> CHandPlayerRecord* {
        const int index = ListedPlayer(name);
        return index >= 0 ? &m_hand.players[static_cast<size_t>(index)] : nullptr;
    };

    const bool cashedOut = Contains(line, L" cashed out the hand for ");
    if (cashedOut && SearchLine(line, kWithFee, m)) {
        const int index = ListedPlayer(GroupView(m[1]));
        if (index >= 0) {
            cashOut(index, CentsOf(m[2]), CentsOf(m[3]));
        }
        return true;
    }
    if (cashedOut && SearchLine(line, kCashOut, m)) {
        const int index = ListedPlayer(GroupView(m[1]));
        if (index >= 0) {
            cashOut(index, CentsOf(m[2]), 0);
        }
        return true;
    }
    if (EndsWith(line, L" cashed out)")) {
        if (SearchLine(line, kNotAwardedTagged, m)) {
            if (auto* p = player(WithoutTrailingButton(m[1].str()))) {
                p->stats.values[L"val_netwon_hand"] = CentsOf(m[4]) + p->netwin - p->cashOutAmount;
            }
        } else if (SearchLine(line, kNotAwarded, m)) {
            if (auto* p = player(m[1].str())) {
                p->stats.values[L"val_netwon_hand"] = CentsOf(m[3]) + p->netwin - p->cashOutAmount;
            }
        }
        return true;
    }
    if (m_hand.gg && line.find(L"Cashout Risk (") != std::wstring::npos &&
        StartsWith(line, L"Seat ")) {
        if (SearchLine(line, kRiskTagged, m)) {
            if (auto* p = player(WithoutSeatTags(m[1].str(), true))) {
                p->stats.values[L"val_netwon_hand"] = CentsOf(m[4]) - p->bet;
            }
            return true;
        }
        if (SearchLine(line, kRisk, m)) {
            if (auto* p = player(m[1].str())) {
                p->stats.values[L"val_netwon_hand"] = CentsOf(m[3]) - p->bet;
            }
            return true;
        }
    }
    if (EndsWith(line, L"(cashed out).") || EndsWith(line, L"(cashed out)")) {
        if (SearchLine(line, kLostCashedTagged, m)) {
            if (auto* p = player(WithoutSeatTags(m[1].str(), true))) {
                p->stats.values[L"val_netwon_hand"] = p->netwin - p->cashOutAmount;
            }
        } else if (SearchLine(line, kLostCashed, m)) {
            if (auto* p = player(m[1].str())) {
                p->stats.values[L"val_netwon_hand"] = p->netwin - p->cashOutAmount;
            }
        }
        return true;
    }
    if (m_hand.gg) {
        if (ContainsAfterFirst(line, L"Chooses to EV Cashout")) {
            return true;
        }
        if (ContainsAfterFirst(line, L"EV Cashout")) {
            if (SearchLine(line, kEvTagged, m)) {
                if (auto* p = player(WithoutSeatTags(m[1].str(), true))) {
                    p->totalwin = CentsOf(m[5]);
                    p->paidOutsidePot = p->totalwin;
                    p->stats.values[L"val_netwon_hand"] = -p->bet;
                }
            } else if (SearchLine(line, kEv, m)) {
                if (auto* p = player(m[1].str())) {
                    p->totalwin = CentsOf(m[4]);
                    p->paidOutsidePot = p->totalwin;
                    p->stats.values[L"val_netwon_hand"] = -p->bet;
                }
            }
            return true;
        }
        // A player who took an EV cash out and then won the pot pays the room
        // its risk, once per street run out. The summary's result of every
        // such player, not only the hero's, is what the pot gave less what
        // was paid.
        if (ContainsAfterFirst(line, L": Pays Cashout Risk")) {
            if (line.rfind(L"Hero: ", 0) == 0) {
                ++m_hand.discount;
            }
            if (SearchLine(line, kPaysRisk, m)) {
                const int index = ListedPlayer(GroupView(m[1]));
                if (index >= 0) {
                    auto& p = m_hand.players[static_cast<size_t>(index)];
                    const int32_t amount = CentsOf(m[2]);
                    const int32_t paid =
                        ClampCents(static_cast<int64_t>(m_hand.riskPaid[p.name]) + amount);
                    m_hand.riskPaid[p.name] = paid;
                    AddAction(index, L"ACO", amount);
                    m_hand.collected[p.name] += amount;
                    p.cashOutAmount = paid;
                    p.cashOutFlag = true;
                    m_hand.cashOutFee = paid;
                    p.paidOutsidePot = -paid;
                    p.stats.values[L"val_fee"] = 0;
                    p.stats.values.erase(L"val_cash_out");
                    p.stats.flags[L"flag_allin_cash_out"] = true;
                    m_hand.cashOutMode = 1;
                }
            }
            return true;
        }
    }
    if (Contains(line, L": Receives Cashout (") && SearchLine(line, kReceives, m)) {
        if (auto* p = player(m[1].str())) {
            p->cashOutFlag = true;
            p->stats.values[L"val_fee"] = 0;
            p->stats.flags[L"flag_allin_cash_out"] = true;
            p->stats.values[L"val_netwon_hand"] = -p->bet;
            p->totalwin = CentsOf(m[2]);
            p->paidOutsidePot = p->totalwin;
            m_hand.cashOutMode = 2;
        }
        return true;
    }
    return false;
}

bool kroPokerStarsParseStrategy::ParseInsurance(const std::wstring& line)
{
    static const boost::wregex kPremium(
        LR"((.*): pay premium of all-in insurance \([\$|€|£|¥]?(\d+.?[0-9]{0,2})\))");
    static const boost::wregex kCompensation(
        LR"((.*): get main compensation of all-in insurance \([\$|€|£|¥]?(\d+.?[0-9]{0,2})\))");
    boost::wsmatch m;
    if (SearchLine(line, kPremium, m)) {
        if (ListedPlayer(GroupView(m[1])) >= 0) {
            m_hand.cashOutFee = CentsOf(m[2]);
        }
        return true;
    }
    if (SearchLine(line, kCompensation, m)) {
        const int index = ListedPlayer(GroupView(m[1]));
        if (index >= 0) {
            auto& p = m_hand.players[static_cast<size_t>(index)];
            const int32_t amount = CentsOf(m[2]) - m_hand.cashOutFee;
            AddAction(index, L"ACO", amount);
            p.cashOutFlag = true;
            p.cashOutAmount = amount;
            p.stats.values[L"val_cash_out"] = amount;
            p.stats.values[L"val_fee"] = m_hand.cashOutFee;
            p.stats.flags[L"flag_allin_cash_out"] = true;
        }
        return true;
    }
    return false;
}

}  // namespace kroHandParser
