// A main window whose profile points at a database of its own on the test
// server; the database is dropped afterwards. Tests that need it skip (or,
// under ./test, fail) without a server.
#pragma once

#include "app/tests/CFrameHarness.h"
#include "testing/PgTestServer.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

class CPgFrameFixture : public ::testing::Test
{
protected:
    void SetUp() override;
    void TearDown() override;

    // Makes the frame; `prepare` may change the context before.
    void MakeFrame(const std::function<void(CMainFrameContext&)>& prepare = {});
    // Creates the database with all its tables.
    void CreateDatabase();
    // One value of a query on the test database, as text.
    std::wstring Scalar(const std::wstring& sql);

    vxtest::CPgTestServer m_server;
    std::string m_name;
    std::wstring m_connect;
    std::unique_ptr<CFrameHarness> m_h;
};
