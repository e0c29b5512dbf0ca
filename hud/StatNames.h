// The statistic counters of one player and the fixed vocabulary of statistic
// names that the HUD editor offers and HUD layouts refer to.
#pragma once

#include <array>
#include <cstdint>
#include <map>
#include <string>

// A record of 32-bit counters, one per name of the vocabulary and a few more.
class CPokerStat
{
public:
    virtual ~CPokerStat() = default;

    int32_t m_aTS_BTN = 0;
    int32_t m_aTS_CO = 0;
    int32_t m_aTS_SB = 0;
    int32_t m_cBet_Flop = 0;
    int32_t m_cBet_Flop_IP = 0;
    int32_t m_cBet_Flop_OOP = 0;
    int32_t m_cBet_River = 0;
    int32_t m_cBet_River_IP = 0;
    int32_t m_cBet_River_OOP = 0;
    int32_t m_cBet_Turn = 0;
    int32_t m_cBet_Turn_IP = 0;
    int32_t m_cBet_Turn_OOP = 0;
    int32_t m_c_All = 0;
    int32_t m_c_Flop = 0;
    int32_t m_c_River = 0;
    int32_t m_c_Turn = 0;
    int32_t m_callBBToSteal = 0;
    int32_t m_callCBet_Flop = 0;
    int32_t m_callCBet_River = 0;
    int32_t m_callCBet_Turn = 0;
    int32_t m_callSBToSteal = 0;
    int32_t m_callThreeBet = 0;
    int32_t m_coldCall = 0;
    int32_t m_f_All = 0;
    int32_t m_f_Flop = 0;
    int32_t m_f_River = 0;
    int32_t m_f_Turn = 0;
    int32_t m_foldBBToSteal = 0;
    int32_t m_foldCBet_Flop = 0;
    int32_t m_foldCBet_Flop_IP = 0;
    int32_t m_foldCBet_Flop_OOP = 0;
    int32_t m_foldCBet_River = 0;
    int32_t m_foldCBet_River_IP = 0;
    int32_t m_foldCBet_River_OOP = 0;
    int32_t m_foldCBet_Turn = 0;
    int32_t m_foldCBet_Turn_IP = 0;
    int32_t m_foldCBet_Turn_OOP = 0;
    int32_t m_foldSBToSteal = 0;
    int32_t m_foldToRaise = 0;
    int32_t m_foldToThreeBet = 0;
    int32_t m_gameAfterCBet_Flop = 0;
    int32_t m_gameAfterCBet_Flop_IP = 0;
    int32_t m_gameAfterCBet_Flop_OOP = 0;
    int32_t m_gameAfterCBet_River = 0;
    int32_t m_gameAfterCBet_River_IP = 0;
    int32_t m_gameAfterCBet_River_OOP = 0;
    int32_t m_gameAfterCBet_Turn = 0;
    int32_t m_gameAfterCBet_Turn_IP = 0;
    int32_t m_gameAfterCBet_Turn_OOP = 0;
    int32_t m_gameCBet_Flop = 0;
    int32_t m_gameCBet_Flop_IP = 0;
    int32_t m_gameCBet_Flop_OOP = 0;
    int32_t m_gameCBet_River = 0;
    int32_t m_gameCBet_River_IP = 0;
    int32_t m_gameCBet_River_OOP = 0;
    int32_t m_gameCBet_Turn = 0;
    int32_t m_gameCBet_Turn_IP = 0;
    int32_t m_gameCBet_Turn_OOP = 0;
    int32_t m_games = 0;
    int32_t m_gamesATS_BTN = 0;
    int32_t m_gamesATS_CO = 0;
    int32_t m_gamesATS_SB = 0;
    int32_t m_gamesAfterRaise = 0;
    int32_t m_gamesAfterThreeBet = 0;
    int32_t m_gamesColdCall = 0;
    int32_t m_gamesForVPIP = 0;
    int32_t m_gamesLimp = 0;
    int32_t m_gamesRaiseFirst = 0;
    int32_t m_gamesToBBSteal = 0;
    int32_t m_gamesToSBSteal = 0;
    int32_t m_gamesWTSD = 0;
    int32_t m_hands = 0;
    int32_t m_limpCall = 0;
    int32_t m_limpRaise = 0;
    int32_t m_pFR = 0;
    int32_t m_rB_All = 0;
    int32_t m_rB_Flop = 0;
    int32_t m_rB_River = 0;
    int32_t m_rB_Turn = 0;
    int32_t m_raiseBBToSteal = 0;
    int32_t m_raiseCBet_Flop = 0;
    int32_t m_raiseCBet_Flop_IP = 0;
    int32_t m_raiseCBet_Flop_OOP = 0;
    int32_t m_raiseCBet_River = 0;
    int32_t m_raiseCBet_River_IP = 0;
    int32_t m_raiseCBet_River_OOP = 0;
    int32_t m_raiseCBet_Turn = 0;
    int32_t m_raiseCBet_Turn_IP = 0;
    int32_t m_raiseCBet_Turn_OOP = 0;
    int32_t m_raiseFirst = 0;
    int32_t m_raiseSBToSteal = 0;
    int32_t m_threeBet = 0;
    int32_t m_vPIP = 0;
    int32_t m_wTSD = 0;
    int32_t m_wonAtShowdown = 0;
    int32_t m_wonWithoutShowdown = 0;
};

// A player: a name and three counter records.
class CPlayer
{
public:
    virtual ~CPlayer() = default;

    std::wstring m_name;
    std::array<CPokerStat, 3> m_stats;
};

// The 94 statistic names in their fixed order.
extern const std::array<const wchar_t*, 94> kStatNames;

// Empties `names` and fills it with every name of the vocabulary, each with the
// counter of the first record of `player`.
void BuildStatNames(const CPlayer& player, std::map<std::wstring, int32_t>& names);
