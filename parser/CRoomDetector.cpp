#include "parser/CRoomDetector.h"

#include "db/tables/kroSites.h"
#include "foundation/Sites.h"
#include "foundation/WideText.h"
#include "parser/CParserEnvironment.h"
#include "parser/HandSplitter.h"
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

bool Contains(const std::wstring& line, const wchar_t* text)
{
    return line.find(text) != std::wstring::npos;
}

bool ClubHand(const std::wstring& line, const std::wstring& word)
{
    return (Contains(line, (word + L" Hand #").c_str()) ||
            Contains(line, (word + L" Zoom Hand #").c_str()) ||
            Contains(line, (word + L" Home Game Hand #").c_str())) &&
           PassesClubGameTest(line);
}

}  // namespace

bool PassesClubGameTest(const std::wstring& line)
{
    if (ContainsAfterFirst(line, L"Tournament")) {
        return false;
    }
    return ContainsAfterFirst(line, L"6+ Hold'em") ||
           (!ContainsAfterFirst(line, L"Holdem") && !ContainsAfterFirst(line, L"Hold'em"));
}

std::wstring CRoomDetector::SiteNameForLine(int siteCode, const std::wstring& line)
{
    switch (siteCode) {
    case kSiteNone:
    case kSitePokerStars:
        if ((Contains(line, L"PokerStars Hand #") || Contains(line, L"PokerStars Zoom Hand #") ||
             Contains(line, L"PokerStars Home Game Hand #") ||
             Contains(line, L"PokerStars Game #")) &&
            !ContainsAfterFirst(line, L"Tournament")) {
            return kSiteNamePokerStars;
        }
        break;
    case kSite888:
        if (line.rfind(L"#Game No :", 0) == 0) {
            return kSiteName888;
        }
        break;
    case kSiteRunItOnce:
        if ((Contains(line, L"Run It Once Poker Hand #") ||
             Contains(line, L"Run It Once Poker Zoom Hand #")) &&
            ContainsAfterFirst(line, L"Omaha") && !ContainsAfterFirst(line, L"Tournament") &&
            !ContainsAfterFirst(line, L"Holdem") && !ContainsAfterFirst(line, L"Hold'em")) {
            return kSiteNameRunItOnce;
        }
        break;
    case kSitePokerKingAsia:
        if (line.rfind(L"Game started at:", 0) == 0) {
            return kSiteNamePokerKingAsia;
        }
        break;
    case kSitePokerMasterHm3:
        if (ClubHand(line, L"PokerMaster")) {
            return kSiteNamePokerMaster;
        }
        break;
    case kSiteGGPoker:
        if (line.rfind(L"Poker Hand #", 0) == 0) {
            return kSiteNameGGPoker;
        }
        break;
    case kSiteUpokerHm3:
        if (ClubHand(line, L"UPoker")) {
            return kSiteNameUpoker;
        }
        break;
    case kSitePPPokerHm3:
        if (ClubHand(line, L"PPPoker")) {
            return kSiteNamePPPoker;
        }
        break;
    case kSitePokerBrosHm3:
        // The PokerBros client writes some files under the PokerMaster word.
        if (ClubHand(ReplaceAll(line, L"PokerMaster", L"PokerBros"), L"PokerBros")) {
            return kSiteNamePokerBros;
        }
        break;
    case kSiteSuprema:
        if (ClubHand(line, L"Suprema")) {
            return kSiteNameSuprema;
        }
        break;
    default:
        break;
    }
    return std::wstring();
}

std::unique_ptr<kroParseStrategyI> CRoomDetector::Detect(int siteCode,
                                                         const std::vector<std::wstring>& lines,
                                                         const std::wstring& fileName)
{
    for (const auto& raw : lines) {
        const std::wstring line = Trim(raw);
        const std::wstring siteName = SiteNameForLine(siteCode, line);
        if (siteName.empty()) {
            continue;
        }
        kroDB::kroSites::data site(m_env.db);
        site.name = siteName;
        if (!site.Load()) {
            continue;
        }
        return MakeStrategy(siteCode, site.id, fileName);
    }
    return nullptr;
}

int CRoomDetector::GuessSiteCode(const std::vector<std::wstring>& lines, size_t maxLines)
{
    static const int kCodes[] = {
        kSitePokerStars,     kSiteGGPoker,   kSite888,        kSiteRunItOnce,    kSitePokerKingAsia,
        kSitePokerMasterHm3, kSiteUpokerHm3, kSitePPPokerHm3, kSitePokerBrosHm3, kSiteSuprema};
    for (size_t i = 0; i < lines.size() && i < maxLines; ++i) {
        const std::wstring line = Trim(lines[i]);
        for (int code : kCodes) {
            if (!SiteNameForLine(code, line).empty()) {
                return code;
            }
        }
    }
    return -1;
}

std::unique_ptr<kroParseStrategyI> CRoomDetector::MakeStrategy(int siteCode,
                                                               int32_t siteId,
                                                               const std::wstring& fileName)
{
    switch (siteCode) {
    case kSiteNone:
    case kSitePokerStars:
        return std::make_unique<kroPokerStarsParseStrategy>(m_env, siteId, fileName);
    case kSite888:
        return std::make_unique<kro888ParseStrategy>(m_env, siteId, fileName);
    case kSiteRunItOnce:
        return std::make_unique<kroRunItOnceParseStrategy>(m_env, siteId, fileName);
    case kSitePokerKingAsia:
        return std::make_unique<kroPKNGParseStrategy>(m_env, siteId, fileName);
    case kSitePokerMasterHm3:
        return std::make_unique<kroPokerMasterParseStrategy>(m_env, siteId, fileName);
    case kSiteGGPoker:
        return std::make_unique<kroGGPokerParseStrategy>(m_env, siteId, fileName);
    case kSiteUpokerHm3:
        return std::make_unique<kroUpokerParseStrategy>(m_env, siteId, fileName);
    case kSitePPPokerHm3:
        return std::make_unique<kroPPPokerParseStrategy>(m_env, siteId, fileName);
    case kSitePokerBrosHm3:
        return std::make_unique<kroPokerBrosParseStrategy>(m_env, siteId, fileName);
    case kSiteSuprema:
        return std::make_unique<kroSupremaParseStrategy>(m_env, siteId, fileName);
    default:
        return nullptr;
    }
}

}  // namespace kroHandParser
