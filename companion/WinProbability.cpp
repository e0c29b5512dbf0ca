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
    CBoardTotals totals;  // exact counts
    int64_t choices = 0;
    // Sampled deals, each hand choice weighted as below.
    double weightedShares[kMaxPlayers] = {};
    double weightedBoards = 0;
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

// A card that every hand of a list holds is that player's for certain, so no
// other player's hand can hold it. Dropping such hands up front keeps the
// sampler from drawing choices that can never fit together.
void DropHandsTakingKnownCards(std::vector<std::vector<uint64_t>>& lists)
{
    std::vector<uint64_t> certain;
    for (const auto& list : lists) {
        uint64_t common = ~uint64_t{0};
        for (const uint64_t hand : list) {
            common &= hand;
        }
        certain.push_back(common);
    }
    for (size_t p = 0; p < lists.size(); ++p) {
        uint64_t others = 0;
        for (size_t q = 0; q < lists.size(); ++q) {
            others |= q != p ? certain[q] : 0;
        }
        auto& list = lists[p];
        list.erase(std::remove_if(list.begin(), list.end(),
                                  [&](uint64_t hand) { return (hand & others) != 0; }),
                   list.end());
    }
}

void ScoreChoice(CDeal& deal, const uint64_t* hands, uint64_t used)
{
    const int players = static_cast<int>(deal.lists.size());
    const CHandScorer scorer(deal.tables, deal.game, hands, players, deal.missing >= 2);
    EnumerateBoards(deal.tables, scorer, deal.board, deal.deck & ~used, deal.totals);
    ++deal.choices;
}

void EnumerateChoices(CDeal& deal, int player, uint64_t used, uint64_t* hands)
{
    if (player == static_cast<int>(deal.lists.size())) {
        ScoreChoice(deal, hands, used);
        return;
    }
    for (const uint64_t hand : deal.lists[static_cast<size_t>(player)]) {
        if ((hand & used) == 0) {
            hands[player] = hand;
            EnumerateChoices(deal, player + 1, used | hand, hands);
        }
    }
}

// Draws `draws` hand choices, one player after the other, each hand uniform among
// those of its list that fit the cards drawn before, and scores each on
// `boardsEach` random boards. A choice is weighted by how many hands fitted at
// each step, which makes every fitting combination of hands equally likely in
// the sum, as the deal itself does; for lists that hold every completion of a
// player's known cards the weights are all equal. False when nothing fits.
bool SampleChoices(CDeal& deal, int64_t draws, int64_t boardsEach, CRandom& random)
{
    const int players = static_cast<int>(deal.lists.size());
    uint64_t hands[kMaxPlayers] = {};
    for (int64_t draw = 0; draw < draws; ++draw) {
        uint64_t used = 0;
        double weight = 1;
        for (int p = 0; p < players && weight > 0; ++p) {
            const auto& list = deal.lists[static_cast<size_t>(p)];
            const auto fits = static_cast<uint64_t>(std::count_if(
                list.begin(), list.end(), [&](uint64_t hand) { return (hand & used) == 0; }));
            weight *= static_cast<double>(fits) / static_cast<double>(list.size());
            if (fits == 0) {
                break;
            }
            uint64_t pick = random.Below(fits);
            for (const uint64_t hand : list) {
                if ((hand & used) == 0 && pick-- == 0) {
                    hands[p] = hand;
                    break;
                }
            }
            used |= hands[p];
        }
        if (weight <= 0) {
            continue;
        }
        CBoardTotals totals;
        const CHandScorer scorer(deal.tables, deal.game, hands, players, boardsEach > 45);
        SampleBoards(deal.tables, scorer, deal.board, deal.deck & ~used, boardsEach, random,
                     totals);
        for (int p = 0; p < players; ++p) {
            deal.weightedShares[p] += weight * static_cast<double>(totals.shares[p]);
        }
        deal.weightedBoards += weight * static_cast<double>(totals.boards);
        deal.totals.boards += totals.boards;
        ++deal.choices;
    }
    return deal.choices > 0;
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
    for (int p = 0; p <= opponentCount && !bad; ++p) {
        const auto& hands = p == 0 ? hero : opponents[p - 1];
        deal.lists.push_back(PlayableHands(hands, rules, board | dead, bad));
        bad = bad || deal.lists.back().empty();
    }
    double product = 1;
    int holeCards = 0;
    if (!bad) {
        DropHandsTakingKnownCards(deal.lists);
        for (const auto& list : deal.lists) {
            bad = bad || list.empty();
            product *= static_cast<double>(list.size());
            holeCards += list.empty() ? 0 : __builtin_popcountll(list.front());
        }
    }
    const int left = __builtin_popcountll(deal.deck) - holeCards;
    if (bad || left < deal.missing) {
        return Fail(results, counter1, counter2);
    }
    const double boardsEach = static_cast<double>(Binomial(left, deal.missing));
    const bool exact = product == 1 || product * boardsEach <= static_cast<double>(counter1);
    if (exact) {
        uint64_t hands[kMaxPlayers] = {};
        EnumerateChoices(deal, 0, 0, hands);
    } else {
        CRandom random(kSeed);
        const int64_t draws = std::max(1, counter2);
        const int64_t each = std::max<int64_t>(1, counter1 / draws);
        SampleChoices(deal, draws, each, random);
    }
    if (deal.choices == 0 || deal.totals.boards == 0) {
        return Fail(results, counter1, counter2);
    }
    CWinResults found;
    for (size_t p = 0; p < deal.lists.size(); ++p) {
        found.share[p] = exact ? static_cast<double>(deal.totals.shares[p]) /
                                     (static_cast<double>(deal.totals.boards) * kShareUnits)
                               : deal.weightedShares[p] / (deal.weightedBoards * kShareUnits);
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
