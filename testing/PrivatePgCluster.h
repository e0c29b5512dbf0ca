// A PostgreSQL cluster of one test's own, on a free port under a temporary
// folder, which the test may stop, crash and start again (the shared test
// server must never be stopped). Made with scripts/pg-local; removed with
// the object.
#pragma once

#include "testing/CTempDir.h"
#include "testing/PgTestServer.h"

#include <string>

namespace vxtest {

class CPrivatePgCluster
{
public:
    // Picks a free port; nothing runs until Start().
    CPrivatePgCluster();
    // Stops the server.
    ~CPrivatePgCluster();
    CPrivatePgCluster(const CPrivatePgCluster&) = delete;
    CPrivatePgCluster& operator=(const CPrivatePgCluster&) = delete;

    // Creates the cluster when needed and starts it; false when it did not
    // come up.
    bool Start();
    // A fast shutdown: what was committed is kept.
    bool Stop();
    // Stopped at once, as a crash would: commits that did not wait for the
    // disk may be lost, the rest is recovered at the next start.
    bool Crash();

    // The server, with the user and password of the test server.
    const CPgTestServer& Server() const { return m_server; }
    int Port() const { return m_port; }

private:
    bool Run(const std::string& command);

    CTempDir m_dir;
    int m_port = 0;
    CPgTestServer m_server;
};

}  // namespace vxtest
