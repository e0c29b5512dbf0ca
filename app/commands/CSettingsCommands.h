// The ribbon's settings: the two room lists, the nick, the database and HUD
// cache edits, the archive switch, the hand-history storage format and the
// auto alias switch. Each change is written to the profile at once; the ribbon
// is filled from the profile at start. Main thread only.
#pragma once

#include <string>

class CCommandDispatcher;
class CMainFrame;

class CSettingsCommands
{
public:
    // Registers its commands. Requires: `frame` outlives this object.
    CSettingsCommands(CMainFrame& frame, CCommandDispatcher& dispatcher);

    // The settings room from the profile section "Poker Room": the first of
    // PartyPoker, PokerStars, Poker888, RedStar, RedKings that is not 0 gives
    // 0, 1, 2, 4 or 9; 1 when all are 0.
    void ChooseSettingsRoom();
    // One entry per room of the stat definitions' "sites", in file order: its
    // display name, with the site code of its symbolic name as item data.
    void FillRoomLists();
    void LoadFromProfile();
    void UpdateUi();

    void OnHomeRoom();
    void OnNick();
    void OnDatabaseEdit(int id);
    void OnMonths();
    void OnImportRoom();
    void OnArchive();
    void OnHandHistory(int id);
    void OnAutoAlias();

    // Whether "Auto alias for hero" can be used for the chosen import room:
    // the club rooms whose hands hide the hero's account.
    bool AutoAliasAvailable() const;

private:
    std::wstring HomeRoomText() const;
    std::wstring ImportRoomText() const;

    CMainFrame& m_frame;
};
