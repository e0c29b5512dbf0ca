#include "db/tables/CActionList.h"

#include <gtest/gtest.h>

using kroDB::CActionList;

TEST(ActionListTest, CodesMatchExactlyAndNamesByContainment)
{
    CActionList actions;
    actions.LoadDefaults();
    EXPECT_EQ(actions.ActionByCode(L"SB"), 2);
    EXPECT_EQ(actions.ActionByCode(L"S"), 9);
    EXPECT_EQ(actions.ActionByCode(L"sb"), 0);
    EXPECT_EQ(actions.ActionByName(L"raise"), 7);
    EXPECT_EQ(actions.ActionByName(L"cards"), 19);
    EXPECT_EQ(actions.ActionByName(L"third river"), 33);
    EXPECT_EQ(actions.ActionByName(L"nothing like it"), 0);
}
