// The hero's stored hands with their money and all-in EV, as the session graph
// shows them. Money is the hand player's netwin; the EV is its stored all-in
// EV when the hand went all in (val_allin_street above 0) and the money
// otherwise, as live import counts them. The hero is every player marked hero.
// Reads through the shared connection; safe from any thread the context allows.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

namespace kroDB {
class CDbContext;
}

struct CHeroHand
{
    int64_t handId = 0;
    // The hand's stored utc time.
    int64_t utc = 0;
    // Currency code of the hand's game type (-1 when not recognised).
    int32_t currency = -1;
    // Cents of that currency.
    int32_t money = 0;
    int32_t ev = 0;

    bool operator==(const CHeroHand&) const = default;
};

// The hero's hands whose utc time lies in [fromUtc, toUtc), in the order they
// were played (utc, then hand id). Nothing when the database cannot be read.
std::optional<std::vector<CHeroHand>> LoadHeroHands(kroDB::CDbContext& db,
                                                    int64_t fromUtc,
                                                    int64_t toUtc);

// The stored utc bounds [from, to) of the local calendar day that starts at
// `localMidnight` (seconds since 1970 of that day's 00:00 local time) and
// lasts `dayLength` seconds (23 or 25 hours on daylight-saving changes). Hands
// store their utc as the true time less the local offset `localOffset`
// (see MeasureLocalUtcOffset), so the bounds move by that offset.
std::pair<int64_t, int64_t> StoredUtcRangeOfDay(int64_t localMidnight,
                                                int64_t dayLength,
                                                int64_t localOffset);
