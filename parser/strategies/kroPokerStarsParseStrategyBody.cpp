// The line loop of one PokerStars-layout hand and the helpers its tests share.
#include "foundation/WideText.h"
#include "parser/CParserEnvironment.h"
#include "parser/HandSplitter.h"
#include "parser/HeaderFields.h"
#include "parser/LineTests.h"
#include "parser/strategies/kroPokerStarsParseStrategy.h"

namespace kroHandParser {

void kroPokerStarsParseStrategy::ParseBody(const std::vector<std::wstring>& lines, int32_t aliasId)
{
    for (size_t i = 1; i < lines.size(); ++i) {
        m_hand.lineNumber = static_cast<int>(i);
        // One buffer for every line of the file: its room is kept.
        std::wstring& line = m_line;
        line.assign(lines[i]);
        // Large amounts come with thousands separators ("$1,306.18"), which
        // the amount patterns would cut at the comma.
        RemoveThousandsSeparators(line);
        if (m_hand.rupees) {
            RemoveRupeeSigns(line);
        }
        if (line.empty() || ContainsAfterFirst(line, L"joins the table at seat")) {
            continue;
        }
        if (StartsWith(line, L"***")) {
            RecordStreetLinePosition(line);
        }
        if (line == L"Hand cancelled") {
            m_hand.cancelled = true;
            continue;
        }
        ParseLine(line, aliasId);
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

}  // namespace kroHandParser
