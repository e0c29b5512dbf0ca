// 888 files: "#Game No :" hands with a blinds line carrying a day-month-year
// date and bracketed amounts.
#pragma once

#include "parser/kroParseStrategyI.h"

namespace kroHandParser {

class kro888ParseStrategy : public kroParseStrategyI
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
