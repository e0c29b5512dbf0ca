#include "app/settings/CQSettingsProfile.h"

#include "testing/CTempDir.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

TEST(CQSettingsProfileTest, ValuesPersistUnderQuendalVeltrix)
{
    vxtest::CTempDir dir;
    ::setenv("XDG_CONFIG_HOME", dir.Path().c_str(), 1);
    {
        CQSettingsProfile profile;
        EXPECT_EQ(profile.GetProfileString(L"Base", L"NameDB", L"KRO"), L"KRO");
        EXPECT_EQ(profile.GetProfileInt(L"Base", L"HH", 0), 0);
        EXPECT_TRUE(profile.WriteProfileString(L"Base", L"NameDB", L"Дмитрий's DB"));
        EXPECT_TRUE(profile.WriteProfileInt(L"Base", L"HH", 3));
    }
    EXPECT_TRUE(std::filesystem::exists(dir.File("Quendal/Veltrix.conf")));
    CQSettingsProfile again;
    EXPECT_EQ(again.GetProfileString(L"Base", L"NameDB", L"KRO"), L"Дмитрий's DB");
    EXPECT_EQ(again.GetProfileInt(L"Base", L"HH", 0), 3);
    EXPECT_EQ(again.GetProfileInt(L"Base", L"Missing", 7), 7);
}
