// 888 files: "#Game No :" hands with a blinds line carrying a day-month-year
// date and bracketed amounts, in English or in the client's language. The
// room prints no uncalled bets, so they are computed at the summary.
#pragma once

#include "parser/strategies/kroLineParseStrategy.h"

namespace kroHandParser {

class kro888ParseStrategy : public kroLineParseStrategy
{
public:
    using kroLineParseStrategy::kroLineParseStrategy;

    int ParseFile(const std::vector<std::wstring>& lines,
                  int64_t fileId,
                  int& currency,
                  int32_t aliasId) override;
    // The blinds line. Currency "$" 0, euro 1, any other sign 2, and -1 for
    // amounts without a sign; et is 0.
    int64_t ParseHeader(const std::wstring& header,
                        CGameTypeRecord& gameType,
                        int64_t& et,
                        int64_t& utc) override;

protected:
    // Play-chip hands ("Practice Play", amounts without a currency) and
    // tournament hands are left out: their chips are no money.
    ReadResult ReadHand(std::vector<std::wstring>& lines,
                        int64_t fileId,
                        int& currency,
                        int32_t aliasId) override;
    // Positions, every player's money from what it bet and collected, the
    // hand's pot and rake, board, seats and the all-in street.
    void CompleteHand() override;
    bool PrintsTotalPot() const override { return false; }

private:
    // False when the hand must not be stored (m_outcome says why).
    bool ParseBlindsLine(const std::vector<std::wstring>& lines, size_t at, int64_t fileId);
    void ParseLine(const std::wstring& line, int32_t aliasId);
    bool ParseSeatsAndPosts(const std::wstring& line, int32_t aliasId);
    bool Parse888StreetLine(const std::wstring& line);
    void ComputeUncalledBets();
    // The cents of a bracketed amount; 0, with the hand marked to fail, when
    // it is no amount.
    int32_t CentsOf888(const std::wstring& text);

    // The uncalled part of each player's total, by index.
    std::vector<int32_t> m_uncalled;
    bool m_blindsSeen = false;
    bool m_summaryLine = false;
};

}  // namespace kroHandParser
