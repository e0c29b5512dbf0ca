#include "db/CDbContext.h"

#include "db/Catalog.h"
#include "db/DatabaseAdmin.h"
#include "db/kroConnection.h"
#include "db/kroTable.h"
#include "db/pgConnection.h"
#include "foundation/ILogSink.h"
#include "foundation/IUserNotifier.h"
#include "foundation/WideText.h"

#include <boost/regex.hpp>

#include <cwchar>

namespace kroDB {

CDbContext::CDbContext(const CStatDefinitions& definitions, IUserNotifier& notifier, ILogSink& log)
    : m_definitions(definitions)
    , m_notifier(notifier)
    , m_log(log)
{}

CDbContext::~CDbContext()
{
    // Connections go before the environment they were made from.
    m_main.reset();
    m_admin.reset();
}

CStatus CDbContext::AllocateEnvironment()
{
    return m_env.Allocate();
}

void CDbContext::SetConnectStrings(const std::wstring& connectString)
{
    std::scoped_lock lock(m_lock);
    if (connectString != m_mainConnect) {
        // It was asked of the other database.
        m_handSummary.reset();
    }
    m_mainConnect = connectString;
    // Only the Database value names the program's database; a user or
    // password containing the same letters stays as it is.
    static const boost::wregex kDatabase(LR"((;\s*Database=)([^;]*)(;))", boost::regex::icase);
    m_adminConnect =
        boost::regex_replace(connectString, kDatabase, L"$1postgres$3", boost::format_first_only);
}

std::wstring CDbContext::MainConnectString() const
{
    std::scoped_lock lock(m_lock);
    return m_mainConnect;
}

std::wstring CDbContext::AdminConnectString() const
{
    std::scoped_lock lock(m_lock);
    return m_adminConnect;
}

IConnection* CDbContext::AcquireConnection(bool /*readOnly*/)
{
    // The read-only request is only an access-mode hint of the opening call, and
    // every row insert also asks for it, so it is not passed to the driver.
    std::scoped_lock lock(m_lock);
    if (m_attached != nullptr) {
        return m_attached;
    }
    if (!m_main) {
        m_main = std::make_unique<kroConnection>(*this);
    }
    m_main->AddUse();
    if (m_main->Database() != nullptr) {
        return m_main.get();
    }
    if (m_mainConnect.empty()) {
        return m_main.get();
    }
    const std::wstring connectString = m_mainConnect;
    if (CheckDatabase(*this, connectString) && m_main && m_main->OpenDatabase(connectString)) {
        return m_main.get();
    }
    if (!m_main) {
        return nullptr;
    }
    const bool last = m_main->DropUse();
    if (last) {
        m_main.reset();
        return nullptr;
    }
    return m_main.get();
}

bool CDbContext::MainOpen() const
{
    std::scoped_lock lock(m_lock);
    return m_attached != nullptr || (m_main && m_main->Database() != nullptr);
}

IConnection* CDbContext::AcquireAdminConnection()
{
    std::scoped_lock lock(m_lock);
    if (!m_admin) {
        m_admin = std::make_unique<pgConnection>(*this);
    }
    m_admin->AddUse();
    if (m_admin->Database() != nullptr) {
        return m_admin.get();
    }
    if (!m_adminConnect.empty() && m_admin->OpenDatabase(m_adminConnect)) {
        return m_admin.get();
    }
    if (m_admin->DropUse()) {
        m_admin.reset();
        return nullptr;
    }
    return m_admin.get();
}

void CDbContext::ReleaseMain()
{
    std::scoped_lock lock(m_lock);
    if (m_main && m_main->DropUse()) {
        m_main.reset();
        m_ids.clear();
        m_columns.clear();
    }
}

int64_t CDbContext::TakeId(const std::wstring& sequence, int block)
{
    std::scoped_lock lock(m_lock);
    std::deque<int64_t>& ids = m_ids[sequence];
    if (ids.empty()) {
        // One row with the list: a row per id costs the driver more than the
        // server takes to count them out. Ids are never given back, so the
        // open unit need not carry the query.
        CConnectionLease connection(AcquireConnection(true));
        if (!connection) {
            return -1;
        }
        // Taken on their own, the ids need not wait for the disk: a commit
        // that waits writes the sequence's advance out with it, as it comes
        // earlier in the log, and nothing else rests on them.
        const wchar_t* const noWait =
            connection->ReadsAlone()
                ? L", (SELECT set_config('synchronous_commit', 'off', true)) AS nowait"
                : L"";
        std::unique_ptr<CODBCRecordset> rs;
        if (!connection->OpenRecordsetAside(
                FormatW(L"SELECT string_agg(nextval('%ls')::text, ',') AS ids%ls FROM "
                        L"generate_series(1,%d);",
                        sequence.c_str(), noWait, block < 1 ? 1 : block),
                rs) ||
            rs->IsEOF()) {
            return -1;
        }
        const std::wstring list = rs->Field(L"ids").AsString();
        const wchar_t* at = list.c_str();
        while (*at != L'\0') {
            wchar_t* end = nullptr;
            const long long id = std::wcstoll(at, &end, 10);
            if (end == at) {
                break;
            }
            ids.push_back(id);
            at = *end == L',' ? end + 1 : end;
        }
        if (ids.empty()) {
            return -1;
        }
    }
    const int64_t id = ids.front();
    ids.pop_front();
    return id;
}

std::optional<CStatus> CDbContext::TakeAheadOutcome(bool wait)
{
    std::scoped_lock lock(m_lock);
    IConnection* connection = m_attached != nullptr ? m_attached : m_main.get();
    if (connection == nullptr) {
        return std::nullopt;
    }
    return connection->TakeAheadOutcome(wait);
}

void CDbContext::ShareWriter(std::shared_ptr<pq::CSharedWriter> writer)
{
    std::scoped_lock lock(m_lock);
    m_writer = std::move(writer);
    if (m_main) {
        // Lets go of the old writer now rather than at the next hand.
        m_main->FollowWriter();
    }
}

void CDbContext::ForgetIds()
{
    std::scoped_lock lock(m_lock);
    m_ids.clear();
    m_columns.clear();
}

std::shared_ptr<const std::unordered_set<std::wstring>> CDbContext::TableColumns(
    const std::wstring& table)
{
    std::scoped_lock lock(m_lock);
    const auto it = m_columns.find(table);
    if (it != m_columns.end() && !it->second->empty()) {
        return it->second;
    }
    // Asked once per column of every row stored: hashed.
    const std::set<std::wstring> names = ColumnNames(*this, table);
    auto columns =
        std::make_shared<const std::unordered_set<std::wstring>>(names.begin(), names.end());
    m_columns[table] = columns;
    return columns;
}

void CDbContext::AttachConnection(IConnection* connection)
{
    std::scoped_lock lock(m_lock);
    m_attached = connection;
    m_ids.clear();
    m_columns.clear();
}

void CDbContext::ResetConnection()
{
    std::scoped_lock lock(m_lock);
    if (m_main) {
        m_main->CloseDatabase();
    }
    m_ids.clear();
    m_columns.clear();
}

void CDbContext::ReleaseAdmin()
{
    std::scoped_lock lock(m_lock);
    if (m_admin && m_admin->DropUse()) {
        m_admin.reset();
    }
}

void CDbContext::ShowError(const std::wstring& text)
{
    m_notifier.Notify(text);
}

CConnectionLease::~CConnectionLease()
{
    if (m_connection != nullptr) {
        m_connection->Release();
    }
}

std::wstring MaskPassword(const std::wstring& connectString)
{
    static const boost::wregex kPassword(LR"((Pwd=)([^;]*))", boost::regex::icase);
    return boost::regex_replace(connectString, kPassword, L"$1***");
}

}  // namespace kroDB
