// The club rooms that write the PokerStars layout under their own room word:
// their file split (game-code lines, one summary board line per run of the
// board) and their header. Never made itself; one subclass per room.
#pragma once

#include "parser/strategies/kroPokerStarsParseStrategy.h"

namespace kroHandParser {

class kroHM3ParseStrategy : public kroPokerStarsParseStrategy
{
public:
    int ParseFile(const std::vector<std::wstring>& lines,
                  int64_t fileId,
                  int& currency,
                  int32_t aliasId) override;
    int64_t ParseHeader(const std::wstring& header,
                        CGameTypeRecord& gameType,
                        int64_t& et,
                        int64_t& utc) override;

    // The word the room writes in its headers ("PokerMaster", "UPoker", ...).
    const std::wstring& RoomWord() const { return m_word; }

protected:
    kroHM3ParseStrategy(CParserEnvironment& env,
                        int32_t siteId,
                        std::wstring fileName,
                        std::wstring roomWord);
    bool IsHandStart(const std::wstring& line) const override;

private:
    std::wstring m_word;
    boost::wregex m_header;
};

}  // namespace kroHandParser
