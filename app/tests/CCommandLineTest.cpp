#include "app/cli/CCommandLine.h"

#include <gtest/gtest.h>

TEST(CCommandLineTest, OptionsMayStandAnywhere)
{
    CCommandLine line;
    std::string error;
    ASSERT_TRUE(ParseCommandLine({"--port", "5433", "db", "--name=Test DB", "create", "--help"},
                                 {"port", "name"}, {"help"}, line, error));
    EXPECT_EQ(line.positional, (std::vector<std::string>{"db", "create"}));
    EXPECT_EQ(line.Option("port"), "5433");
    EXPECT_EQ(line.Option("name"), "Test DB");
    EXPECT_TRUE(line.Has("help"));
    EXPECT_EQ(line.Option("user", "postgres"), "postgres");
}

TEST(CCommandLineTest, UnknownOptionsAndMissingValuesAreErrors)
{
    CCommandLine line;
    std::string error;
    EXPECT_FALSE(ParseCommandLine({"db", "--bogus"}, {"port"}, {}, line, error));
    EXPECT_NE(error.find("--bogus"), std::string::npos);
    EXPECT_FALSE(ParseCommandLine({"db", "--port"}, {"port"}, {}, line, error));
    EXPECT_FALSE(ParseCommandLine({"--help=1"}, {}, {"help"}, line, error));
}

TEST(CCommandLineTest, DoubleDashEndsOptions)
{
    CCommandLine line;
    std::string error;
    ASSERT_TRUE(ParseCommandLine({"import", "--", "--odd name.txt"}, {}, {}, line, error));
    EXPECT_EQ(line.positional.back(), "--odd name.txt");
}
