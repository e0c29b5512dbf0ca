#include "foundation/CIniFile.h"

#include "testing/CTempDir.h"

#include <gtest/gtest.h>

TEST(CIniFileTest, SectionsAndKeysIgnoreCaseAndEmptyValuesGiveDefault)
{
    vxtest::CTempDir dir;
    const std::string path = dir.Write("Veltrix.ini",
                                       "; comment\r\n[Export]\r\nFolder = \"/srv/arch/\" \r\n"
                                       "Delay_Hours=\r\n[debug]\nDEBUG=1\n");
    const CIniFile ini(path);
    EXPECT_TRUE(ini.Exists());
    EXPECT_EQ(ini.GetString(L"export", L"folder", L"x"), L"/srv/arch/");
    EXPECT_EQ(ini.GetUnsigned(L"Export", L"Delay_Hours", 20), 20u);
    EXPECT_EQ(ini.GetUnsigned(L"Debug", L"Debug", 0), 1u);
    EXPECT_EQ(ini.GetString(L"Nope", L"Folder", L"def"), L"def");
}

TEST(CIniFileTest, IntegersAreUnsignedBaseTenOfTheFirst64Characters)
{
    vxtest::CTempDir dir;
    const std::string path =
        dir.Write("a.ini", "[S]\nA=30x\nB=abc\nC=" + std::string(70, '1') + "\n");
    const CIniFile ini(path);
    EXPECT_EQ(ini.GetUnsigned(L"S", L"A", 5), 30u);
    EXPECT_EQ(ini.GetUnsigned(L"S", L"B", 5), 0u);
    EXPECT_EQ(ini.GetUnsigned(L"S", L"C", 5), 4294967295u);
}

TEST(CIniFileTest, Utf16FileWithMarkIsRead)
{
    vxtest::CTempDir dir;
    std::string bytes = "\xFF\xFE";
    for (char c : std::string("[User]\r\nName=hero\r\n")) {
        bytes += c;
        bytes += '\0';
    }
    const CIniFile ini(dir.Write("user.ini", bytes));
    EXPECT_EQ(ini.GetString(L"User", L"Name", L""), L"hero");
}

TEST(CIniFileTest, MissingFileBehavesAsEmpty)
{
    const CIniFile ini("/nonexistent/Veltrix.ini");
    EXPECT_FALSE(ini.Exists());
    EXPECT_EQ(ini.GetString(L"Export", L"Folder", L"d"), L"d");
}
