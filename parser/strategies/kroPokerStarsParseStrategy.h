// The PokerStars hand-history layout, which GGPoker and the club rooms share
// with small differences: splitting files into hands, headers, and one hand's
// lines from the header to the summary.
#pragma once

#include "parser/strategies/kroLineParseStrategy.h"

#include <boost/regex.hpp>

namespace kroHandParser {

class kroPokerStarsParseStrategy : public kroLineParseStrategy
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
    // Old files write no "Uncalled bet" line when the small blind folds to the
    // big blind: what nobody matched goes back all the same.
    void CompleteHand() override;
    bool KeepsAllinDump() const override { return true; }

    // A line that opens a hand in this room's files.
    virtual bool IsHandStart(const std::wstring& line) const;

    // The hand-start steps: header, game type, hand row (or the stored one)
    // and hand text. False when the hand must not be stored; sets m_outcome.
    bool StartHand(const std::vector<std::wstring>& lines,
                   const boost::wsmatch& start,
                   bool ggHeader,
                   int64_t fileId,
                   int& currency);
    // The rest of the hand's lines, from the second on.
    void ParseBody(const std::vector<std::wstring>& lines, int32_t aliasId);

    // One line of the body; the tests in their fixed order.
    void ParseLine(const std::wstring& line, int32_t aliasId);
    bool ParseSeatsAndPosts(const std::wstring& line, int32_t aliasId);
    bool ParseActions(const std::wstring& line);
    bool ParseCashOut(const std::wstring& line);
    bool ParseInsurance(const std::wstring& line);
    bool ParsePots(const std::wstring& line);
    bool ReadPotLine(const std::wstring& line);
    bool ParseBoard(const std::wstring& line);
    bool ParseShowdown(const std::wstring& line);
    void SettleClubGameType();
    void OnHoleCardsLine() override { SettleClubGameType(); }
    int32_t TotalWinAtSummary(const CHandPlayerRecord& player, int32_t collected) const override;

    // The name with its trailing seat tags removed ("(button)", "(big blind)").
    static std::wstring WithoutSeatTags(std::wstring name, bool onlyOne = false);

    // The hand was left out because we do not read its game.
    bool m_gameLeftOut = false;
    // The line being read.
    std::wstring m_line;
};

}  // namespace kroHandParser
