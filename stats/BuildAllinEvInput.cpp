#include "stats/BuildAllinEvInput.h"

#include <algorithm>

namespace {

constexpr int kFusionKind = 30;
constexpr int kShortDeckKind = 202;

uint64_t FirstCards(const std::vector<int>& cards, int count)
{
    uint64_t mask = 0;
    for (size_t i = 0; i < cards.size() && static_cast<int>(i) < count; ++i) {
        if (cards[i] >= 0 && cards[i] < 52) {
            mask |= uint64_t{1} << cards[i];
        }
    }
    return mask;
}

}  // namespace

std::optional<AllinEvInput> BuildAllinEvInput(const CAllinHandFacts& facts)
{
    const std::optional<CHoleCards> kind = HoleCardsForKind(facts.gameKind);
    if (!kind) {
        return std::nullopt;
    }
    std::vector<const CAllinHandPlayer*> inHand;
    const CAllinHandPlayer* hero = nullptr;
    for (const CAllinHandPlayer& p : facts.players) {
        if (p.stillIn && !p.cards.empty()) {
            inHand.push_back(&p);
            hero = p.hero && hero == nullptr ? &p : hero;
        }
    }
    if (hero == nullptr || inHand.size() < 2) {
        return std::nullopt;
    }
    AllinEvInput input;
    input.gameKind = facts.gameKind;
    input.allinStreet = facts.allinStreet;
    input.holeCount = kind->holeCount;
    input.variant = kind->variant;
    input.heroNetWin = hero->netWin;
    input.heroInvested = hero->bet;
    input.totalPot = facts.totalPot;
    input.rake = facts.rake;
    input.handNumber = facts.handNumber;
    const int known = std::min({KnownBoardCards(facts.allinStreet, kind->variant),
                                static_cast<int>(facts.board.size()), 5});
    for (int i = 0; i < known; ++i) {
        input.board[static_cast<size_t>(i)] = facts.board[static_cast<size_t>(i)];
    }
    input.boardMask = FirstCards(facts.board, known);
    if (facts.gameKind == kFusionKind) {
        // Fusion deals the hole cards street by street: two before the flop, a
        // third with it and the fourth with the turn.
        input.holeCount = known == 0 ? 2 : (known == 3 ? 3 : 4);
    }
    if (!facts.pots.empty()) {
        // Side pots are worked out from the stacks, so the deepest comes first.
        std::stable_sort(inHand.begin(), inHand.end(),
                         [](const CAllinHandPlayer* a, const CAllinHandPlayer* b) {
                             return a->startCash > b->startCash;
                         });
        input.pots = facts.pots;
    } else {
        input.pots = {facts.lastPotAmount};
    }
    for (const CAllinHandPlayer* p : inHand) {
        AllinEvPlayer player;
        player.handPlayerId = p->handPlayerId;
        player.startCash = p->startCash;
        player.cardsMask = FirstCards(p->cards, input.holeCount);
        if (facts.gameKind != kFusionKind && facts.gameKind != kShortDeckKind && p->cards64 != 0) {
            player.cardsMask = p->cards64;
        }
        if (p == hero) {
            input.heroIndex = static_cast<int32_t>(input.players.size());
        }
        input.players.push_back(player);
    }
    return input;
}
