#include "parser/CRoomDetector.h"

#include "db/tables/kroSites.h"
#include "foundation/Sites.h"
#include "foundation/WideText.h"
#include "parser/CParserEnvironment.h"
#include "parser/strategies/kro888ParseStrategy.h"
#include "parser/strategies/kroGGPokerParseStrategy.h"
#include "parser/strategies/kroPKNGParseStrategy.h"
#include "parser/strategies/kroPPPokerParseStrategy.h"
#include "parser/strategies/kroPokerBrosParseStrategy.h"
#include "parser/strategies/kroPokerMasterParseStrategy.h"
#include "parser/strategies/kroPokerStarsParseStrategy.h"
#include "parser/strategies/kroRunItOnceParseStrategy.h"
#include "parser/strategies/kroSupremaParseStrategy.h"
#include "parser/strategies/kroUpokerParseStrategy.h"

namespace kroHandParser {

namespace {

// The room whose test a file of `siteCode` must pass: without a room name the
// PokerStars test applies.
const CRoomInfo* RoomToDetect(int siteCode)
{
    return RoomOfSiteCode(siteCode == kSiteNone ? kSitePokerStars : siteCode);
}

}  // namespace

std::wstring CRoomDetector::SiteNameForLine(int siteCode, const std::wstring& line)
{
    const CRoomInfo* room = RoomToDetect(siteCode);
    if (room == nullptr || room->detects == nullptr || !room->detects(line)) {
        return std::wstring();
    }
    return room->siteName;
}

std::unique_ptr<kroParseStrategyI> CRoomDetector::Detect(int siteCode,
                                                         const std::vector<std::wstring>& lines,
                                                         const std::wstring& fileName)
{
    const CRoomInfo* room = RoomToDetect(siteCode);
    if (room == nullptr || room->detects == nullptr) {
        return nullptr;
    }
    for (const auto& raw : lines) {
        const std::wstring line = Trim(raw);
        if (!room->detects(line)) {
            continue;
        }
        kroDB::kroSites::data site(m_env.db);
        site.name = room->siteName;
        if (!site.Load()) {
            continue;
        }
        return MakeStrategy(room->strategy, m_env, site.id, fileName);
    }
    return nullptr;
}

int CRoomDetector::GuessSiteCode(const std::vector<std::wstring>& lines, size_t maxLines)
{
    for (size_t i = 0; i < lines.size() && i < maxLines; ++i) {
        const std::wstring line = Trim(lines[i]);
        for (const CRoomInfo& room : AllRooms()) {
            if (room.detects != nullptr && room.detects(line)) {
                return room.siteCode;
            }
        }
    }
    return -1;
}

std::unique_ptr<kroParseStrategyI> CRoomDetector::MakeStrategy(StrategyKind kind,
                                                               CParserEnvironment& env,
                                                               int32_t siteId,
                                                               const std::wstring& fileName)
{
    switch (kind) {
    case StrategyKind::PokerStars:
        return std::make_unique<kroPokerStarsParseStrategy>(env, siteId, fileName);
    case StrategyKind::Poker888:
        return std::make_unique<kro888ParseStrategy>(env, siteId, fileName);
    case StrategyKind::RunItOnce:
        return std::make_unique<kroRunItOnceParseStrategy>(env, siteId, fileName);
    case StrategyKind::PokerKingAsia:
        return std::make_unique<kroPKNGParseStrategy>(env, siteId, fileName);
    case StrategyKind::PokerMaster:
        return std::make_unique<kroPokerMasterParseStrategy>(env, siteId, fileName);
    case StrategyKind::GGPoker:
        return std::make_unique<kroGGPokerParseStrategy>(env, siteId, fileName);
    case StrategyKind::Upoker:
        return std::make_unique<kroUpokerParseStrategy>(env, siteId, fileName);
    case StrategyKind::PPPoker:
        return std::make_unique<kroPPPokerParseStrategy>(env, siteId, fileName);
    case StrategyKind::PokerBros:
        return std::make_unique<kroPokerBrosParseStrategy>(env, siteId, fileName);
    case StrategyKind::Suprema:
        return std::make_unique<kroSupremaParseStrategy>(env, siteId, fileName);
    case StrategyKind::None:
        break;
    }
    return nullptr;
}

}  // namespace kroHandParser
