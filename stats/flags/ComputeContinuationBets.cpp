#include "stats/flags/FlagPasses.h"

namespace kroStats {

void ComputeContinuationBets(CFlagHand& h, int street)
{
    const std::wstring x = std::wstring(L"flag_") + StreetPrefix(street);
    const int32_t aggressor = h.lastAggressor;
    // Only the player who took the initiative on the street before can
    // continue it.
    bool possible = aggressor > 0;
    int counted = 0;
    bool cbetRaised = false;
    int32_t lastBettor = 0;

    ForEachPlayerAction(h, street, [&](int actionStreet, const CActionRecord& action, int index) {
        if (actionStreet < street) {
            return true;
        }
        auto& flags = h.players[static_cast<size_t>(index)].stats.flags;
        const int id = action.idaction;
        const bool byAggressor = action.idplayer == aggressor;

        if (id == kActBets) {
            ++counted;
            lastBettor = action.idplayer;
            if (counted == 1 && possible) {
                if (byAggressor) {
                    flags[x + L"_cbet_opp"] = true;
                    flags[x + L"_cbet"] = true;
                } else {
                    // A donk bet takes the initiative away.
                    possible = false;
                }
            }
            return true;
        }
        // Checks in front of the aggressor leave the chance open.
        const bool isCounted = id == kActCalls || id == kActRaises || id == kActFolds ||
                               (id == kActChecks && byAggressor);
        if (!isCounted) {
            return true;
        }
        ++counted;
        if (id == kActRaises) {
            lastBettor = action.idplayer;
        }
        if (!possible) {
            return true;
        }
        if (counted == 1) {
            if (byAggressor) {
                flags[x + L"_cbet_opp"] = true;
                flags[x + L"_cbet"] = false;
                possible = false;
            }
        } else if (counted == 2) {
            // The answer to the continuation bet; only the first player to
            // answer faces it.
            if (byAggressor) {
                possible = false;
            } else if (id == kActFolds) {
                flags[x + L"_face_cbet"] = true;
                flags[x + L"_fold_cbet"] = true;
            } else if (id == kActCalls) {
                flags[x + L"_face_cbet"] = true;
                flags[x + L"_call_cbet"] = true;
            } else if (id == kActRaises) {
                flags[x + L"_face_cbet"] = true;
                flags[x + L"_raise_cbet"] = true;
                cbetRaised = true;
            }
        } else if (byAggressor && cbetRaised) {
            // The aggressor's answer to the raise, however many players acted
            // in between.
            possible = false;
            flags[x + L"_face_raise_cbet"] = true;
            if (id == kActFolds) {
                flags[x + L"_fold_raise_cbet"] = true;
            } else if (id == kActCalls) {
                flags[x + L"_call_raise_cbet"] = true;
            } else if (id == kActRaises) {
                flags[x + L"_reraise_raise_cbet"] = true;
            }
        }
        return true;
    });

    // Nobody betting the street leaves the next one without a continuation bet.
    h.lastAggressor = lastBettor;
}

}  // namespace kroStats
