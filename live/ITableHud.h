// What live tracking needs of the HUD: the start of the HUD display program
// when tracking starts, and the boxes of one table after each audit line.
// Implemented by the HUD link above this layer. Main thread only.
#pragma once

#include "live/CTableRecord.h"

#include <cstdint>
#include <string>
#include <vector>

class ITableHud
{
public:
    virtual ~ITableHud() = default;

    // Live tracking starts: finds the PokerStars client, starts the HUD display
    // program when it does not run and resets its boxes. False when the HUD
    // cannot be used (it must run with the client's rights).
    virtual bool CountProcessID() = 0;

    // Shows the statistics of the player at each position of `namesByPosition`
    // (`tableSize` entries, position 0 first) over `table`'s window, and hides
    // the shown box of each position that is empty now; updates the shown
    // flags. `bigBlind` and `gameKind` are those of the audit line.
    virtual void UpdateTableHud(CTableRecord& table,
                                int32_t tableSize,
                                int32_t bigBlind,
                                int32_t gameKind,
                                const std::vector<std::wstring>& namesByPosition) = 0;
};
