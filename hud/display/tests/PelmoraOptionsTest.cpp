#include "hud/display/PelmoraOptions.h"

#include <gtest/gtest.h>

TEST(PelmoraOptionsTest, ReadsEveryOptionInBothForms)
{
    EXPECT_TRUE(ParsePelmoraOptions({"--help"}).help);
    EXPECT_TRUE(ParsePelmoraOptions({"-h"}).help);
    EXPECT_TRUE(ParsePelmoraOptions({"--version"}).version);
    EXPECT_TRUE(ParsePelmoraOptions({"--no-colors"}).noColors);
    EXPECT_EQ(ParsePelmoraOptions({"--screenshot", "/tmp/a.png"}).screenshot, "/tmp/a.png");
    EXPECT_EQ(ParsePelmoraOptions({"--screenshot=/tmp/b.png"}).screenshot, "/tmp/b.png");
    EXPECT_EQ(ParsePelmoraOptions({"--log", "x.log", "--no-colors"}).logFile, "x.log");
    // The environment's picture, unless the command line names another.
    EXPECT_EQ(ParsePelmoraOptions({}, "/tmp/env.png").screenshot, "/tmp/env.png");
    EXPECT_EQ(ParsePelmoraOptions({"--screenshot=/tmp/c.png"}, "/tmp/env.png").screenshot,
              "/tmp/c.png");
    EXPECT_TRUE(ParsePelmoraOptions({}).error.empty());
}

TEST(PelmoraOptionsTest, NamesWhatItDoesNotUnderstand)
{
    EXPECT_EQ(ParsePelmoraOptions({"--screenshot"}).error, "--screenshot needs a value");
    EXPECT_EQ(ParsePelmoraOptions({"--screenshot="}).error, "--screenshot needs a value");
    EXPECT_EQ(ParsePelmoraOptions({"--colour=red"}).error, "unknown option --colour=red");
    EXPECT_EQ(ParsePelmoraOptions({"table"}).error, "unexpected argument table");
    EXPECT_NE(PelmoraHelpText().find("--screenshot FILE"), std::string::npos);
}
