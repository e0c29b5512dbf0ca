// Where the HUD link gets the statistics texts of a table's players.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

class IHudStatsSource
{
public:
    virtual ~IHudStatsSource() = default;

    // The text of each player of `names`, in order (empty for an empty name
    // or a player nothing is known of). Nothing when the table's update must
    // be abandoned.
    virtual std::optional<std::vector<std::wstring>> HudStatsTexts(
        const std::vector<std::wstring>& names, int32_t bigBlind, int32_t gameKind) = 0;
};
