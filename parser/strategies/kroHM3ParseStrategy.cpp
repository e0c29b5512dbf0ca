#include "parser/strategies/kroHM3ParseStrategy.h"

#include "companion/GetTypeGameHH.h"
#include "foundation/WideText.h"
#include "parser/CParserEnvironment.h"
#include "parser/HandSplitter.h"
#include "parser/HeaderFields.h"
#include "parser/strategies/ClubMultiBoard.h"

namespace kroHandParser {

namespace {

const wchar_t* const kClubWords[] = {L"PokerMaster", L"UPoker", L"PPPoker", L"PokerBros",
                                     L"Suprema"};

}  // namespace

kroHM3ParseStrategy::kroHM3ParseStrategy(CParserEnvironment& env,
                                         int32_t siteId,
                                         std::wstring fileName,
                                         std::wstring roomWord)
    : kroPokerStarsParseStrategy(env, siteId, std::move(fileName))
    , m_word(std::move(roomWord))
    , m_header(
          m_word +
          LR"( Hand #\d+: (.*) \([\$|€|£|¥](\d+.?[0-9]{0,2})/[\$|€|£|¥](\d+.?[0-9]{0,2}) (USD|EURO|EUR|GBP|CNY)\) - (\d{4})/(\d{2})/(\d{2}) (\d+):(\d+):(\d+) (\w+))")
{}

bool kroHM3ParseStrategy::IsHandStart(const std::wstring& line) const
{
    for (const wchar_t* word : kClubWords) {
        const std::wstring w(word);
        if (line.rfind(w + L" Hand #", 0) == 0 ||
            line.find(w + L" Zoom Hand #") != std::wstring::npos) {
            return true;
        }
    }
    return false;
}

int kroHM3ParseStrategy::ParseFile(const std::vector<std::wstring>& lines,
                                   int64_t fileId,
                                   int& currency,
                                   int32_t aliasId)
{
    CSplitRules rules;
    rules.isStart = [this](const std::wstring& line) { return IsHandStart(line); };
    rules.leaveOut = [](const std::wstring& line, std::vector<std::wstring>& current) {
        if (line.rfind(L"# {", 0) == 0) {
            ApplyClubGameCode(line, current);
            return true;
        }
        return false;
    };
    return SplitHands(lines, rules, [&](std::vector<std::wstring>& hand) {
        std::vector<std::wstring> rewritten = RewriteClubMultiBoard(hand);
        return ParseHandAsUnit(rewritten, fileId, currency, aliasId);
    });
}

int64_t kroHM3ParseStrategy::ParseHeader(const std::wstring& header,
                                         CGameTypeRecord& gameType,
                                         int64_t& et,
                                         int64_t& utc)
{
    std::wstring line = header;
    if (line.rfind(L"PokerStars", 0) == 0) {
        line = ReplaceAll(line, L"PokerStars", m_word);
    }
    gameType.fast = false;
    et = 0;
    utc = 0;
    m_headerStatus = HeaderStatus::Ok;
    boost::wsmatch m;
    std::wstring description;
    if (!SearchLine(line, m_header, m)) {
        gameType.currency = -1;
        gameType.idgamekind = GetTypeGameHH(description);
        m_headerStatus = HeaderStatus::NoMatch;
        return 0;
    }
    description = Trim(m[1].str());
    gameType.smallblind = CentsOf(m[2]);
    gameType.bigblind = CentsOf(m[3]);
    gameType.currency = CurrencyFromLetters(m[4].str());
    gameType.idgamekind = GetTypeGameHH(description);
    m_gameText = description;
    const auto t = DateTimeFromGroups(m, 5);
    if (!t) {
        m_headerStatus = HeaderStatus::InvalidDateTime;
        return 0;
    }
    const int64_t offset = m_env.settings.localOffset;
    if (m[11].str() == L"ET") {
        et = *t;
        utc = *t + 14400;
        return *t + 14400 + offset;
    }
    // The clubs write UTC; any other zone is read the same way, so that the
    // same file gives the same times on every import.
    et = *t - 14400;
    utc = *t;
    return *t + offset;
}

}  // namespace kroHandParser
