#include "foundation/Positions.h"
#include "stats/flags/FlagPasses.h"

namespace kroStats {

namespace {

// What one player did in the preflop raising war.
struct CRaiseCounts
{
    int pfrOpportunity = 0;
    int pfr = 0;
    bool raiseFirstIn = false;
    bool threeBetOpportunity = false;
    bool threeBet = false;
    bool fourBetOpportunity = false;
    bool fourBet = false;
    bool fiveBetOpportunity = false;
    bool fiveBet = false;
};

bool IsStealPosition(int position)
{
    return position == kPosCo || position == kPosBtn || position == kPosSb;
}

bool IsBlindPosition(int position)
{
    return position == kPosSb || position == kPosBb;
}

}  // namespace

void ComputePreflopRaises(CFlagHand& h)
{
    std::vector<CRaiseCounts> counts(h.players.size());
    // The number of raises so far: 1 is the open raise, 2 the 3-bet, and so on.
    int level = 0;
    bool firstIn = true;
    bool stealPending = false;
    int stealerPosition = 0;

    ForEachPlayerAction(h, 0, [&](int, const CActionRecord& action, int index) {
        const auto i = static_cast<size_t>(index);
        // Posts, dealt cards and the rest are no decisions; they gave the hero
        // a raise-first-in opportunity in every hand.
        if (!IsDecision(action.idaction) || !h.vpipOpportunity[i]) {
            return true;
        }
        CHandPlayerRecord& player = h.players[i];
        auto& flags = player.stats.flags;
        CRaiseCounts& c = counts[i];
        const int id = action.idaction;

        // When the action folds round to the big blind the hand is over, so
        // the big blind never opens.
        if (firstIn && action.idplayer != h.bigBlind) {
            flags[L"flag_pf_raise_first_in_opp"] = true;
            // Folded round to a late position: a chance to steal the blinds,
            // whether taken or not.
            if (IsStealPosition(player.position)) {
                flags[L"flag_pf_steal_opp"] = true;
            }
        }

        if (id == kActRaises) {
            h.lastAggressor = action.idplayer;
            ++c.pfrOpportunity;
            ++c.pfr;
            switch (level) {
            case 0:
                if (firstIn) {
                    firstIn = false;
                    c.raiseFirstIn = true;
                    if (IsStealPosition(player.position)) {
                        flags[L"flag_pf_steal_att"] = true;
                        stealerPosition = player.position;
                        stealPending = true;
                    }
                }
                break;
            case 1:
                c.threeBetOpportunity = true;
                c.threeBet = true;
                if (stealPending && IsBlindPosition(player.position)) {
                    flags[L"flag_pf_face_steal"] = true;
                    flags[L"flag_pf_resteal"] = true;
                    stealPending = false;
                }
                break;
            case 2:
                c.fourBetOpportunity = true;
                c.fourBet = true;
                flags[L"flag_pf_face_3bet"] = true;
                flags[L"flag_pf_fold_3bet"] = false;
                flags[L"flag_pf_call_3bet"] = false;
                break;
            case 3:
                c.fiveBetOpportunity = true;
                c.fiveBet = true;
                flags[L"flag_pf_face_4bet"] = true;
                flags[L"flag_pf_fold_4bet"] = false;
                flags[L"flag_pf_call_4bet"] = false;
                h.hand.stats.flags[L"flag_did_3bet"] = true;
                break;
            case 4:
                flags[L"flag_pf_face_5bet"] = true;
                flags[L"flag_pf_fold_5bet"] = false;
                break;
            default:
                break;
            }
            ++level;
        } else if (id == kActCalls || id == kActFolds || id == kActChecks) {
            if (c.pfrOpportunity == 0) {
                c.pfrOpportunity = 1;
                c.pfr = 0;
            }
            if (id == kActCalls) {
                firstIn = false;
            }
            switch (level) {
            case 1:
                c.threeBetOpportunity = true;
                if (stealPending && IsBlindPosition(player.position)) {
                    flags[L"flag_pf_face_steal"] = true;
                    if (id == kActFolds) {
                        flags[L"flag_pf_fold_steal"] = true;
                    } else if (id == kActCalls) {
                        flags[L"flag_pf_call_steal"] = true;
                    }
                }
                // The big blind is the last to answer a steal.
                if (player.position == kPosBb) {
                    stealPending = false;
                }
                break;
            case 2:
                c.fourBetOpportunity = true;
                flags[L"flag_pf_face_3bet"] = true;
                if (id == kActFolds) {
                    flags[L"flag_pf_fold_3bet"] = true;
                } else if (id == kActCalls) {
                    flags[L"flag_pf_call_3bet"] = true;
                }
                break;
            case 3:
                c.fiveBetOpportunity = true;
                flags[L"flag_pf_face_4bet"] = true;
                if (id == kActFolds) {
                    flags[L"flag_pf_fold_4bet"] = true;
                } else if (id == kActCalls) {
                    flags[L"flag_pf_call_4bet"] = true;
                }
                break;
            case 4:
                flags[L"flag_pf_face_5bet"] = true;
                if (id == kActFolds) {
                    flags[L"flag_pf_fold_5bet"] = true;
                }
                break;
            default:
                break;
            }
        } else {
            // Bets and completes open no raising level.
            return true;
        }

        flags[L"flag_pf_pfr_opp"] = c.pfrOpportunity != 0;
        flags[L"flag_pf_pfr"] = c.pfr != 0;
        flags[L"flag_pf_raise_first_in"] = c.raiseFirstIn;
        flags[L"flag_pf_3bet_opp"] = c.threeBetOpportunity;
        flags[L"flag_pf_3bet"] = c.threeBet;
        flags[L"flag_pf_4bet_opp"] = c.fourBetOpportunity;
        flags[L"flag_pf_4bet"] = c.fourBet;
        flags[L"flag_pf_5bet_opp"] = c.fiveBetOpportunity;
        flags[L"flag_pf_5bet"] = c.fiveBet;
        player.stats.values[L"val_pf_stealer_pos"] = stealerPosition;
        return true;
    });
}

}  // namespace kroStats
