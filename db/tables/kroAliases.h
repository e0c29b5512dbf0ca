// The aliases table: names under which several player accounts count as one.
#pragma once

#include "db/kroTable.h"
#include "foundation/records/CPeopleRecords.h"

#include <string>

namespace kroDB {

class kroAliases : public kroTable
{
public:
    using kroTable::kroTable;
    std::wstring CreateText() const override;
    std::wstring TableName() const override { return L"aliases"; }

    class data : public IData, public CAliasRecord
    {
    public:
        explicit data(CDbContext& context)
            : m_context(context)
        {}
        bool Insert() override;
        // By id when 1 or more, else by name.
        bool Load() override;
        bool Exists() override;
        // Loads the alias by name, inserting it when missing; false when
        // neither works. Whichever writer inserts the name first, all get
        // its id.
        bool FindOrInsert();

    private:
        CDbContext& m_context;
    };
};

}  // namespace kroDB
