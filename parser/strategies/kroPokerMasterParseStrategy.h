// PokerMaster club files: the PokerStars layout under the word "PokerMaster".
#pragma once

#include "parser/strategies/kroHM3ParseStrategy.h"

namespace kroHandParser {

class kroPokerMasterParseStrategy : public kroHM3ParseStrategy
{
public:
    kroPokerMasterParseStrategy(CParserEnvironment& env, int32_t siteId, std::wstring fileName)
        : kroHM3ParseStrategy(env, siteId, std::move(fileName), L"PokerMaster")
    {}
};

}  // namespace kroHandParser
