#include "parser/strategies/kroPKNGParseStrategy.h"

#include "parser/CParserEnvironment.h"
#include "parser/HandSplitter.h"
#include "parser/HeaderFields.h"

namespace kroHandParser {

int kroPKNGParseStrategy::ParseFile(const std::vector<std::wstring>& lines,
                                    int64_t fileId,
                                    int& currency,
                                    int32_t /*aliasId*/)
{
    CSplitRules rules;
    rules.isStart = [](const std::wstring& line) {
        return line.rfind(L"Game started at:", 0) == 0;
    };
    return SplitHands(lines, rules, [&](std::vector<std::wstring>& hand) {
        return ParseHandAsUnit(hand, fileId, currency, 0);
    });
}

int64_t kroPKNGParseStrategy::ParseHeader(const std::wstring& header,
                                          CGameTypeRecord& gameType,
                                          int64_t& et,
                                          int64_t& utc)
{
    static const boost::wregex kStarted(
        LR"(Game started at: (\d{4})/(\d{2})/(\d{2}) (\d+):(\d+):(\d+))");
    et = 0;
    utc = 0;
    gameType.currency = 0;
    m_headerStatus = HeaderStatus::Ok;
    boost::wsmatch m;
    if (!MatchLine(header, kStarted, m)) {
        m_headerStatus = HeaderStatus::NoMatch;
        return 0;
    }
    const auto t = DateTimeFromGroups(m, 1);
    if (!t) {
        m_headerStatus = HeaderStatus::InvalidDateTime;
        return 0;
    }
    const int64_t offset = m_env.settings.localOffset;
    et = *t + offset - 18000;
    utc = *t + offset;
    return *t;
}

bool kroPKNGParseStrategy::ParseHand(std::vector<std::wstring>& /*lines*/,
                                     int64_t /*fileId*/,
                                     int& /*currency*/,
                                     int32_t /*aliasId*/)
{
    // TODO(issue 4): the PokerKing Asia hand body.
    m_outcome = HandOutcome::Skipped;
    return false;
}

}  // namespace kroHandParser
