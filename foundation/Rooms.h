// The registry of the poker rooms: one row per room with everything the
// program knows of it in one place. Its site code and names (symbolic name,
// the sites table's name, which is also the name the room lists show, and the
// short notation), how its files are recognised, which parse strategy reads
// them, and where live tracking finds its files. Constant data, safe to read
// from any thread.
//
// Site code, database site id and room number are three different numbers
// for a room: the site code is the room's index among the symbolic names, the
// site id its row in the sites table (as the shipped stat definitions give
// it), the room number its record in live tracking's room table.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

// Which parse strategy reads a room's files; the parser makes it.
enum class StrategyKind
{
    None,
    PokerStars,
    Poker888,
    RunItOnce,
    PokerKingAsia,
    PokerMaster,
    GGPoker,
    Upoker,
    PPPoker,
    PokerBros,
    Suprema,
};

// Where live tracking takes a room's hand-history folder from.
enum class HistoryFolderSource
{
    // The room is not configured for live tracking (its record stays empty).
    None,
    // The PokerStars client's own settings and the start-up file.
    PokerStarsClient,
    // The start-up file's RedStar or Titan history folder.
    RedStarSetting,
    TitanSetting,
    // A sub-folder of the club converter's folder (`clubSubfolder`).
    ClubFolder,
};

struct CRoomInfo
{
    // The site code, kSiteNone when the room is only a live-tracking room.
    int siteCode = 0;
    // "SITE_POKER_STARS"; empty for rooms without a site code.
    const wchar_t* symbolicName = L"";
    // The name of the sites table and of the room lists ("PokerStars").
    const wchar_t* siteName = L"";
    // The short code the sites table stores ("PS").
    const wchar_t* notation = L"";
    // The room's id in the shipped stat definitions, 0 when it has none.
    int32_t siteId = 0;
    // True when a trimmed line of a file names this room; null: never.
    bool (*detects)(const std::wstring& line) = nullptr;
    // Rooms that write the PokerStars layout under "PokerStars": the word that
    // replaces it in their lines ("UPoker"), null for every other room.
    const wchar_t* fileWord = nullptr;
    StrategyKind strategy = StrategyKind::None;

    // Live tracking: the room number (-1 none), the room's name (also the name
    // of its archive folder), where its history folder comes from, and the
    // club converter's sub-folder for ClubFolder.
    int roomNumber = -1;
    const wchar_t* liveName = L"";
    HistoryFolderSource historyFolder = HistoryFolderSource::None;
    const wchar_t* clubSubfolder = L"";
    // Club rooms share the converter's HUD switch.
    bool clubHudSwitch = false;
    // Live tracking watches this room's history folder.
    bool watched = false;
};

// Every room, in the order in which detection tries them (a line of a
// PokerMaster file passes the PokerBros test too, so PokerMaster comes first)
// and live tracking configures them.
std::span<const CRoomInfo> AllRooms();

// The room of a site code, a sites-table name, a symbolic name or a room
// number; null when none has it.
const CRoomInfo* RoomOfSiteCode(int siteCode);
const CRoomInfo* RoomOfSiteName(std::wstring_view siteName);
const CRoomInfo* RoomOfSymbolicName(std::wstring_view symbolicName);
const CRoomInfo* RoomOfNumber(int roomNumber);

// A club room's game test: no tournament, and the short-deck game or no
// Hold'em (these rooms' Hold'em tables are read as PokerStars files).
bool PassesClubGameTest(const std::wstring& line);
