// The hero rows a run publishes: what a failed hand takes back, and what is
// kept for a reader.
#include "parser/CParseContext.h"

#include <gtest/gtest.h>

using namespace kroHandParser;

namespace {

CStoredHeroHand HeroHand(int64_t handId)
{
    CStoredHeroHand hand;
    hand.handId = handId;
    hand.hero.name = L"Ann";
    hand.hero.stats.flags[L"flag_vpip"] = true;
    return hand;
}

}  // namespace

TEST(ParseContextTest, ARolledBackHandTakesItsHeroRowBackAndKeptRowsWaitForTheReader)
{
    CParseContext context;
    context.BeginUnit();
    context.PublishHero(HeroHand(1));
    context.CommitUnit();
    context.BeginUnit();
    context.PublishHero(HeroHand(2));
    context.RollbackUnit();
    ASSERT_TRUE(context.LastPublishedHero().has_value());
    EXPECT_EQ(context.LastPublishedHero()->handId, 1);

    // A hand sent ahead and refused later goes back as well.
    context.BeginUnit();
    context.PublishHero(HeroHand(3));
    context.CommitUnitAhead();
    context.RollbackAhead();
    EXPECT_EQ(context.LastPublishedHero()->handId, 1);

    const std::vector<CStoredHeroHand> taken = context.TakePublishedHeroes();
    ASSERT_EQ(taken.size(), 1u);
    EXPECT_EQ(taken[0].handId, 1);
    EXPECT_TRUE(taken[0].hero.stats.flags.at(L"flag_vpip"));
    EXPECT_TRUE(context.TakePublishedHeroes().empty());
}

TEST(ParseContextTest, RowsNobodyTakesAreNotKeptButTheLastOneIsKnown)
{
    CParseContext context;
    context.KeepPublishedHeroes(false);
    for (int64_t id = 1; id <= 3; ++id) {
        context.BeginUnit();
        context.PublishHero(HeroHand(id));
        context.CommitUnit();
    }
    context.BeginUnit();
    context.PublishHero(HeroHand(4));
    context.RollbackUnit();
    EXPECT_TRUE(context.TakePublishedHeroes().empty());
    ASSERT_TRUE(context.LastPublishedHero().has_value());
    EXPECT_EQ(context.LastPublishedHero()->handId, 3);
}
