#include "db/DatabaseAdmin.h"

#include "companion/CDatabase.h"
#include "db/CDbContext.h"
#include "db/Catalog.h"
#include "db/IConnection.h"
#include "db/SeveralWriters.h"
#include "db/SqlText.h"
#include "db/TableSet.h"
#include "foundation/WideText.h"

#include <boost/regex.hpp>

namespace kroDB {

namespace {

// The shared steps of check, create and drop: parse, store the strings, verify
// the "postgres" role and look the database up. `found` tells whether it
// exists; false when any step fails. The lease keeps the admin connection.
bool PrepareAdmin(CDbContext& context,
                  const std::wstring& connectString,
                  CConnectParts& parts,
                  std::unique_ptr<CConnectionLease>& admin,
                  bool& found)
{
    found = false;
    if (!ParseConnectString(connectString, parts) || parts.database.empty()) {
        return false;
    }
    context.SetConnectStrings(connectString);
    admin = std::make_unique<CConnectionLease>(context.AcquireAdminConnection());
    if (!*admin || !(*admin)->IsOpen()) {
        return false;
    }
    std::unique_ptr<CODBCRecordset> rs;
    bool postgres = false;
    if ((*admin)->OpenRecordset(L"SELECT usename, passwd FROM pg_shadow;", rs)) {
        for (; !rs->IsEOF(); rs->MoveNext()) {
            if (Trim(rs->Field(L"usename").AsString()) == L"postgres") {
                postgres = true;
                break;
            }
        }
    }
    if (!postgres) {
        return false;
    }
    rs.reset();
    if ((*admin)->OpenRecordset(L"SELECT datname FROM pg_database;", rs)) {
        for (; !rs->IsEOF(); rs->MoveNext()) {
            if (rs->Field(L"datname").AsString() == parts.database) {
                found = true;
                break;
            }
        }
    }
    return true;
}

}  // namespace

bool ParseConnectString(const std::wstring& connectString, CConnectParts& parts)
{
    static const boost::wregex kPattern(
        LR"(Driver=\{.*\};Server=(.*);Port=(.*);Database=(.*);Uid=(.*);Pwd=(.*);)");
    boost::wsmatch m;
    if (!boost::regex_match(connectString, m, kPattern)) {
        return false;
    }
    parts.server = m[1].str();
    parts.port = m[2].str();
    parts.database = m[3].str();
    parts.user = m[4].str();
    parts.password = m[5].str();
    return true;
}

std::wstring MakeConnectString(const CConnectParts& parts)
{
    return FormatW(L"Driver={PostgreSQL Unicode};Server=%ls;Port=%ls;Database=%ls;Uid=%ls;Pwd=%ls;",
                   parts.server.c_str(), parts.port.c_str(), parts.database.c_str(),
                   parts.user.c_str(), parts.password.c_str());
}

bool CheckDatabase(CDbContext& context, const std::wstring& connectString)
{
    CConnectParts parts;
    std::unique_ptr<CConnectionLease> admin;
    bool found = false;
    return PrepareAdmin(context, connectString, parts, admin, found) && found;
}

bool CreateDatabase(CDbContext& context, const std::wstring& connectString)
{
    CConnectParts parts;
    bool found = false;
    {
        std::unique_ptr<CConnectionLease> admin;
        if (!PrepareAdmin(context, connectString, parts, admin, found)) {
            return false;
        }
        if (found) {
            context.ShowError(L"Database already exists!");
        } else if (!(*admin)->Execute(L"CREATE DATABASE " + SqlIdentifier(parts.database) +
                                      L" WITH OWNER=" + SqlIdentifier(L"postgres"))) {
            return false;
        }
    }
    context.ForgetIds();
    CConnectionLease main(context.AcquireConnection(true));
    if (!main || !main->IsOpen()) {
        return false;
    }
    const bool tables = CreateAllTables(context);
    const bool indexes = main->Execute(IndexScript());
    const bool writers = PrepareForSeveralWriters(context);
    return tables && indexes && writers;
}

bool DropDatabase(CDbContext& context, const std::wstring& connectString)
{
    CConnectParts parts;
    std::unique_ptr<CConnectionLease> admin;
    bool found = false;
    if (!PrepareAdmin(context, connectString, parts, admin, found) || !found) {
        return false;
    }
    context.ForgetIds();
    return (*admin)->Execute(L"DROP DATABASE " + SqlIdentifier(parts.database));
}

bool UpgradeDatabase(CDbContext& context)
{
    CConnectionLease main(context.AcquireConnection(true));
    if (!main || !main->IsOpen()) {
        return false;
    }
    // Altering a table locks out every other writer for a moment, so what is
    // there already is not altered again: other programs may be storing now.
    bool ok = ColumnExists(context, L"hands", L"utc") ||
              main->Execute(L"ALTER TABLE hands ADD COLUMN IF NOT EXISTS utc integer NULL");
    // Statistic columns that a newer definitions file names are added here too,
    // so that an existing database keeps up without being created again.
    ok = CreateAllTables(context) && ok;
    if (!IndexesPresent(context)) {
        ok = main->Execute(IndexScript()) && ok;
    }
    ok = PrepareForSeveralWriters(context) && ok;
    return ok;
}

bool DatabaseReachable(CDbContext& context)
{
    // A connection of its own: the shared one may be broken, and this test
    // must not show the user a failure each time it runs.
    const std::wstring connect = context.MainConnectString();
    if (connect.empty() || context.Environment() == SQL_NULL_HENV) {
        return false;
    }
    CDatabase probe(context.Environment());
    return probe.Open(connect, 2).IsOk() && probe.ExecuteSQL(L"SELECT 1").IsOk();
}

bool MakeDurable(CDbContext& context)
{
    auto lock = context.LockConnection();
    CConnectionLease connection(context.AcquireConnection(true));
    if (!connection || !connection->IsOpen() || !connection->BeginUnit().IsOk()) {
        return false;
    }
    // A synchronous commit waits until the log is on disk up to its commit
    // record, and with it every earlier commit. The server only waits for a
    // transaction that wrote to the log before its commit; an id alone
    // (txid_current) writes nothing, and such a commit does not wait. A
    // transactional message is the smallest write: no row, no lock.
    std::unique_ptr<CODBCRecordset> rs;
    const bool ok = connection->Execute(L"SET LOCAL synchronous_commit = on") &&
                    connection->OpenRecordset(
                        L"SELECT pg_logical_emit_message(true, 'veltrix', 'durable') AS lsn;", rs);
    rs.reset();
    if (!ok) {
        connection->RollbackUnit();
        return false;
    }
    return connection->CommitUnit().IsOk();
}

}  // namespace kroDB
