// PPPoker club files: the PokerStars layout under the word "PPPoker".
#pragma once

#include "parser/strategies/kroHM3ParseStrategy.h"

namespace kroHandParser {

class kroPPPokerParseStrategy : public kroHM3ParseStrategy
{
public:
    kroPPPokerParseStrategy(CParserEnvironment& env, int32_t siteId, std::wstring fileName)
        : kroHM3ParseStrategy(env, siteId, std::move(fileName), L"PPPoker")
    {}
};

}  // namespace kroHandParser
