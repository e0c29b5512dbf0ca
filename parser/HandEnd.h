// What every room format stores when a hand ends: the statistic flags, the
// hand players with their rake shares, the hand's named values, the hero's
// all-in EV (with its dump file), and the hero's row published for live
// import.
#pragma once

#include <string>

namespace kroHandParser {

struct CHandState;
struct CParserEnvironment;

class CHandEnd
{
public:
    // Requires: `env` outlives this object.
    CHandEnd(CParserEnvironment& env, std::wstring fileName)
        : m_env(env)
        , m_fileName(std::move(fileName))
    {}

    // Requires: the hand row is stored and the summary was read.
    void Store(CHandState& hand);

private:
    // True when the hero's all-in EV was worked out and stored.
    bool ComputeAllinEv(CHandState& hand);

    CParserEnvironment& m_env;
    std::wstring m_fileName;
};

}  // namespace kroHandParser
