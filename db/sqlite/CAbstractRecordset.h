// A forward-only result of one query of a CAbstractDatabase: columns by 0-based
// index or by name. Owned by the caller of Query; used by one thread at a time.
#pragma once

#include <memory>
#include <string>

namespace kroDB {

class CAbstractRecordset
{
public:
    // A new copy of the column's bytes in `data` and their count in `size`; null
    // and 0 for an empty or NULL column, a bad index or no current row.
    virtual void GetBlob(int index, std::unique_ptr<unsigned char[]>& data, int& size) = 0;
    virtual void GetBlobByName(const std::wstring& name,
                               std::unique_ptr<unsigned char[]>& data,
                               int& size) = 0;
    // True also for a bad index or without a current row.
    virtual bool IsNull(int index) = 0;
    // The column as text (UTF-8 decoded); empty for NULL, a bad index or no row.
    virtual std::wstring GetString(int index) = 0;
    virtual std::wstring GetStringByName(const std::wstring& name) = 0;
    // Numbers read as the library converts them; 0 for a bad index or no row.
    virtual int GetInt(int index) = 0;
    virtual int GetIntByName(const std::wstring& name) = 0;
    virtual double GetDouble(int index) = 0;
    virtual double GetDoubleByName(const std::wstring& name) = 0;
    // The stored type of the column in the current row.
    virtual bool IsInteger(int index) = 0;
    virtual bool IsFloat(int index) = 0;
    virtual bool IsTextOrBlob(int index) = 0;
    // 0 when closed.
    virtual int ColumnCount() = 0;
    // Empty for a bad index.
    virtual std::wstring ColumnName(int index) = 0;
    // Case-insensitive (ASCII) lookup; -1 when absent or when there are no columns.
    virtual int ColumnIndex(const std::wstring& name) = 0;
    // Steps to the next row: 1 while a row is available, 0 at the end or on an
    // error, which LastError() then describes.
    [[nodiscard]] virtual int MoveNext() = 0;
    virtual void Close() = 0;
    virtual bool IsOpen() = 0;
    virtual ~CAbstractRecordset() = default;

    // Why the last MoveNext stopped early; empty when it reached the end.
    const std::wstring& LastError() const { return m_lastError; }

protected:
    std::wstring m_lastError;
};

}  // namespace kroDB
