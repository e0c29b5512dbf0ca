#include "foundation/Rooms.h"

#include "foundation/Sites.h"
#include "foundation/WideText.h"

#include <array>

namespace {

bool Contains(const std::wstring& line, std::wstring_view text)
{
    return line.find(text) != std::wstring::npos;
}

// A text found after the first character: a header that merely begins with a
// word is not counted as naming it.
bool ContainsAfterFirst(const std::wstring& line, std::wstring_view text)
{
    const size_t at = line.find(text);
    return at != std::wstring::npos && at > 0;
}

bool BeginsWith(const std::wstring& line, std::wstring_view text)
{
    return line.rfind(text, 0) == 0;
}

bool ClubHand(const std::wstring& line, const std::wstring& word)
{
    return (Contains(line, word + L" Hand #") || Contains(line, word + L" Zoom Hand #") ||
            Contains(line, word + L" Home Game Hand #")) &&
           PassesClubGameTest(line);
}

bool DetectsPokerStars(const std::wstring& line)
{
    // Old files open their hands with "PokerStars Game #".
    return (Contains(line, L"PokerStars Hand #") || Contains(line, L"PokerStars Zoom Hand #") ||
            Contains(line, L"PokerStars Home Game Hand #") ||
            Contains(line, L"PokerStars Game #")) &&
           !ContainsAfterFirst(line, L"Tournament");
}

bool Detects888(const std::wstring& line)
{
    return BeginsWith(line, L"#Game No :");
}

bool DetectsRunItOnce(const std::wstring& line)
{
    return (Contains(line, L"Run It Once Poker Hand #") ||
            Contains(line, L"Run It Once Poker Zoom Hand #")) &&
           ContainsAfterFirst(line, L"Omaha") && !ContainsAfterFirst(line, L"Tournament") &&
           !ContainsAfterFirst(line, L"Holdem") && !ContainsAfterFirst(line, L"Hold'em");
}

bool DetectsPokerKingAsia(const std::wstring& line)
{
    return BeginsWith(line, L"Game started at:");
}

bool DetectsPokerMaster(const std::wstring& line)
{
    return ClubHand(line, L"PokerMaster");
}

bool DetectsGGPoker(const std::wstring& line)
{
    return BeginsWith(line, L"Poker Hand #");
}

bool DetectsUpoker(const std::wstring& line)
{
    return ClubHand(line, L"UPoker");
}

bool DetectsPPPoker(const std::wstring& line)
{
    return ClubHand(line, L"PPPoker");
}

bool DetectsPokerBros(const std::wstring& line)
{
    // The PokerBros client writes some files under the PokerMaster word.
    return ClubHand(ReplaceAll(line, L"PokerMaster", L"PokerBros"), L"PokerBros");
}

bool DetectsSuprema(const std::wstring& line)
{
    return ClubHand(line, L"Suprema");
}

CRoomInfo Room(int siteCode,
               const wchar_t* symbolicName,
               const wchar_t* siteName,
               const wchar_t* notation,
               int32_t siteId,
               bool (*detects)(const std::wstring&),
               StrategyKind strategy)
{
    CRoomInfo room;
    room.siteCode = siteCode;
    room.symbolicName = symbolicName;
    room.siteName = siteName;
    room.notation = notation;
    room.siteId = siteId;
    room.detects = detects;
    room.strategy = strategy;
    return room;
}

CRoomInfo Live(CRoomInfo room,
               int roomNumber,
               const wchar_t* liveName,
               HistoryFolderSource source,
               const wchar_t* clubSubfolder = L"")
{
    room.roomNumber = roomNumber;
    room.liveName = liveName;
    room.historyFolder = source;
    room.clubSubfolder = clubSubfolder;
    room.clubHudSwitch = source == HistoryFolderSource::ClubFolder;
    return room;
}

CRoomInfo Club(CRoomInfo room, const wchar_t* fileWord)
{
    room.fileWord = fileWord;
    return room;
}

CRoomInfo Watched(CRoomInfo room)
{
    room.watched = true;
    return room;
}

CRoomInfo LiveOnly(int roomNumber, const wchar_t* liveName, HistoryFolderSource source)
{
    return Live(CRoomInfo(), roomNumber, liveName, source);
}

const std::array<CRoomInfo, 17>& Table()
{
    using S = HistoryFolderSource;
    using K = StrategyKind;
    static const std::array<CRoomInfo, 17> kRooms = {
        Watched(Live(Room(kSitePokerStars, L"SITE_POKER_STARS", L"PokerStars", L"PS", 1,
                          DetectsPokerStars, K::PokerStars),
                     1, L"PokerStars", S::PokerStarsClient)),
        Room(kSiteGGPoker, L"SITE_GGPOKER", L"GGPoker", L"GG", 6, DetectsGGPoker, K::GGPoker),
        Live(Room(kSite888, L"SITE_888", L"888Poker", L"888", 2, Detects888, K::Poker888), 2,
             L"Poker888", S::None),
        Room(kSiteRunItOnce, L"SITE_RUN_IT_ONCE", L"Run It Once Poker", L"RIO", 3, DetectsRunItOnce,
             K::RunItOnce),
        Room(kSitePokerKingAsia, L"SITE_POKER_KING_ASIA", L"PokerKing Asia", L"PKA", 4,
             DetectsPokerKingAsia, K::PokerKingAsia),
        Live(Room(kSiteRedStar, L"SITE_RED_STAR", L"", L"", 0, nullptr, K::None), 4, L"RedStar",
             S::RedStarSetting),
        LiveOnly(8, L"Titan", S::TitanSetting),
        Room(kSitePokerMasterHm3, L"SITE_POKER_MASTER_HM3", L"PokerMaster HM3", L"PM", 5,
             DetectsPokerMaster, K::PokerMaster),
        Watched(Live(Club(Room(kSiteUpokerHm3, L"SITE_UPOKER_HM3", L"Upoker HM3", L"UP", 7,
                               DetectsUpoker, K::Upoker),
                          L"UPoker"),
                     10, L"Upoker", S::ClubFolder, L"upo_hh/")),
        Live(Club(Room(kSitePPPokerHm3, L"SITE_PPPOKER_HM3", L"PPPoker HM3", L"PPP", 8,
                       DetectsPPPoker, K::PPPoker),
                  L"PPPoker"),
             11, L"PPPoker", S::ClubFolder, L"pppoker_hh/"),
        Live(Club(Room(kSitePokerBrosHm3, L"SITE_POKERBROS_HM3", L"PokerBros HM3", L"PB", 9,
                       DetectsPokerBros, K::PokerBros),
                  L"PokerBros"),
             12, L"PokerBros", S::ClubFolder, L"pbr_hh/"),
        Live(Club(Room(kSiteSuprema, L"SITE_SUPREMA", L"Suprema", L"SUP", 10, DetectsSuprema,
                       K::Suprema),
                  L"Suprema"),
             16, L"Suprema", S::ClubFolder, L"hh/"),
        LiveOnly(0, L"PartyPoker", S::None),
        LiveOnly(9, L"iPoker", S::None),
        Room(kSiteNone, L"SITE_NONE", L"", L"", 0, nullptr, K::None),
        Room(kSiteRedKings, L"SITE_RED_KINGS", L"", L"", 0, nullptr, K::None),
        Room(kSiteReserv1, L"SITE_RESERV_1", L"", L"", 0, nullptr, K::None),
    };
    return kRooms;
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

std::span<const CRoomInfo> AllRooms()
{
    return Table();
}

const CRoomInfo* RoomOfSiteCode(int siteCode)
{
    for (const CRoomInfo& room : AllRooms()) {
        if (room.siteCode == siteCode && room.symbolicName[0] != L'\0') {
            return &room;
        }
    }
    return nullptr;
}

const CRoomInfo* RoomOfSiteName(std::wstring_view siteName)
{
    if (siteName.empty()) {
        return nullptr;
    }
    for (const CRoomInfo& room : AllRooms()) {
        if (siteName == room.siteName) {
            return &room;
        }
    }
    return nullptr;
}

const CRoomInfo* RoomOfSymbolicName(std::wstring_view symbolicName)
{
    if (symbolicName.empty()) {
        return nullptr;
    }
    for (const CRoomInfo& room : AllRooms()) {
        if (symbolicName == room.symbolicName) {
            return &room;
        }
    }
    return nullptr;
}

const CRoomInfo* RoomOfNumber(int roomNumber)
{
    if (roomNumber < 0) {
        return nullptr;
    }
    for (const CRoomInfo& room : AllRooms()) {
        if (room.roomNumber == roomNumber) {
            return &room;
        }
    }
    return nullptr;
}
