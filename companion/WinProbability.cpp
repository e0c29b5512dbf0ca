#include "companion/WinProbability.h"

#include "companion/BoardEnumeration.h"
#include "companion/CHandScorer.h"
#include "companion/EvaluatorTables.h"

#include <algorithm>
#include <climits>

namespace {

using namespace ostrand;

constexpr uint64_t kFullDeck = (uint64_t{1} << 52) - 1;
constexpr uint64_t kSeed = 0x0A11F1E1D5EEDull;
// Rejection sampling of hand choices gives up after this many clashes in a row;
// lists that rarely fit together are not worth an answer that takes minutes.
constexpr int kMaxClashes = 100000;

constexpr uint64_t ShortDeck()
{
    uint64_t deck = 0;
    for (int card = 0; card < 52; ++card) {
        deck |= (card % 13 >= 4 ? uint64_t{1} : 0) << card;
    }
    return deck;
}

struct CGameRules
{
    EquityGame game;
    int minHole;
    int maxHole;
    uint64_t deck;
};

struct CDeal
{
    const CEvaluatorTables& tables;
    EquityGame game;
    uint64_t board;
    uint64_t deck;  // cards that neither the board nor the dead cards hold
    int missing;
    std::vector<std::vector<uint64_t>> lists;
    CBoardTotals totals;
    int64_t choices = 0;
};

double Fail(CWinResults* results, int& counter1, int& counter2)
{
    if (results != nullptr) {
        *results = CWinResults();
    }
    counter1 = 0;
    counter2 = 0;
    return -1.0;
}

// The player's hands that can still be dealt; empty when none can or when a
// hand breaks the rules (then `bad` is set).
std::vector<uint64_t> PlayableHands(const std::vector<uint64_t>& hands,
                                    const CGameRules& rules,
                                    uint64_t taken,
                                    bool& bad)
{
    std::vector<uint64_t> playable;
    const int size = hands.empty() ? 0 : __builtin_popcountll(hands.front());
    for (const uint64_t hand : hands) {
        const int n = __builtin_popcountll(hand);
        if (n != size || n < rules.minHole || n > rules.maxHole || (hand & ~rules.deck) != 0) {
            bad = true;
            return {};
        }
        if ((hand & taken) == 0) {
            playable.push_back(hand);
        }
    }
    return playable;
}

void ScoreChoice(
    CDeal& deal, const uint64_t* hands, uint64_t used, bool sample, int64_t boards, CRandom& random)
{
    const int players = static_cast<int>(deal.lists.size());
    if (sample) {
        const CHandScorer scorer(deal.tables, deal.game, hands, players, boards > 45);
        SampleBoards(deal.tables, scorer, deal.board, deal.deck & ~used, boards, random,
                     deal.totals);
    } else {
        const CHandScorer scorer(deal.tables, deal.game, hands, players, deal.missing >= 2);
        EnumerateBoards(deal.tables, scorer, deal.board, deal.deck & ~used, deal.totals);
    }
    ++deal.choices;
}

void EnumerateChoices(CDeal& deal, int player, uint64_t used, uint64_t* hands, CRandom& random)
{
    if (player == static_cast<int>(deal.lists.size())) {
        ScoreChoice(deal, hands, used, false, 0, random);
        return;
    }
    for (const uint64_t hand : deal.lists[static_cast<size_t>(player)]) {
        if ((hand & used) == 0) {
            hands[player] = hand;
            EnumerateChoices(deal, player + 1, used | hand, hands, random);
        }
    }
}

bool SampleChoices(CDeal& deal, int64_t draws, int64_t boardsEach, CRandom& random)
{
    uint64_t hands[kMaxPlayers] = {};
    for (int64_t draw = 0; draw < draws; ++draw) {
        uint64_t used = 0;
        for (int clashes = 0;; ++clashes) {
            if (clashes == kMaxClashes) {
                return false;
            }
            used = 0;
            bool clash = false;
            for (size_t p = 0; p < deal.lists.size() && !clash; ++p) {
                const auto& list = deal.lists[p];
                hands[p] = list[random.Below(list.size())];
                clash = (hands[p] & used) != 0;
                used |= hands[p];
            }
            if (!clash) {
                break;
            }
        }
        ScoreChoice(deal, hands, used, true, boardsEach, random);
    }
    return true;
}

double Probability(const CGameRules& rules,
                   const std::vector<uint64_t>& hero,
                   uint64_t board,
                   int boardCards,
                   const std::vector<uint64_t>* opponents,
                   int opponentCount,
                   uint64_t dead,
                   CWinResults* results,
                   int& counter1,
                   int& counter2)
{
    const CEvaluatorTables* tables = Tables();
    if (tables == nullptr || boardCards != 5 || opponentCount < 1 || opponentCount > 9 ||
        opponents == nullptr || (board & ~rules.deck) != 0 || (dead & ~kFullDeck) != 0 ||
        (dead & ~rules.deck) != 0 || (board & dead) != 0 || __builtin_popcountll(board) > 5) {
        return Fail(results, counter1, counter2);
    }
    CDeal deal{
        *tables, rules.game, board, rules.deck & ~board & ~dead, 5 - __builtin_popcountll(board),
        {},      {},         0};
    bool bad = false;
    double product = 1;
    int holeCards = 0;
    for (int p = 0; p <= opponentCount && !bad; ++p) {
        const auto& hands = p == 0 ? hero : opponents[p - 1];
        deal.lists.push_back(PlayableHands(hands, rules, board | dead, bad));
        if (deal.lists.back().empty()) {
            bad = true;
        } else {
            product *= static_cast<double>(deal.lists.back().size());
            holeCards += __builtin_popcountll(deal.lists.back().front());
        }
    }
    const int left = __builtin_popcountll(deal.deck) - holeCards;
    if (bad || left < deal.missing) {
        return Fail(results, counter1, counter2);
    }
    const double boardsEach = static_cast<double>(Binomial(left, deal.missing));
    const bool exact = product == 1 || product * boardsEach <= static_cast<double>(counter1);
    CRandom random(kSeed);
    if (exact) {
        uint64_t hands[kMaxPlayers] = {};
        EnumerateChoices(deal, 0, 0, hands, random);
    } else {
        const int64_t draws = std::max(1, counter2);
        const int64_t each = std::max<int64_t>(1, counter1 / draws);
        if (!SampleChoices(deal, draws, each, random)) {
            return Fail(results, counter1, counter2);
        }
    }
    if (deal.choices == 0 || deal.totals.boards == 0) {
        return Fail(results, counter1, counter2);
    }
    CWinResults found;
    const double pots = static_cast<double>(deal.totals.boards) * static_cast<double>(kShareUnits);
    for (size_t p = 0; p < deal.lists.size(); ++p) {
        found.share[p] = static_cast<double>(deal.totals.shares[p]) / pots;
    }
    found.deals = deal.totals.boards;
    found.exact = exact;
    if (results != nullptr) {
        *results = found;
    }
    counter1 = static_cast<int>(std::min<int64_t>(deal.totals.boards, INT_MAX));
    counter2 = static_cast<int>(std::min<int64_t>(deal.choices, INT_MAX));
    return found.share[0];
}

}  // namespace

