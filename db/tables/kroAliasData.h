// The aliasdata table: which player accounts belong to which alias.
#pragma once

#include "db/kroTable.h"
#include "foundation/records/CPeopleRecords.h"

#include <string>

namespace kroDB {

class kroAliasData : public kroTable
{
public:
    using kroTable::kroTable;
    std::wstring CreateText() const override;
    std::wstring TableName() const override { return L"aliasdata"; }

    class data : public IData, public CAliasDataRecord
    {
    public:
        explicit data(CDbContext& context)
            : m_context(context)
        {}
        bool Insert() override;
        bool Load() override;
        bool Exists() override;

    private:
        CDbContext& m_context;
    };
};

}  // namespace kroDB
