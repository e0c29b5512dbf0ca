// The line loop of one PokerStars-layout hand and the helpers its tests share.
#include "db/tables/CActionList.h"
#include "db/tables/kroHands.h"
#include "foundation/WideText.h"
#include "parser/CParserEnvironment.h"
#include "parser/HandSplitter.h"
#include "parser/HeaderFields.h"
#include "parser/strategies/kroPokerStarsParseStrategy.h"

namespace kroHandParser {

bool kroPokerStarsParseStrategy::ParseBody(const std::vector<std::wstring>& lines, int32_t aliasId)
{
    for (size_t i = 1; i < lines.size(); ++i) {
        m_hand.lineNumber = static_cast<int>(i);
        std::wstring line = lines[i];
        // Large amounts come with thousands separators ("$1,306.18"), which
        // the amount patterns would cut at the comma.
        RemoveThousandsSeparators(line);
        if (line.empty() || ContainsAfterFirst(line, L"joins the table at seat")) {
            continue;
        }
        if (line.rfind(L"***", 0) == 0) {
            RecordStreetLinePosition(line);
        }
        ParseLine(line, aliasId);
    }
    EndOfHand();
    return true;
}

void kroPokerStarsParseStrategy::RecordStreetLinePosition(const std::wstring& line)
{
    if (line.size() < 5) {
        return;
    }
    const int at = m_hand.lineNumber - m_hand.discount;
    const wchar_t fifth = line[4];
    const wchar_t sixth = line.size() > 5 ? line[5] : L'\0';
    switch (fifth) {
    case L'F':
        if (sixth == L'L') {
            m_hand.streetLine[0] = at;
        } else if (m_hand.firstSplitStreet == 0 && line.size() > 10) {
            // "*** FIRST FLOP", "FIRST TURN", "FIRST RIVER": the first street
            // dealt more than once is where the players were all in.
            const wchar_t which = line[10];
            m_hand.firstSplitStreet = which == L'F' ? 1 : which == L'T' ? 2 : which == L'R' ? 3 : 0;
        }
        break;
    case L'T':
        m_hand.streetLine[1] = at;
        break;
    case L'R':
        m_hand.streetLine[2] = at;
        break;
    case L'S':
        if (sixth == L'H') {
            m_hand.streetLine[3] = at;
        }
        break;
    case L'H':
        SettleClubGameType();
        break;
    default:
        break;
    }
}

void kroPokerStarsParseStrategy::ParseLine(const std::wstring& line, int32_t aliasId)
{
    if (ParseSeatsAndPosts(line, aliasId)) {
        return;
    }
    if (ParseActions(line)) {
        return;
    }
    if (ParseCashOut(line)) {
        return;
    }
    if (ParseStreetLine(line)) {
        return;
    }
    if (ContainsAfterFirst(line, L"insurance")) {
        ParseInsurance(line);
        return;
    }
    if (ParsePots(line)) {
        return;
    }
    if (ParseBoard(line)) {
        return;
    }
    ParseShowdown(line);
}

void kroPokerStarsParseStrategy::AddAction(int index, const wchar_t* code, int32_t amount)
{
    if (m_hand.summarySeen) {
        return;
    }
    CActionRecord action;
    action.idhand = m_hand.hand.id;
    action.idaction = m_env.actions.ActionByCode(code);
    action.idplayer = index >= 0 ? m_hand.players[static_cast<size_t>(index)].idplayer : -1;
    action.amount = amount;
    m_hand.actions.push_back(action);
}

void kroPokerStarsParseStrategy::AddActionByName(int index, const wchar_t* name, int32_t amount)
{
    if (m_hand.summarySeen) {
        return;
    }
    CActionRecord action;
    action.idhand = m_hand.hand.id;
    action.idaction = m_env.actions.ActionByName(name);
    action.idplayer = index >= 0 ? m_hand.players[static_cast<size_t>(index)].idplayer : -1;
    action.amount = amount;
    m_hand.actions.push_back(action);
}

std::wstring kroPokerStarsParseStrategy::WithoutSeatTags(std::wstring name, bool onlyOne)
{
    static const wchar_t* const kTags[] = {L"(big blind)", L"(small blind)", L"(button)"};
    bool removed = true;
    while (removed) {
        removed = false;
        for (const wchar_t* tag : kTags) {
            const std::wstring t(tag);
            if (name.size() >= t.size() && name.compare(name.size() - t.size(), t.size(), t) == 0) {
                // The tag and the blank before it.
                name.erase(name.size() - t.size() - (name.size() > t.size() ? 1 : 0));
                removed = true;
                break;
            }
        }
        if (onlyOne) {
            break;
        }
    }
    return name;
}

void kroPokerStarsParseStrategy::StoreBoardOfHand()
{
    if (!m_storing) {
        return;
    }
    kroDB::kroHands::data row(m_env.db);
    static_cast<CHandRecord&>(row) = m_hand.hand;
    (void)row.StoreBoard();
    m_hand.hand.boardtype = row.boardtype;
}

}  // namespace kroHandParser