double getProbabilityOfWinOmaha64Common(int holeCount,
                                        const std::vector<uint64_t>& hero,
                                        uint64_t board,
                                        int boardCards,
                                        const std::vector<uint64_t>* opponents,
                                        int opponentCount,
                                        uint64_t dead,
                                        CWinResults* results,
                                        int& counter1,
                                        int& counter2)
{
    if (holeCount < 4 || holeCount > 6) {
        return Fail(results, counter1, counter2);
    }
    const CGameRules rules{EquityGame::OmahaHigh, holeCount, holeCount, kFullDeck};
    return Probability(rules, hero, board, boardCards, opponents, opponentCount, dead, results,
                       counter1, counter2);
}

double getProbabilityOfWinOmaha64Enumerate(const std::vector<uint64_t>& hero,
                                           uint64_t board,
                                           int boardCards,
                                           const std::vector<uint64_t>* opponents,
                                           int opponentCount,
                                           uint64_t dead,
                                           CWinResults* results,
                                           int& counter1,
                                           int& counter2,
                                           int variant)
{
    if (variant != 0 && variant != 1) {
        return Fail(results, counter1, counter2);
    }
    const CGameRules rules{variant == 1 ? EquityGame::OmahaHiLo : EquityGame::OmahaHigh, 4, 6,
                           kFullDeck};
    return Probability(rules, hero, board, boardCards, opponents, opponentCount, dead, results,
                       counter1, counter2);
}

double getProbabilityOfWinHoldem6PlusChinaEnumerate64(const std::vector<uint64_t>& hero,
                                                      uint64_t board,
                                                      int boardCards,
                                                      const std::vector<uint64_t>* opponents,
                                                      int opponentCount,
                                                      uint64_t dead,
                                                      CWinResults* results,
                                                      int& counter1,
                                                      int& counter2)
{
    const CGameRules rules{EquityGame::ShortDeck, 2, 2, ShortDeck()};
    return Probability(rules, hero, board, boardCards, opponents, opponentCount, dead, results,
                       counter1, counter2);
}
