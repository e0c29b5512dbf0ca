// The pots table: the main pot and the side pots of each hand.
#pragma once

#include "db/kroTable.h"
#include "foundation/records/CHandRows.h"

#include <string>

namespace kroDB {

class kroPots : public kroTable
{
public:
    using kroTable::kroTable;
    std::wstring CreateText() const override;
    std::wstring TableName() const override { return L"pots"; }

    class data : public IData, public CPotRecord
    {
    public:
        explicit data(CDbContext& context)
            : m_context(context)
        {}
        // Only for a hand id above 0; does not look for an existing row.
        bool Insert() override;
        bool Load() override;
        bool Exists() override { return false; }

    private:
        CDbContext& m_context;
    };
};

}  // namespace kroDB
