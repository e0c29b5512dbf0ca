// What every room format stores when a hand ends, in this order: the
// statistic flags, the hand players with their rake shares, the hand's named
// values, the hero's all-in EV (with its dump file where the room keeps one),
// and the hero's row published for live import.
#pragma once

#include "foundation/records/CHandPlayerRecord.h"

#include <string>
#include <vector>

namespace kroHandParser {

struct CHandState;
struct CParserEnvironment;

class CHandEnd
{
public:
    // Requires: `env` outlives this object. `allinDump`: the room writes the
    // all-in EV dump file when the settings ask for it.
    CHandEnd(CParserEnvironment& env, std::wstring fileName, bool allinDump)
        : m_env(env)
        , m_fileName(std::move(fileName))
        , m_allinDump(allinDump)
    {}

    // Requires: the hand row is stored, the summary was read and the hand's
    // total pot is positive.
    void Store(CHandState& hand);

    // Each player's share of `rake` in proportion to what the player bet:
    // rake x bet / (all bets), rounded down, and the cents left over one each
    // to the players with the largest remainders (the earlier player first
    // on a tie), so that the shares add up to the rake exactly. All 0 when
    // nobody bet or there is no rake.
    static std::vector<int32_t> RakeShares(int32_t rake,
                                           const std::vector<CHandPlayerRecord>& players);

private:
    // True when the hero's all-in EV was worked out and stored.
    bool ComputeAllinEv(CHandState& hand);

    CParserEnvironment& m_env;
    std::wstring m_fileName;
    bool m_allinDump;
};

}  // namespace kroHandParser
