// GGPoker files: the PokerStars layout with its own hand start, cash-out and
// insurance lines; game-code lines stay in the hand.
#pragma once

#include "parser/strategies/kroPokerStarsParseStrategy.h"

namespace kroHandParser {

class kroGGPokerParseStrategy : public kroPokerStarsParseStrategy
{
public:
    using kroPokerStarsParseStrategy::kroPokerStarsParseStrategy;

    int ParseFile(const std::vector<std::wstring>& lines,
                  int64_t fileId,
                  int& currency,
                  int32_t aliasId) override;

protected:
    bool IsHandStart(const std::wstring& line) const override;
};

}  // namespace kroHandParser
