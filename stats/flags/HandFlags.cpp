#include "stats/flags/HandFlags.h"

#include "foundation/StageTimes.h"
#include "stats/flags/FlagPasses.h"

namespace kroStats {

void ComputeHandFlags(int gameKind,
                      CHandRecord& hand,
                      std::vector<CHandPlayerRecord>& handPlayers,
                      const std::vector<CActionRecord>& actions)
{
    const vxstage::CScope timing(vxstage::Stage::Flags);
    CFlagHand h(gameKind, hand, handPlayers, actions);
    FindBigBlind(h);
    const bool walk = EvaluateAndDetectWalk(h);
    // The players who fold round to the big blind had every preflop chance a
    // folder has in any other hand: to open, to raise first in, to steal.
    ComputeVpip(h);
    ComputePreflopRaises(h);
    if (walk) {
        return;
    }
    CountAggression(h);
    ComputeShowdownFlags(h);
    for (int street = 1; street <= 3; ++street) {
        ComputeContinuationBets(h, street);
    }
    BuildActionStrings(h);
    ComputeStreetPots(h);
}

}  // namespace kroStats
