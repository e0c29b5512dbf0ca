#include "stats/flags/ActionIds.h"

namespace kroStats {

bool IsDecision(int idaction)
{
    switch (idaction) {
    case kActCalls:
    case kActRaises:
    case kActBets:
    case kActFolds:
    case kActChecks:
    case kActCompletes:
        return true;
    default:
        return false;
    }
}

int BoardStreet(int idaction)
{
    switch (idaction) {
    case kActFlopCards:
    case kActFirstFlopCards:
    case kActSecondFlopCards:
    case kActThirdFlopCards:
        return 1;
    case kActTurnCards:
    case kActFirstTurnCards:
    case kActSecondTurnCards:
    case kActThirdTurnCards:
        return 2;
    case kActRiverCards:
    case kActFirstRiverCards:
    case kActSecondRiverCards:
    case kActThirdRiverCards:
        return 3;
    default:
        return 0;
    }
}

}  // namespace kroStats
