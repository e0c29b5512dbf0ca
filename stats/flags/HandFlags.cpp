#include "stats/flags/HandFlags.h"

#include "stats/flags/FlagPasses.h"

namespace kroStats {

void ComputeHandFlags(int gameKind,
                      CHandRecord& hand,
                      std::vector<CHandPlayerRecord>& handPlayers,
                      const std::vector<CActionRecord>& actions)
{
    CFlagHand h(gameKind, hand, handPlayers, actions);
    FindBigBlind(h);
    if (EvaluateAndDetectWalk(h)) {
        return;
    }
    ComputeVpip(h);
    ComputePreflopRaises(h);
    CountAggression(h);
    ComputeShowdownFlags(h);
    for (int street = 1; street <= 3; ++street) {
        ComputeContinuationBets(h, street);
    }
    BuildActionStrings(h);
    ComputeStreetPots(h);
}

}  // namespace kroStats
