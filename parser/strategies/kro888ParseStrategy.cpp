#include "parser/strategies/kro888ParseStrategy.h"

#include "companion/GetTypeGameHH.h"
#include "db/tables/kroHands.h"
#include "foundation/LocalTime.h"
#include "parser/CParserEnvironment.h"
#include "parser/HandSplitter.h"
#include "parser/HeaderFields.h"

#include <cwchar>

namespace kroHandParser {

int kro888ParseStrategy::ParseFile(const std::vector<std::wstring>& lines,
                                   int64_t fileId,
                                   int& currency,
                                   int32_t aliasId)
{
    CSplitRules rules;
    rules.isStart = [](const std::wstring& line) { return line.rfind(L"#Game No :", 0) == 0; };
    return SplitHands(lines, rules, [&](std::vector<std::wstring>& hand) {
        return ParseHandAsUnit(hand, fileId, currency, aliasId);
    });
}

int64_t kro888ParseStrategy::ParseHeader(const std::wstring& header,
                                         CGameTypeRecord& gameType,
                                         int64_t& et,
                                         int64_t& utc)
{
    static const boost::wregex kBlinds(
        LR"(([\$|€|?])(\d+.?[0-9]{0,2})/[\$|€|?](\d+.?[0-9]{0,2}) Blinds (.*) -[\*\s]* ([0-9]{1,2}) ([0-9]{1,2}) ([0-9]{4}) ([0-9]{1,2}):([0-9]{1,2}):([0-9]{1,2}))");
    et = 0;
    utc = 0;
    m_headerStatus = HeaderStatus::Ok;
    boost::wsmatch m;
    if (!MatchLine(header, kBlinds, m)) {
        gameType.currency = 0;
        m_headerStatus = HeaderStatus::NoMatch;
        return 0;
    }
    const std::wstring symbol = m[1].str();
    gameType.currency = symbol == L"$" ? 0 : symbol == L"\u20AC" ? 1 : 2;
    gameType.smallblind = CentsOf(m[2]);
    gameType.bigblind = CentsOf(m[3]);
    gameType.idgamekind = GetTypeGameHH(m[4].str());
    const auto day = static_cast<int>(std::wcstol(m[5].str().c_str(), nullptr, 10));
    const auto month = static_cast<int>(std::wcstol(m[6].str().c_str(), nullptr, 10));
    const auto year = static_cast<int>(std::wcstol(m[7].str().c_str(), nullptr, 10));
    const auto hour = static_cast<int>(std::wcstol(m[8].str().c_str(), nullptr, 10));
    const auto minute = static_cast<int>(std::wcstol(m[9].str().c_str(), nullptr, 10));
    const auto second = static_cast<int>(std::wcstol(m[10].str().c_str(), nullptr, 10));
    const auto t = LocalDateTimeToSeconds(year, month, day, hour, minute, second);
    if (!t) {
        m_headerStatus = HeaderStatus::InvalidDateTime;
        return 0;
    }
    utc = *t + m_env.settings.localOffset;
    return *t;
}

bool kro888ParseStrategy::ParseHand(std::vector<std::wstring>& /*lines*/,
                                    int64_t /*fileId*/,
                                    int& /*currency*/,
                                    int32_t /*aliasId*/)
{
    // TODO(issue 4): the 888 hand body.
    m_outcome = HandOutcome::Skipped;
    return false;
}

}  // namespace kroHandParser
