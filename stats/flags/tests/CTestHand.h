// A hand written as text for the flag tests: seats
// "name:position[:totalwin[:paidOutsidePot]]",
// then actions "name verb [cents]" or a board word (FLOP, TURN, RIVER, FRC, SRC...)
// separated by commas. A fold marks the player folded, as the parser does.
#pragma once

#include "foundation/Positions.h"
#include "stats/flags/HandFlags.h"

#include <map>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

class CTestHand
{
public:
    CTestHand(const std::string& seats, const std::string& script, bool showdown = false)
    {
        hand.showdown = showdown;
        std::istringstream seatText(seats);
        for (std::string seat; seatText >> seat;) {
            CHandPlayerRecord player;
            player.idplayer = 0x100 + static_cast<int32_t>(players.size());
            const size_t colon = seat.find(':');
            const size_t second = seat.find(':', colon + 1);
            m_ids[seat.substr(0, colon)] = player.idplayer;
            const std::string position = seat.substr(colon + 1, second - colon - 1);
            for (int code = 0; code <= kPosBb; ++code) {
                if (PositionName(code) == std::wstring(position.begin(), position.end())) {
                    player.position = code;
                }
            }
            const size_t third = second == std::string::npos ? second : seat.find(':', second + 1);
            player.totalwin = second == std::string::npos ? 0 : std::stoi(seat.substr(second + 1));
            player.paidOutsidePot =
                third == std::string::npos ? 0 : std::stoi(seat.substr(third + 1));
            players.push_back(player);
        }
        static const std::map<std::string, int> kVerbs = {
            {"ante", 1},   {"sb", 2},        {"bb", 4},     {"both", 5},    {"calls", 6},
            {"raises", 7}, {"bets", 8},      {"folds", 10}, {"checks", 11}, {"uncalled", 15},
            {"shows", 16}, {"collects", 17}, {"FET", 18},   {"FLOP", 19},   {"TURN", 20},
            {"RIVER", 21}, {"FFC", 22},      {"FTC", 23},   {"FRC", 24},    {"SFC", 25},
            {"STC", 26},   {"SRC", 27},      {"mucks", 28}, {"deal", 29},   {"cashout", 30}};
        std::istringstream actionText(script);
        for (std::string item; std::getline(actionText, item, ',');) {
            std::istringstream words(item);
            std::string first, verb;
            CActionRecord action;
            words >> first;
            if (!(words >> verb)) {
                action.idaction = kVerbs.at(first);
            } else {
                action.idplayer = m_ids.at(first);
                action.idaction = kVerbs.at(verb);
                words >> action.amount;
                if (action.idaction == 10) {
                    Player(first).folded = true;
                }
            }
            actions.push_back(action);
        }
    }

    CTestHand& Compute(int gameKind = 2)
    {
        kroStats::ComputeHandFlags(gameKind, hand, players, actions);
        return *this;
    }

    CHandPlayerRecord& Player(const std::string& name)
    {
        for (CHandPlayerRecord& player : players) {
            if (player.idplayer == m_ids.at(name)) {
                return player;
            }
        }
        throw std::out_of_range(name);
    }

    // The player's flags that are true, without "flag_", in name order; only
    // those beginning with one of `prefixes` when any are given.
    std::string True(const std::string& name, const std::vector<std::string>& prefixes = {})
    {
        std::string text;
        for (const auto& [key, on] : Player(name).stats.flags) {
            const std::string flag(key.begin() + 5, key.end());
            bool wanted = prefixes.empty();
            for (const std::string& prefix : prefixes) {
                wanted = wanted || flag.rfind(prefix, 0) == 0;
            }
            if (on && wanted) {
                text += (text.empty() ? "" : " ") + flag;
            }
        }
        return text;
    }

    int32_t Value(const std::string& name, const std::wstring& key)
    {
        const auto& values = Player(name).stats.values;
        const auto it = values.find(key);
        return it == values.end() ? -999 : it->second;
    }

    CHandRecord hand;
    std::vector<CHandPlayerRecord> players;
    std::vector<CActionRecord> actions;

private:
    std::map<std::string, int32_t> m_ids;
};
