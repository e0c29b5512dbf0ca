// The base of every table class: its name, its CREATE TABLE text, creation when
// missing, default rows and the statistic columns that the stat definitions
// name. Row classes derive from kroTable::IData. Table and row objects borrow
// the context, which must outlive them.
#pragma once

#include <cstdint>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace kroDB {

class CDbContext;

class kroTable
{
public:
    class IData
    {
    public:
        virtual ~IData() = default;
        // Inserts the row (choosing its id when it has none); false when it
        // exists already or a statement fails.
        virtual bool Insert() = 0;
        // Reads the row by id, or by its natural key; true when found.
        virtual bool Load() = 0;
        // True when the row is stored.
        virtual bool Exists() = 0;
    };

    explicit kroTable(CDbContext& context)
        : m_context(context)
    {}
    virtual ~kroTable() = default;

    // Adds missing statistic columns; false when there was nothing to do or it
    // failed.
    virtual bool UpgradeColumns() { return false; }
    virtual std::wstring CreateText() const = 0;
    virtual std::wstring TableName() const = 0;
    // Creates the table when it is missing (then fills its default rows) and
    // upgrades its columns. True also without a connection.
    virtual bool Create();
    virtual void FillDefaults() {}

protected:
    // "ALTER TABLE <table> ADD COLUMN ..." statements for the entries of
    // `section` whose names are not among `existing` (and are added to it).
    // With `asCounts`, names without "val_" become integer count_ columns
    // without default; otherwise each entry's type with DEFAULT false for
    // "boolean" and 0 for any other type.
    void AddStatColumnStatements(const std::wstring& section,
                                 std::set<std::wstring>& existing,
                                 bool asCounts,
                                 std::vector<std::wstring>& statements) const;

    // One batch of the statements of AddStatColumnStatements for each
    // (section, asCounts) pass in turn; false when nothing was missing.
    bool UpgradeFromSections(const std::vector<std::pair<std::wstring, bool>>& passes);

    CDbContext& m_context;
};

// True when `sql` yields at least one row.
bool QueryHasRow(CDbContext& context, const std::wstring& sql);
// The same, asked aside from the open unit (IConnection::OpenRecordsetAside).
bool QueryHasRowAside(CDbContext& context, const std::wstring& sql);

}  // namespace kroDB
