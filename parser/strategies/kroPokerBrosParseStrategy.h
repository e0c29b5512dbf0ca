// PokerBros club files: the PokerStars layout under the word "PokerBros".
#pragma once

#include "parser/strategies/kroHM3ParseStrategy.h"

namespace kroHandParser {

class kroPokerBrosParseStrategy : public kroHM3ParseStrategy
{
public:
    kroPokerBrosParseStrategy(CParserEnvironment& env, int32_t siteId, std::wstring fileName)
        : kroHM3ParseStrategy(env, siteId, std::move(fileName), L"PokerBros")
    {}
};

}  // namespace kroHandParser
