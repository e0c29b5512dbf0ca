#include "foundation/Sites.h"

#include "foundation/CStatDefinitions.h"
#include "foundation/Rooms.h"

int SiteCodeFromSymbolicName(std::wstring_view symbolicName)
{
    const CRoomInfo* room = RoomOfSymbolicName(symbolicName);
    return room != nullptr ? room->siteCode : kSiteNone;
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

std::wstring_view SiteNameOfCode(int siteCode)
{
    const CRoomInfo* room = RoomOfSiteCode(siteCode);
    return room != nullptr ? std::wstring_view(room->siteName) : std::wstring_view();
}
