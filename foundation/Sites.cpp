#include "foundation/Sites.h"

#include "foundation/CStatDefinitions.h"

const std::array<const wchar_t*, kSiteCodeCount> kSiteSymbolicNames = {
    L"SITE_NONE",
    L"SITE_POKER_STARS",
    L"SITE_888",
    L"SITE_RUN_IT_ONCE",
    L"SITE_RED_STAR",
    L"SITE_RED_KINGS",
    L"SITE_POKER_KING_ASIA",
    L"SITE_POKER_MASTER_HM3",
    L"SITE_RESERV_1",
    L"SITE_GGPOKER",
    L"SITE_UPOKER_HM3",
    L"SITE_PPPOKER_HM3",
    L"SITE_POKERBROS_HM3",
    L"SITE_SUPREMA",
};

int SiteCodeFromSymbolicName(std::wstring_view symbolicName)
{
    for (size_t i = 0; i < kSiteSymbolicNames.size(); ++i) {
        if (symbolicName == kSiteSymbolicNames[i]) {
            return static_cast<int>(i);
        }
    }
    return kSiteNone;
}

int SiteCodeFromRoomName(std::wstring_view roomName, const CStatDefinitions& definitions)
{
    std::vector<CStatDefinition> sites;
    if (!definitions.ReadStatSection(L"sites", sites)) {
        return kSiteNone;
    }
    for (const auto& site : sites) {
        if (site.description == roomName) {
            return SiteCodeFromSymbolicName(site.name);
        }
    }
    return kSiteNone;
}
