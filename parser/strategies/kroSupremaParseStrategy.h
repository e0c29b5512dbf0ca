// Suprema club files: the PokerStars layout under the word "Suprema".
#pragma once

#include "parser/strategies/kroHM3ParseStrategy.h"

namespace kroHandParser {

class kroSupremaParseStrategy : public kroHM3ParseStrategy
{
public:
    kroSupremaParseStrategy(CParserEnvironment& env, int32_t siteId, std::wstring fileName)
        : kroHM3ParseStrategy(env, siteId, std::move(fileName), L"Suprema")
    {}
};

}  // namespace kroHandParser
