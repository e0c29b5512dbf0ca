// Run It Once files: a PokerStars-like layout with its own header, table line and
// splash-the-pot amounts.
#pragma once

#include "parser/kroParseStrategyI.h"

namespace kroHandParser {

class kroRunItOnceParseStrategy : public kroParseStrategyI
{
public:
    using kroParseStrategyI::kroParseStrategyI;

    int ParseFile(const std::vector<std::wstring>& lines,
                  int64_t fileId,
                  int& currency,
                  int32_t aliasId) override;
    bool ParseHand(std::vector<std::wstring>& lines,
                   int64_t fileId,
                   int& currency,
                   int32_t aliasId) override;
    int64_t ParseHeader(const std::wstring& header,
                        CGameTypeRecord& gameType,
                        int64_t& et,
                        int64_t& utc) override;
};

}  // namespace kroHandParser
