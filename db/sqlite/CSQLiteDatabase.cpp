#include "db/sqlite/CSQLiteDatabase.h"

#include "foundation/WideText.h"

#include <sqlite3.h>

#include <cstdint>

namespace kroDB {

namespace {

constexpr wchar_t kNotPrepared[] = L"The recordset is not prepared";
constexpr wchar_t kRecordsetClosed[] = L"The recordset is closed";
constexpr wchar_t kRecordsetNotOpen[] = L"The recordset is not open";
constexpr wchar_t kNotConnected[] = L"Not connected to the database";
constexpr wchar_t kNoTransaction[] = L"No transaction started";
constexpr wchar_t kOpenFailed[] = L"Failed to open database";
constexpr wchar_t kParameterNotFound[] =
    L"Cannot find the index of the unnamed parameter when searching by name";
constexpr wchar_t kEmptyStatement[] = L"The query holds no statement";
constexpr wchar_t kBadBlobSize[] = L"Wrong blob size";

struct CSqliteFree
{
    void operator()(char* text) const { sqlite3_free(text); }
};

bool IsParameterPrefix(wchar_t c)
{
    return c == L'?' || c == L':' || c == L'@' || c == L'$';
}

// The library copies the bound bytes at once; spelled out because its macro is
// an old-style cast.
sqlite3_destructor_type CopyBoundValue()
{
    return reinterpret_cast<sqlite3_destructor_type>(static_cast<intptr_t>(-1));
}

}  // namespace

CSQLiteDatabase::~CSQLiteDatabase() = default;

std::wstring CSQLiteDatabase::ParameterNameWithoutPrefix(std::wstring_view name)
{
    if (name.size() >= 2 && IsParameterPrefix(name.front())) {
        name.remove_prefix(1);
    }
    return std::wstring(name);
}

std::wstring CSQLiteDatabase::ErrorOf(sqlite3* db, int rc)
{
    if (db != nullptr) {
        const int code = sqlite3_errcode(db);
        if (code != SQLITE_OK && code != SQLITE_ROW && code != SQLITE_DONE) {
            return FromUtf8(sqlite3_errmsg(db));
        }
    }
    return FromUtf8(sqlite3_errstr(rc));
}

int CSQLiteDatabase::StatementOf(CAbstractRecordset& rs,
                                 const wchar_t* closedMessage,
                                 sqlite3_stmt*& statement,
                                 std::wstring& err) const
{
    // Another kind of recordset has no statement of this connection.
    auto* own = dynamic_cast<CSQLiteRecordset*>(&rs);
    statement = own ? own->Statement() : nullptr;
    if (statement == nullptr) {
        err = closedMessage;
        return 0;
    }
    return 1;
}

int CSQLiteDatabase::CheckParameterIndex(sqlite3_stmt* statement,
                                         int index,
                                         std::wstring& err) const
{
    if (index < 0 || index >= sqlite3_bind_parameter_count(statement)) {
        err = FormatW(L"Wrong parameter index: (%d)", index);
        return 0;
    }
    return 1;
}

int CSQLiteDatabase::GetParameterCount(CAbstractRecordset& rs, int& count, std::wstring& err)
{
    sqlite3_stmt* statement = nullptr;
    if (!StatementOf(rs, kNotPrepared, statement, err)) {
        return 0;
    }
    count = sqlite3_bind_parameter_count(statement);
    return 1;
}

int CSQLiteDatabase::GetParameterName(CAbstractRecordset& rs,
                                      int index,
                                      std::wstring& name,
                                      std::wstring& err)
{
    sqlite3_stmt* statement = nullptr;
    if (!StatementOf(rs, kRecordsetClosed, statement, err) ||
        !CheckParameterIndex(statement, index, err)) {
        return 0;
    }
    const char* raw = sqlite3_bind_parameter_name(statement, index + 1);
    name = raw ? ParameterNameWithoutPrefix(FromUtf8(raw)) : std::wstring();
    return 1;
}

int CSQLiteDatabase::GetParameterIndex(CAbstractRecordset& rs,
                                       const std::wstring& name,
                                       int& index,
                                       std::wstring& err)
{
    sqlite3_stmt* statement = nullptr;
    if (!StatementOf(rs, kRecordsetClosed, statement, err)) {
        return 0;
    }
    if (!name.empty()) {
        // GetParameterName drops the prefix, so a name it gave must find its
        // parameter again whichever prefix the statement used.
        const std::string utf8 = ToUtf8(name);
        for (const char* prefix : {"", ":", "@", "$", "?"}) {
            const int found =
                sqlite3_bind_parameter_index(statement, (std::string(prefix) + utf8).c_str());
            if (found > 0) {
                index = found - 1;
                return 1;
            }
        }
    }
    err = kParameterNotFound;
    return 0;
}

template <typename BindFunction>
int CSQLiteDatabase::BindChecked(CAbstractRecordset& rs,
                                 int index,
                                 std::wstring& err,
                                 BindFunction bind)
{
    sqlite3_stmt* statement = nullptr;
    if (!StatementOf(rs, kRecordsetClosed, statement, err) ||
        !CheckParameterIndex(statement, index, err)) {
        return 0;
    }
    const int rc = bind(statement, index + 1);
    if (rc != SQLITE_OK) {
        err = ErrorOf(sqlite3_db_handle(statement), rc);
        return 0;
    }
    return 1;
}

int CSQLiteDatabase::BindDouble(CAbstractRecordset& rs, int index, double value, std::wstring& err)
{
    return BindChecked(rs, index, err, [value](sqlite3_stmt* statement, int position) {
        return sqlite3_bind_double(statement, position, value);
    });
}

int CSQLiteDatabase::BindText(CAbstractRecordset& rs,
                              int index,
                              const std::wstring& text,
                              std::wstring& err)
{
    const std::string utf8 = ToUtf8(text);
    return BindChecked(rs, index, err, [&utf8](sqlite3_stmt* statement, int position) {
        return sqlite3_bind_text64(statement, position, utf8.data(), utf8.size(), CopyBoundValue(),
                                   SQLITE_UTF8);
    });
}

int CSQLiteDatabase::BindInt64(CAbstractRecordset& rs, int index, int64_t value, std::wstring& err)
{
    return BindChecked(rs, index, err, [value](sqlite3_stmt* statement, int position) {
        return sqlite3_bind_int64(statement, position, value);
    });
}

int CSQLiteDatabase::BindInt(CAbstractRecordset& rs, int index, int value, std::wstring& err)
{
    return BindChecked(rs, index, err, [value](sqlite3_stmt* statement, int position) {
        return sqlite3_bind_int(statement, position, value);
    });
}

int CSQLiteDatabase::QueryAlias(const std::wstring& sql,
                                std::wstring& err,
                                std::unique_ptr<CAbstractRecordset>& rs)
{
    return Query(sql, err, rs);
}

int CSQLiteDatabase::Reset(CAbstractRecordset& rs, std::wstring& err)
{
    auto* own = dynamic_cast<CSQLiteRecordset*>(&rs);
    if (own == nullptr || !own->IsOpen()) {
        err = kRecordsetNotOpen;
        return 0;
    }
    return own->Rewind(err);
}

int CSQLiteDatabase::ExecuteBlob(const std::wstring& sql,
                                 const void* data,
                                 int size,
                                 std::wstring& err)
{
    if (!m_connection) {
        err = kNotConnected;
        return 0;
    }
    if (size < 0 || (data == nullptr && size > 0)) {
        err = kBadBlobSize;
        return 0;
    }
    const std::string utf8 = ToUtf8(sql);
    sqlite3_stmt* raw = nullptr;
    int rc = sqlite3_prepare_v2(m_connection.get(), utf8.c_str(), static_cast<int>(utf8.size()),
                                &raw, nullptr);
    SqliteStatement statement(raw);
    if (rc != SQLITE_OK) {
        err = ErrorOf(m_connection.get(), rc);
        return 0;
    }
    if (!statement) {
        err = kEmptyStatement;
        return 0;
    }
    // A null pointer would bind NULL; an empty blob must stay a blob.
    static const unsigned char kNoBytes = 0;
    rc = sqlite3_bind_blob(statement.get(), 1, size > 0 ? data : &kNoBytes, size, CopyBoundValue());
    if (rc != SQLITE_OK) {
        err = ErrorOf(m_connection.get(), rc);
        return 0;
    }
    rc = sqlite3_step(statement.get());
    if (rc != SQLITE_DONE) {
        err = ErrorOf(m_connection.get(), rc);
        return 0;
    }
    return 1;
}

int CSQLiteDatabase::Query(const std::wstring& sql,
                           std::wstring& err,
                           std::unique_ptr<CAbstractRecordset>& rs)
{
    rs.reset();
    if (!m_connection) {
        err = kNotConnected;
        return 0;
    }
    const std::string utf8 = ToUtf8(sql);
    sqlite3_stmt* raw = nullptr;
    const int rc = sqlite3_prepare_v2(m_connection.get(), utf8.c_str(),
                                      static_cast<int>(utf8.size()), &raw, nullptr);
    SqliteStatement statement(raw);
    if (rc != SQLITE_OK) {
        err = ErrorOf(m_connection.get(), rc);
        return 0;
    }
    // Blank text or only a comment prepares to nothing; an open recordset
    // without a statement would look like a query with no rows.
    if (!statement) {
        err = kEmptyStatement;
        return 0;
    }
    rs = std::make_unique<CSQLiteRecordset>(m_connection, std::move(statement));
    return 1;
}

int CSQLiteDatabase::Execute(const std::wstring& sql, std::wstring& err)
{
    // The library does not check for a missing handle in every build.
    if (!m_connection) {
        err = kNotConnected;
        return 0;
    }
    char* raw = nullptr;
    const int rc = sqlite3_exec(m_connection.get(), ToUtf8(sql).c_str(), nullptr, nullptr, &raw);
    const std::unique_ptr<char, CSqliteFree> message(raw);
    if (rc != SQLITE_OK) {
        err = message ? FromUtf8(message.get()) : ErrorOf(m_connection.get(), rc);
        return 0;
    }
    return 1;
}

int CSQLiteDatabase::Close(std::wstring&)
{
    // Recordsets still open keep the handle alive until they are closed.
    m_connection.reset();
    m_inTransaction = false;
    return 1;
}

int CSQLiteDatabase::Open(const std::wstring& path, std::wstring& err)
{
    std::wstring ignored;
    Close(ignored);
    // An empty name would give a private temporary database, and a NUL would
    // cut the name short and open another file.
    if (path.empty() || path.find(L'\0') != std::wstring::npos) {
        err = kOpenFailed;
        return 0;
    }
    sqlite3* raw = nullptr;
    // The handle must be released even when opening fails.
    const int rc = sqlite3_open_v2(ToUtf8(path).c_str(), &raw,
                                   SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
    SqliteConnection connection = MakeSqliteConnection(raw);
    if (rc != SQLITE_OK || !connection) {
        err = kOpenFailed;
        return 0;
    }
    m_connection = std::move(connection);
    return 1;
}

int CSQLiteDatabase::BeginTransaction(std::wstring& err)
{
    if (!m_connection) {
        err = kNotConnected;
        return 0;
    }
    return BeginTransactionUnchecked(err);
}

int CSQLiteDatabase::BeginTransactionUnchecked(std::wstring& err)
{
    if (!Execute(L"begin transaction;", err)) {
        return 0;
    }
    m_inTransaction = true;
    return 1;
}

int CSQLiteDatabase::FinishTransaction(const char* sql, std::wstring& err)
{
    if (!m_connection) {
        err = kNotConnected;
        return 0;
    }
    if (!m_inTransaction) {
        err = kNoTransaction;
        return 0;
    }
    const int result = Execute(FromUtf8(sql), err);
    // A failed commit may leave the transaction open (busy) or end it (the
    // library rolled back); the connection knows which.
    m_inTransaction = sqlite3_get_autocommit(m_connection.get()) == 0;
    return result;
}

int CSQLiteDatabase::Commit(std::wstring& err)
{
    return FinishTransaction("commit;", err);
}

int CSQLiteDatabase::Rollback(std::wstring& err)
{
    return FinishTransaction("rollback;", err);
}

int CSQLiteDatabase::EndTransaction(bool commit, std::wstring& err)
{
    return commit ? Commit(err) : Rollback(err);
}

}  // namespace kroDB
