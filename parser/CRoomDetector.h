// Recognising a room from a file's lines: for the room's site code, the first
// line that passes the room's test (from the room registry) names the site,
// whose row must exist; the registry's strategy kind says which parse
// strategy reads the file.
#pragma once

#include "foundation/Rooms.h"

#include <memory>
#include <string>
#include <vector>

namespace kroHandParser {

class kroParseStrategyI;
struct CParserEnvironment;

class CRoomDetector
{
public:
    // Requires: `env` outlives the detector and the strategies it makes.
    explicit CRoomDetector(CParserEnvironment& env)
        : m_env(env)
    {}

    // The site name whose test `line` (trimmed) passes for `siteCode`, or
    // empty. Site codes 0 and 1 use the PokerStars test.
    static std::wstring SiteNameForLine(int siteCode, const std::wstring& line);

    // The strategy of the first line that passes and whose site row exists;
    // null when none does. `fileName` goes to the strategy.
    std::unique_ptr<kroParseStrategyI> Detect(int siteCode,
                                              const std::vector<std::wstring>& lines,
                                              const std::wstring& fileName);

    // The site code whose test the file's first lines pass, trying every room
    // in the registry's order; -1 when none does. A convenience for importing
    // without naming the room.
    static int GuessSiteCode(const std::vector<std::wstring>& lines, size_t maxLines = 200);

    // A new strategy of `kind` for the room whose sites-table id is `siteId`;
    // null for StrategyKind::None.
    static std::unique_ptr<kroParseStrategyI> MakeStrategy(StrategyKind kind,
                                                           CParserEnvironment& env,
                                                           int32_t siteId,
                                                           const std::wstring& fileName);

private:
    CParserEnvironment& m_env;
};

}  // namespace kroHandParser
