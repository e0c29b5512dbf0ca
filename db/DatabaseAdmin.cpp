#include "db/DatabaseAdmin.h"

#include "db/CDbContext.h"
#include "db/IConnection.h"
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
    if (!*admin || (*admin)->Database() == nullptr) {
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
    if (!main || main->Database() == nullptr) {
        return false;
    }
    const bool tables = CreateAllTables(context);
    const bool indexes = main->Execute(IndexScript());
    return tables && indexes;
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
    if (!main || main->Database() == nullptr) {
        return false;
    }
    bool ok = main->Execute(L"ALTER TABLE hands ADD COLUMN IF NOT EXISTS utc integer NULL");
    // Statistic columns that a newer definitions file names are added here too,
    // so that an existing database keeps up without being created again.
    ok = CreateAllTables(context) && ok;
    ok = main->Execute(IndexScript()) && ok;
    return ok;
}

}  // namespace kroDB
