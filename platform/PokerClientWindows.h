// How the poker clients' table windows look to the X server, shared by the
// tracker (which seats players at a table window) and the HUD program (which
// reports the table windows it finds). Pure functions; thread-safe.
//
// The PokerStars client is a Windows program run by Wine. Wine sets WM_CLASS
// of every window it makes to the executable's name in lower case, instance
// and class alike: "pokerstars.exe", "pokerstars.exe". Wine releases before
// the name became the class used the class "Wine" with the same instance.
// The Windows window classes of the client are not visible to X, so these two
// WM_CLASS class values stand for the room's two table window classes, and
// the title tells a table from the lobby and the other windows: a table's
// title is "<table> - <stakes> ...", for example
// "Halley - $0.01/$0.02 USD - Pot Limit Omaha".
#pragma once

#include "platform/IWindowFinder.h"

#include <array>
#include <string>

// The WM_CLASS class values of the PokerStars client's windows under Wine.
inline constexpr std::array<const wchar_t*, 2> kPokerStarsTableWindowClasses = {L"pokerstars.exe",
                                                                                L"Wine"};
// The WM_CLASS instance value of the PokerStars client's windows under Wine.
inline constexpr const wchar_t* kPokerStarsWindowInstance = L"pokerstars.exe";

// Whether the window belongs to the PokerStars client: instance
// "pokerstars.exe" and class one of kPokerStarsTableWindowClasses, both
// compared without regard to ASCII case.
bool IsPokerStarsClientWindow(const CWindowInfo& window);

// Whether the title is that of a table: a name, " - ", and stakes (two
// amounts joined by "/", such as "$0.01/$0.02" or "10/20") in what follows.
bool IsTableTitle(const std::wstring& title);

// A client window with a table's title.
bool IsPokerStarsTableWindow(const CWindowInfo& window);

// The table name of a table title: the text before the first " - ".
std::wstring TableNameOfTitle(const std::wstring& title);
