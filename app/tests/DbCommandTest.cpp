#include "app/cli/CliMain.h"
#include "foundation/CMemoryProfile.h"
#include "testing/CTempDir.h"
#include "testing/PgTestServer.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

class DbCommandTest : public ::testing::Test
{
protected:
    int Run(std::vector<std::string> args)
    {
        m_out.str(L"");
        m_err.str(L"");
        return RunCli(args, m_out, m_err, m_profile, m_home.Path());
    }

    vxtest::CTempDir m_home;
    CMemoryProfile m_profile;
    std::wostringstream m_out;
    std::wostringstream m_err;
};

TEST_F(DbCommandTest, HelpNeedsNoDatabase)
{
    EXPECT_EQ(Run({"--help"}), 0);
    EXPECT_NE(m_out.str().find(L"db create"), std::wstring::npos);
    EXPECT_EQ(Run({"db", "--help"}), 0);
    EXPECT_NE(m_out.str().find(L"--password"), std::wstring::npos);
    EXPECT_EQ(Run({}), 2);
    EXPECT_EQ(Run({"frobnicate"}), 2);
    EXPECT_EQ(Run({"db", "create", "--bogus", "1"}), 2);
}

TEST_F(DbCommandTest, EmptyRequiredFieldIsRefused)
{
    EXPECT_EQ(Run({"db", "create", "--name", ""}), 2);
    EXPECT_NE(m_err.str().find(L"Please fill all the required fields!"), std::wstring::npos);
}

TEST_F(DbCommandTest, CreateTwiceThenDropWithTheSpecifiedTexts)
{
    vxtest::CPgTestServer server;
    VX_REQUIRE_PG(server);
    const std::string name = vxtest::UniqueDatabaseName("vxcli");
    const std::vector<std::string> db = {"--server", server.server, "--port",     server.port,
                                         "--user",   server.user,   "--password", server.password,
                                         "--name",   name};
    auto with = [&](std::vector<std::string> args) {
        args.insert(args.end(), db.begin(), db.end());
        return Run(args);
    };
    EXPECT_EQ(with({"db", "check"}), 1);
    EXPECT_EQ(m_out.str(), L"Database is not found!\n");
    EXPECT_EQ(with({"db", "create"}), 0);
    EXPECT_EQ(m_out.str(), L"Database was created successfully!\n");
    EXPECT_EQ(with({"db", "create"}), 0);
    EXPECT_EQ(m_out.str(), L"Database is already being!\n");
    EXPECT_EQ(with({"db", "upgrade"}), 0);
    EXPECT_EQ(with({"db", "drop"}), 0);
    EXPECT_EQ(m_out.str(), L"Database was deleted successfully!\n");
    EXPECT_EQ(with({"db", "drop"}), 1);
    EXPECT_EQ(m_out.str(), L"Database is not found!\n");
    // The results reach the log of the program folder too.
    EXPECT_TRUE(std::filesystem::exists(m_home.File("Veltrix.log")));
    EXPECT_TRUE(std::filesystem::exists(m_home.File("predeftypes.json")));
}

TEST_F(DbCommandTest, UnreachableServerIsNotCreated)
{
    EXPECT_EQ(Run({"db", "create", "--port", "1"}), 1);
    EXPECT_NE(m_out.str().find(L"Database is not created!"), std::wstring::npos);
    EXPECT_NE(m_err.str().find(L"OpenDB error"), std::wstring::npos);
}

TEST_F(DbCommandTest, ImportUsageErrorsExitWithTwo)
{
    EXPECT_EQ(Run({"import"}), 2);
    EXPECT_EQ(Run({"import", "--wait", "soon", "x.txt"}), 2);
    EXPECT_NE(m_err.str().find(L"--wait takes a whole number of seconds"), std::wstring::npos);
    EXPECT_EQ(Run({"import", "--wait", "-5", "x.txt"}), 2);
    EXPECT_EQ(Run({"import", "--hh-format", "7", "x.txt"}), 2);
    EXPECT_EQ(Run({"import", "--name", "", "x.txt"}), 2);
    EXPECT_EQ(Run({"import", "--help"}), 0);
    EXPECT_NE(m_out.str().find(L"--wait SECONDS"), std::wstring::npos);
}

TEST_F(DbCommandTest, ImportIntoADatabaseThatDoesNotExistExitsWithOne)
{
    vxtest::CPgTestServer server;
    VX_REQUIRE_PG(server);
    EXPECT_EQ(Run({"import", "--server", server.server, "--port", server.port, "--user",
                   server.user, "--password", server.password, "--name", "vx_no_such_db", "x.txt"}),
              1);
    EXPECT_NE(m_err.str().find(L"DataBase does not exist!"), std::wstring::npos);
}
