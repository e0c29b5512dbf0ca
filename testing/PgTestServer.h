// The throw-away PostgreSQL server that ./test starts for the pg tests, found
// through VX_TEST_PG_SERVER, VX_TEST_PG_PORT, VX_TEST_PG_USER and
// VX_TEST_PG_PASSWORD. No test ever touches a user's database.
#pragma once

#include <string>

namespace vxtest {

struct CPgTestServer
{
    std::string server;
    std::string port;
    std::string user;
    std::string password;

    // The connect string of database `name` on this server.
    std::wstring ConnectString(const std::string& name) const;
};

// The server, or false when none is configured.
bool PgTestServerFromEnvironment(CPgTestServer& out);

// A database name no other test process uses: prefix, process id and a count.
std::string UniqueDatabaseName(const std::string& prefix);

}  // namespace vxtest

// Skips (or, under ./test, fails) a test that needs the PostgreSQL server.
#define VX_REQUIRE_PG(serverVar)                                                           \
    do {                                                                                   \
        if (!::vxtest::PgTestServerFromEnvironment(serverVar)) {                           \
            if (std::getenv("VX_REQUIRE_PG") != nullptr) {                                 \
                FAIL() << "VX_REQUIRE_PG is set but no test server is configured";         \
            }                                                                              \
            GTEST_SKIP() << "no PostgreSQL test server (set VX_TEST_PG_PORT, run ./test)"; \
        }                                                                                  \
    } while (0)
