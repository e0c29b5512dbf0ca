// Site codes: the index of a room's symbolic name in a fixed table. They are not
// database ids (those come from the sites table) nor room numbers. The rooms
// themselves, with their names, are in the room registry (foundation/Rooms.h).
#pragma once

#include <string_view>

class CStatDefinitions;

enum SiteCode : int
{
    kSiteNone = 0,
    kSitePokerStars = 1,
    kSite888 = 2,
    kSiteRunItOnce = 3,
    kSiteRedStar = 4,
    kSiteRedKings = 5,
    kSitePokerKingAsia = 6,
    kSitePokerMasterHm3 = 7,
    kSiteReserv1 = 8,
    kSiteGGPoker = 9,
    kSiteUpokerHm3 = 10,
    kSitePPPokerHm3 = 11,
    kSitePokerBrosHm3 = 12,
    kSiteSuprema = 13,
};

inline constexpr int kSiteCodeCount = 14;

// The site code of `symbolicName` ("SITE_GGPOKER"), or 0.
int SiteCodeFromSymbolicName(std::wstring_view symbolicName);

// Site code of the room whose "sites" entry has `roomName` as its description;
// 0 when no entry matches or its name is no room's symbolic name.
int SiteCodeFromRoomName(std::wstring_view roomName, const CStatDefinitions& definitions);

// The sites table's name of a site code ("GGPoker"); empty for a code that
// names no room.
std::wstring_view SiteNameOfCode(int siteCode);
