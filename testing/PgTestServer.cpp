#include "testing/PgTestServer.h"

#include "foundation/WideText.h"

#include <atomic>
#include <cstdlib>
#include <unistd.h>

namespace vxtest {

namespace {

std::string Env(const char* name, const char* fallback)
{
    const char* v = std::getenv(name);
    return v && *v ? v : fallback;
}

}  // namespace

std::wstring CPgTestServer::ConnectString(const std::string& name) const
{
    return FromUtf8("Driver={PostgreSQL Unicode};Server=" + server + ";Port=" + port +
                    ";Database=" + name + ";Uid=" + user + ";Pwd=" + password + ";");
}

bool PgTestServerFromEnvironment(CPgTestServer& out)
{
    const char* port = std::getenv("VX_TEST_PG_PORT");
    if (port == nullptr || *port == '\0') {
        return false;
    }
    out.server = Env("VX_TEST_PG_SERVER", "127.0.0.1");
    out.port = port;
    out.user = Env("VX_TEST_PG_USER", "postgres");
    out.password = Env("VX_TEST_PG_PASSWORD", "lindqvarte42");
    return true;
}

std::string UniqueDatabaseName(const std::string& prefix)
{
    static std::atomic<int> counter{0};
    return prefix + "_" + std::to_string(::getpid()) + "_" + std::to_string(++counter);
}

}  // namespace vxtest
