#include "stats/flags/FlagPasses.h"

#include <cwchar>

namespace kroStats {

namespace {

wchar_t ActionLetter(int idaction)
{
    switch (idaction) {
    case kActCalls:
        return L'P';
    case kActRaises:
        return L'R';
    case kActBets:
        return L'T';
    case kActFolds:
        return L'L';
    case kActChecks:
        return L'K';
    default:
        return 0;
    }
}

}  // namespace

void BuildActionStrings(CFlagHand& h)
{
    std::wstring texts[4];
    // By street 1..3, whether each player acted there.
    std::vector<bool> acted[4];
    for (auto& street : acted) {
        street.assign(h.players.size(), false);
    }
    ForEachPlayerAction(h, 3, [&](int street, const CActionRecord& action, int index) {
        const wchar_t letter = ActionLetter(action.idaction);
        if (letter == 0) {
            return true;
        }
        wchar_t id[16];
        std::swprintf(id, sizeof id / sizeof id[0], L"%07x",
                      static_cast<unsigned int>(action.idplayer));
        texts[street] += id;
        texts[street] += letter;
        acted[street][static_cast<size_t>(index)] = true;
        return true;
    });

    int streetsWithAction = 0;
    static const wchar_t* const kPlayersKeys[] = {nullptr, L"val_players_f", L"val_players_t",
                                                  L"val_players_r"};
    for (int street = 0; street <= 3; ++street) {
        if (!texts[street].empty()) {
            h.hand.stats.texts[std::wstring(L"str_") + StreetPrefix(street) + L"_actions"] =
                texts[street];
        }
        if (street == 0) {
            continue;
        }
        int players = 0;
        for (const bool a : acted[street]) {
            players += a ? 1 : 0;
        }
        h.hand.stats.values[kPlayersKeys[street]] = players;
        streetsWithAction += players > 0 ? 1 : 0;
    }
    h.hand.stats.values[L"val_last_street"] = streetsWithAction;
}

}  // namespace kroStats
