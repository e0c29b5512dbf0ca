#include "app/cli/CliMain.h"
#include "foundation/CMemoryProfile.h"
#include "testing/CTempDir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>
#include <string>
#include <vector>

class EquityCommandTest : public ::testing::Test
{
protected:
    int Run(std::vector<std::string> args)
    {
        args.insert(args.begin(), "equity");
        m_out.str(L"");
        m_err.str(L"");
        return RunCli(args, m_out, m_err, m_profile, m_home.Path());
    }

    // A refusal is exit code 2 with exactly one line of explanation.
    void ExpectRefused(std::vector<std::string> args, const std::wstring& message)
    {
        EXPECT_EQ(Run(args), 2);
        EXPECT_EQ(m_out.str(), L"");
        const std::wstring err = m_err.str();
        EXPECT_EQ(std::count(err.begin(), err.end(), L'\n'), 1) << err;
        EXPECT_NE(err.find(message), std::wstring::npos) << err;
    }

    vxtest::CTempDir m_home;
    CMemoryProfile m_profile;
    std::wostringstream m_out;
    std::wostringstream m_err;
};

TEST_F(EquityCommandTest, PrintsEveryShareAndHowTheDealsWereCounted)
{
    EXPECT_EQ(Run({"--kind", "10", "--board", "2c 3d 7h Ks Qd", "Ac4dKhKc", "Ad4cQhJd"}), 0);
    EXPECT_EQ(m_out.str(), L"Ac4dKhKc 75.0000\nAd4cQhJd 25.0000\nexact 1\n");
    EXPECT_EQ(m_err.str(), L"");

    EXPECT_EQ(Run({"--kind=7", "As Ah Ks Kh", "JcTc9d8d"}), 0);
    const std::wstring preflop = m_out.str();
    EXPECT_EQ(preflop.substr(0, 9), L"AsAhKsKh ");
    EXPECT_NE(preflop.find(L"\nJcTc9d8d "), std::wstring::npos);
    EXPECT_NE(preflop.find(L"\nexact 1086008\n"), std::wstring::npos);
}

TEST_F(EquityCommandTest, ReadsCardsAsHandHistoriesWriteThem)
{
    EXPECT_EQ(
        Run({"--kind", "202", "--board", "6s,7s,10d", "--dead", "9s", "AsKs", "QhQd", "10hJh"}), 0);
    std::wistringstream lines(m_out.str());
    std::wstring line;
    std::vector<std::wstring> hands;
    double total = 0;
    while (std::getline(lines, line)) {
        const auto blank = line.find(L' ');
        hands.push_back(line.substr(0, blank));
        if (hands.size() <= 3) {
            total += std::stod(line.substr(blank + 1));
        }
    }
    ASSERT_EQ(hands.size(), 4u);
    EXPECT_EQ(hands[2], L"ThJh");
    EXPECT_EQ(hands[3], L"exact");
    EXPECT_NEAR(total, 100.0, 0.001);
}

TEST_F(EquityCommandTest, FusionBeforeTheFlopIsSampled)
{
    EXPECT_EQ(Run({"--kind", "30", "AsAh", "7c2d"}), 0);
    EXPECT_NE(m_out.str().find(L"\nsampled 1000000\n"), std::wstring::npos) << m_out.str();
    const std::wstring first = m_out.str();
    EXPECT_EQ(Run({"--kind", "30", "AsAh", "7c2d"}), 0);
    EXPECT_EQ(m_out.str(), first);
}

TEST_F(EquityCommandTest, BadInputIsRefusedWithOneLine)
{
    ExpectRefused({"AsAhKsKh", "JcTc9d8d"}, L"--kind");
    ExpectRefused({"--kind", "99", "AsAhKsKh", "JcTc9d8d"}, L"unknown game kind: 99");
    ExpectRefused({"--kind", "7x", "AsAhKsKh", "JcTc9d8d"}, L"unknown game kind");
    ExpectRefused({"--kind", "7", "AsAhKsXh", "JcTc9d8d"}, L"unknown card: Xh");
    ExpectRefused({"--kind", "7", "AsAhKsK", "JcTc9d8d"}, L"unknown card: K");
    ExpectRefused({"--kind", "7", "AsAhKsKh", "AsTc9d8d"}, L"card appears twice: As");
    ExpectRefused({"--kind", "7", "--board", "Jc2d3d", "AsAhKsKh", "JcTc9d8d"}, L"twice: Jc");
    ExpectRefused({"--kind", "7", "AsAhKsKh", "JcTc9d"}, L"has 3 cards, game kind 7 needs 4");
    ExpectRefused({"--kind", "30", "--board", "2c3c4c", "AsAh", "7c2d"}, L"needs 3");
    ExpectRefused({"--kind", "7", "--board", "2c3c4c5c6c7c", "AsAhKsKh", "JcTc9d8d"},
                  L"too many board cards: 6");
    ExpectRefused({"--kind", "7", "AsAhKsKh"}, L"at least two hands");
    ExpectRefused({"--kind", "202", "As5s", "QhQd"}, L"card not in the short deck: 5s");
    std::vector<std::string> eleven = {"--kind", "202"};
    for (const char* hand :
         {"AsKs", "AhKh", "AdKd", "AcKc", "QsJs", "QhJh", "QdJd", "QcJc", "TsTh", "TdTc", "9s9h"}) {
        eleven.push_back(hand);
    }
    ExpectRefused(eleven, L"more than ten players: 11");
}

TEST_F(EquityCommandTest, HelpNamesTheOptions)
{
    EXPECT_EQ(Run({"--help"}), 0);
    EXPECT_NE(m_out.str().find(L"--kind K"), std::wstring::npos);
    EXPECT_NE(m_out.str().find(L"\"10h\""), std::wstring::npos);
}
