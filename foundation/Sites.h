// Site codes: the index of a room's symbolic name in a fixed table. They are not
// database ids (those come from the sites table) nor room numbers.
#pragma once

#include <array>
#include <string>
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
extern const std::array<const wchar_t*, kSiteCodeCount> kSiteSymbolicNames;

// Site names of the rooms as the sites table stores them.
inline constexpr const wchar_t* kSiteNamePokerStars = L"PokerStars";
inline constexpr const wchar_t* kSiteName888 = L"888Poker";
inline constexpr const wchar_t* kSiteNameRunItOnce = L"Run It Once Poker";
inline constexpr const wchar_t* kSiteNamePokerKingAsia = L"PokerKing Asia";
inline constexpr const wchar_t* kSiteNamePokerMaster = L"PokerMaster HM3";
inline constexpr const wchar_t* kSiteNameGGPoker = L"GGPoker";
inline constexpr const wchar_t* kSiteNameUpoker = L"Upoker HM3";
inline constexpr const wchar_t* kSiteNamePPPoker = L"PPPoker HM3";
inline constexpr const wchar_t* kSiteNamePokerBros = L"PokerBros HM3";
inline constexpr const wchar_t* kSiteNameSuprema = L"Suprema";

// Index of `symbolicName` in the site-code table, or 0.
int SiteCodeFromSymbolicName(std::wstring_view symbolicName);

// Site code of the room whose "sites" entry has `roomName` as its description;
// 0 when no entry matches or its name is not in the table.
int SiteCodeFromRoomName(std::wstring_view roomName, const CStatDefinitions& definitions);
