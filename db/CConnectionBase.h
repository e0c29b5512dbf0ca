// The shared behaviour of the main and the administrative connection: a use
// count, an optional open database and the three statement operations.
#pragma once

#include "db/IConnection.h"

#include <memory>
#include <mutex>

namespace kroDB {

class CDbContext;

class CConnectionBase : public IConnection
{
public:
    bool OpenRecordset(const std::wstring& sql,
                       std::unique_ptr<CODBCRecordset>& recordset) override;
    bool ExecuteBatch(const std::vector<std::wstring>& statements) override;
    bool Execute(const std::wstring& sql) override;
    CDatabase* Database() override { return m_db.get(); }

    int UseCount() const { return m_uses; }
    void AddUse() { ++m_uses; }
    // Subtracts one use; true when it was the last.
    bool DropUse() { return --m_uses <= 0; }
    // Opens the database; shows "OpenDB error [...]" and returns false on failure.
    bool OpenDatabase(const std::wstring& connectString);
    void CloseDatabase();

protected:
    // Requires: `context` outlives this object.
    explicit CConnectionBase(CDbContext& context);

    CDbContext& m_context;

private:
    bool Run(const std::wstring& sql);

    std::unique_ptr<CDatabase> m_db;
    int m_uses = 0;
};

}  // namespace kroDB
