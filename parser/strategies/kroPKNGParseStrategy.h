// PokerKing Asia files: a line-per-event layout ("Player X calls (2)") that
// starts each hand at a "Game started at:" line and ends it with one line per
// player giving what the player bet, collected and won or lost. The same
// layout serves the network's short-deck, Hold'em and Omaha tables.
#pragma once

#include "parser/strategies/kroLineParseStrategy.h"

#include <set>

namespace kroHandParser {

class kroPKNGParseStrategy : public kroLineParseStrategy
{
public:
    using kroLineParseStrategy::kroLineParseStrategy;

    int ParseFile(const std::vector<std::wstring>& lines,
                  int64_t fileId,
                  int& currency,
                  int32_t aliasId) override;
    // The "Game started at:" line; the currency is always 0.
    int64_t ParseHeader(const std::wstring& header,
                        CGameTypeRecord& gameType,
                        int64_t& et,
                        int64_t& utc) override;

protected:
    ReadResult ReadHand(std::vector<std::wstring>& lines,
                        int64_t fileId,
                        int& currency,
                        int32_t aliasId) override;
    void CompleteHand() override { FinishSummary(); }

private:
    // The "Game ID" line: the game type and the hand row. False when the hand
    // must not be stored (m_outcome says why).
    bool StartHand(const std::vector<std::wstring>& lines,
                   size_t at,
                   int64_t fileId,
                   int& currency);
    void ParseLine(const std::wstring& line);
    bool ParseSeatsAndPosts(const std::wstring& line);
    bool ParseActions(const std::wstring& line);
    bool ParsePots(const std::wstring& line);
    bool ParseBoard(const std::wstring& line);
    bool ParsePlayerSummary(const std::wstring& line);
    void EvaluateCombinations();
    // After the last line: the players' hands on the common board, the show
    // down seen in their summary lines, each player's split of its result,
    // and the pot as the players paid it.
    void FinishSummary();

    bool m_started = false;
    // Players whose summary line showed or mucked cards at the show down.
    std::set<int> m_showed;
    // Players whose money the summary lines gave.
    std::set<int> m_summarised;
};

}  // namespace kroHandParser
