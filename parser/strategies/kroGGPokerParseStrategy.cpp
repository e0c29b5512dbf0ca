#include "parser/strategies/kroGGPokerParseStrategy.h"

#include "parser/HandSplitter.h"

namespace kroHandParser {

bool kroGGPokerParseStrategy::IsHandStart(const std::wstring& line) const
{
    return line.rfind(L"Poker Hand #", 0) == 0;
}

int kroGGPokerParseStrategy::ParseFile(const std::vector<std::wstring>& lines,
                                       int64_t fileId,
                                       int& currency,
                                       int32_t aliasId)
{
    CSplitRules rules;
    rules.isStart = [this](const std::wstring& line) { return IsHandStart(line); };
    rules.leaveOut = [](const std::wstring& line, std::vector<std::wstring>&) {
        return IsTableChatterLine(line);
    };
    return SplitHands(lines, rules, [&](std::vector<std::wstring>& hand) {
        return ParseHandAsUnit(hand, fileId, currency, aliasId);
    });
}

}  // namespace kroHandParser
