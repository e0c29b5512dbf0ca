// UPoker club files: the PokerStars layout under the word "UPoker".
#pragma once

#include "parser/strategies/kroHM3ParseStrategy.h"

namespace kroHandParser {

class kroUpokerParseStrategy : public kroHM3ParseStrategy
{
public:
    kroUpokerParseStrategy(CParserEnvironment& env, int32_t siteId, std::wstring fileName)
        : kroHM3ParseStrategy(env, siteId, std::move(fileName), L"UPoker")
    {}
};

}  // namespace kroHandParser
