// A throw-away database on the test server, an importer, and queries of what a
// hand stored, for tests that import hand texts written for a rule and real
// corpus files.
#pragma once

#include "companion/CDatabase.h"
#include "companion/CODBCRecordset.h"
#include "db/DatabaseAdmin.h"
#include "parser/CHandHistoryImporter.h"
#include "parser/tests/ParserTestEnvironment.h"
#include "testing/CTempDir.h"
#include "testing/PgTestServer.h"
#include "testing/TestPaths.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

class StoredHandFixture : public ::testing::Test
{
protected:
    void SetUp() override
    {
        VX_REQUIRE_PG(m_server);
        m_name = vxtest::UniqueDatabaseName("vxhand");
        m_connect = m_server.ConnectString(m_name);
        ASSERT_TRUE(kroDB::CreateDatabase(*m_t.db, m_connect));
        m_t.db->SetConnectStrings(m_connect);
    }

    void TearDown() override
    {
        if (!m_name.empty() && m_t.db) {
            kroDB::CDbContext admin(m_t.definitions, m_t.sink, m_t.sink);
            (void)admin.AllocateEnvironment();
            m_t.db.reset();
            (void)kroDB::DropDatabase(admin, m_connect);
        }
    }

    // Imports `text` as a file of the room; the hands handled.
    int ImportText(const std::string& text,
                   const std::wstring& room = L"PokerStars",
                   const std::string& fileName = "hand.txt")
    {
        return ImportFile(m_dir.Write(fileName, text), room);
    }

    int ImportFile(const std::string& path, const std::wstring& room = L"PokerStars")
    {
        kroHandParser::CHandHistoryImporter importer(*m_t.env);
        int64_t fileId = 0;
        int currency = -1;
        int64_t position = 0;
        return importer.ImportHandHistoryFile(path, fileId, currency, position, room, 0);
    }

    // The first column of the first row, as text; "" without rows.
    std::wstring Scalar(const std::wstring& sql)
    {
        const auto rows = Rows(sql);
        return rows.empty() || rows[0].empty() ? std::wstring() : rows[0][0];
    }

    std::vector<std::vector<std::wstring>> Rows(const std::wstring& sql)
    {
        std::vector<std::vector<std::wstring>> rows;
        CDatabase db(m_t.db->Environment());
        if (!db.Open(m_connect).IsOk()) {
            return rows;
        }
        CODBCRecordset rs(db);
        if (!rs.Open(sql).IsOk()) {
            return rows;
        }
        for (; !rs.IsEOF(); rs.MoveNext()) {
            std::vector<std::wstring> row;
            for (size_t i = 0; i < rs.FieldCount(); ++i) {
                row.push_back(rs.Field(i).AsString());
            }
            rows.push_back(std::move(row));
        }
        return rows;
    }

    // A column of every hand player by name: "name" -> value.
    std::map<std::wstring, std::wstring> ByPlayer(const std::wstring& column)
    {
        std::map<std::wstring, std::wstring> out;
        for (const auto& row : Rows(L"SELECT p.name, hp." + column +
                                    L"::text FROM handsplayers hp JOIN players p ON "
                                    L"p.idplayer = hp.idplayer")) {
            out[row[0]] = row[1];
        }
        return out;
    }

    vxtest::CParserTestEnvironment m_t;
    vxtest::CPgTestServer m_server;
    vxtest::CTempDir m_dir;
    std::string m_name;
    std::wstring m_connect;
};
