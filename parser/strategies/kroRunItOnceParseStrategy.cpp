#include "parser/strategies/kroRunItOnceParseStrategy.h"

#include "companion/GetTypeGameHH.h"
#include "parser/CParserEnvironment.h"
#include "parser/HandSplitter.h"
#include "parser/HeaderFields.h"

namespace kroHandParser {

int kroRunItOnceParseStrategy::ParseFile(const std::vector<std::wstring>& lines,
                                         int64_t fileId,
                                         int& currency,
                                         int32_t /*aliasId*/)
{
    CSplitRules rules;
    rules.isStart = [](const std::wstring& line) {
        return line.rfind(L"Run It Once Poker Hand #", 0) == 0 ||
               line.find(L"Run It Once Poker Zoom Hand #") != std::wstring::npos;
    };
    return SplitHands(lines, rules, [&](std::vector<std::wstring>& hand) {
        return ParseHandAsUnit(hand, fileId, currency, 0);
    });
}

int64_t kroRunItOnceParseStrategy::ParseHeader(const std::wstring& header,
                                               CGameTypeRecord& gameType,
                                               int64_t& et,
                                               int64_t& utc)
{
    static const boost::wregex kHeader(
        LR"(Run It Once Poker Hand #\d+:\s+(.*) \(([\$|€])(\d+.?[0-9]{0,2})/[\$|€](\d+.?[0-9]{0,2})\) - (\d{4})/(\d{2})/(\d{2}) (\d+):(\d+) UTC \[(\d{4})/(\d{2})/(\d{2}) (\d+):(\d+) (\w+)\](.*))");
    gameType.fast = false;
    et = 0;
    utc = 0;
    m_headerStatus = HeaderStatus::Ok;
    boost::wsmatch m;
    if (!SearchLine(header, kHeader, m)) {
        m_headerStatus = HeaderStatus::NoMatch;
        return 0;
    }
    const std::wstring symbol = m[2].str();
    gameType.currency = symbol == L"$" ? 0 : symbol == L"\u20AC" ? 1 : -1;
    gameType.smallblind = CentsOf(m[3]);
    gameType.bigblind = CentsOf(m[4]);
    gameType.idgamekind = GetTypeGameHH(m[1].str());
    const auto universal = DateTimeFromGroupsNoSeconds(m, 5);
    const auto local = DateTimeFromGroupsNoSeconds(m, 10);
    if (!universal || !local) {
        m_headerStatus = HeaderStatus::InvalidDateTime;
        return 0;
    }
    et = *universal - 14400;
    utc = *local + m_env.settings.localOffset;
    return *local;
}

bool kroRunItOnceParseStrategy::ParseHand(std::vector<std::wstring>& /*lines*/,
                                          int64_t /*fileId*/,
                                          int& /*currency*/,
                                          int32_t /*aliasId*/)
{
    // TODO(issue 4): the Run It Once hand body.
    m_outcome = HandOutcome::Skipped;
    return false;
}

}  // namespace kroHandParser
