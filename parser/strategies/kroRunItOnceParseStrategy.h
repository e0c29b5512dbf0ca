// Run It Once files: a PokerStars-like layout with its own header, table line,
// pot lines and splash-the-pot amounts ("STP added"), at most two boards.
#pragma once

#include "parser/strategies/kroLineParseStrategy.h"

#include <boost/regex.hpp>

namespace kroHandParser {

class kroRunItOnceParseStrategy : public kroLineParseStrategy
{
public:
    using kroLineParseStrategy::kroLineParseStrategy;

    int ParseFile(const std::vector<std::wstring>& lines,
                  int64_t fileId,
                  int& currency,
                  int32_t aliasId) override;
    int64_t ParseHeader(const std::wstring& header,
                        CGameTypeRecord& gameType,
                        int64_t& et,
                        int64_t& utc) override;

protected:
    ReadResult ReadHand(std::vector<std::wstring>& lines,
                        int64_t fileId,
                        int& currency,
                        int32_t aliasId) override;
    // The room writes who mucked at the show down only in the summary, and
    // some of its files count the splash into more than one pot.
    void CompleteHand() override;
    void OnSummaryLine() override;
    void OnStreetDealt() override { m_lastAggressor = -1; }

private:
    // Header, game type, hand row and text; false when the hand must not be
    // stored (m_outcome says why).
    bool StartHand(const std::vector<std::wstring>& lines,
                   const boost::wsmatch& start,
                   int64_t fileId,
                   int& currency);
    void ParseLine(const std::wstring& line);
    bool ParseSeatsAndPosts(const std::wstring& line);
    bool ParseActions(const std::wstring& line);
    bool ParseShowdown(const std::wstring& line);
    bool ParsePots(const std::wstring& line);
    bool ParseBoard(const std::wstring& line);
    // After the summary computation: each winner's share of the splash.
    void ShareSplash();
    // After the last line: the show down of the players who showed or mucked
    // in the summary, and every player's result on its side of the split.
    void FinishShowdown();

    // The splash added to this hand's pot, in cents.
    int32_t m_splash = 0;
    // The player who bet or raised last on the current street, or -1.
    int m_lastAggressor = -1;
    // Whether more than one player's hole cards are dealt face up in the text.
    bool m_manyDealt = false;
};

}  // namespace kroHandParser
