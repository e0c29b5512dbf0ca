#include "db/sqlite/CSQLiteRecordset.h"

#include "foundation/WideText.h"

#include <sqlite3.h>

#include <cstring>

namespace kroDB {

void CSqliteCloser::operator()(sqlite3* db) const
{
    sqlite3_close_v2(db);
}

void CSqliteFinalizer::operator()(sqlite3_stmt* statement) const
{
    sqlite3_finalize(statement);
}

SqliteConnection MakeSqliteConnection(sqlite3* db)
{
    return SqliteConnection(db, CSqliteCloser{});
}

CSQLiteRecordset::CSQLiteRecordset(SqliteConnection connection, SqliteStatement statement)
    : m_connection(std::move(connection))
    , m_statement(std::move(statement))
{}

CSQLiteRecordset::~CSQLiteRecordset() = default;

std::wstring CSQLiteRecordset::ConnectionError() const
{
    return m_connection ? FromUtf8(sqlite3_errmsg(m_connection.get())) : std::wstring();
}

bool CSQLiteRecordset::HasValue(int index) const
{
    // Reading a column outside the current row is undefined in the library.
    return m_statement && index >= 0 && index < sqlite3_data_count(m_statement.get());
}

int CSQLiteRecordset::ColumnType(int index) const
{
    return HasValue(index) ? sqlite3_column_type(m_statement.get(), index) : SQLITE_NULL;
}

void CSQLiteRecordset::GetBlob(int index, std::unique_ptr<unsigned char[]>& data, int& size)
{
    data.reset();
    size = 0;
    if (!HasValue(index)) {
        return;
    }
    const void* bytes = sqlite3_column_blob(m_statement.get(), index);
    const int count = sqlite3_column_bytes(m_statement.get(), index);
    if (bytes == nullptr || count <= 0) {
        return;
    }
    data = std::make_unique<unsigned char[]>(static_cast<size_t>(count));
    std::memcpy(data.get(), bytes, static_cast<size_t>(count));
    size = count;
}

void CSQLiteRecordset::GetBlobByName(const std::wstring& name,
                                     std::unique_ptr<unsigned char[]>& data,
                                     int& size)
{
    GetBlob(ColumnIndex(name), data, size);
}

bool CSQLiteRecordset::IsNull(int index)
{
    return ColumnType(index) == SQLITE_NULL;
}

std::wstring CSQLiteRecordset::GetString(int index)
{
    if (!HasValue(index)) {
        return {};
    }
    const unsigned char* text = sqlite3_column_text(m_statement.get(), index);
    if (text == nullptr) {
        return {};
    }
    // Ask for the length after the text: the conversion may change it, and a
    // text may hold NUL characters.
    const int bytes = sqlite3_column_bytes(m_statement.get(), index);
    return FromUtf8(
        std::string_view(reinterpret_cast<const char*>(text), static_cast<size_t>(bytes)));
}

std::wstring CSQLiteRecordset::GetStringByName(const std::wstring& name)
{
    return GetString(ColumnIndex(name));
}

int CSQLiteRecordset::GetInt(int index)
{
    return HasValue(index) ? sqlite3_column_int(m_statement.get(), index) : 0;
}

int CSQLiteRecordset::GetIntByName(const std::wstring& name)
{
    return GetInt(ColumnIndex(name));
}

double CSQLiteRecordset::GetDouble(int index)
{
    return HasValue(index) ? sqlite3_column_double(m_statement.get(), index) : 0.0;
}

double CSQLiteRecordset::GetDoubleByName(const std::wstring& name)
{
    return GetDouble(ColumnIndex(name));
}

bool CSQLiteRecordset::IsInteger(int index)
{
    return ColumnType(index) == SQLITE_INTEGER;
}

bool CSQLiteRecordset::IsFloat(int index)
{
    return ColumnType(index) == SQLITE_FLOAT;
}

bool CSQLiteRecordset::IsTextOrBlob(int index)
{
    const int type = ColumnType(index);
    return type == SQLITE_TEXT || type == SQLITE_BLOB;
}

int CSQLiteRecordset::ColumnCount()
{
    return m_statement ? sqlite3_column_count(m_statement.get()) : 0;
}

std::wstring CSQLiteRecordset::ColumnName(int index)
{
    if (index < 0 || index >= ColumnCount()) {
        return {};
    }
    const char* name = sqlite3_column_name(m_statement.get(), index);
    return name ? FromUtf8(name) : std::wstring();
}

int CSQLiteRecordset::ColumnIndex(const std::wstring& name)
{
    const int count = ColumnCount();
    for (int i = 0; i < count; ++i) {
        if (EqualsNoCase(ColumnName(i), name)) {
            return i;
        }
    }
    return -1;
}

int CSQLiteRecordset::MoveNext()
{
    m_lastError.clear();
    // Stepping again after the end would silently restart the query.
    if (!m_statement || m_atEnd) {
        return 0;
    }
    const int rc = sqlite3_step(m_statement.get());
    if (rc == SQLITE_ROW) {
        return 1;
    }
    m_atEnd = true;
    if (rc != SQLITE_DONE) {
        m_lastError = ConnectionError();
        if (m_lastError.empty()) {
            m_lastError = FromUtf8(sqlite3_errstr(rc));
        }
    }
    return 0;
}

int CSQLiteRecordset::Rewind(std::wstring& err)
{
    m_atEnd = false;
    m_lastError.clear();
    if (sqlite3_reset(m_statement.get()) != SQLITE_OK) {
        err = ConnectionError();
        return 0;
    }
    return 1;
}

void CSQLiteRecordset::Close()
{
    m_statement.reset();
    m_connection.reset();
    m_atEnd = false;
}

bool CSQLiteRecordset::IsOpen()
{
    return m_statement != nullptr;
}

}  // namespace kroDB
