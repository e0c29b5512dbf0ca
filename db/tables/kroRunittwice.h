// The runittwice table: the boards of hands run more than once.
#pragma once

#include "db/kroTable.h"
#include "foundation/records/CHandRows.h"

#include <string>

namespace kroDB {

class kroRunittwice : public kroTable
{
public:
    using kroTable::kroTable;
    std::wstring CreateText() const override;
    std::wstring TableName() const override { return L"runittwice"; }

    class data : public IData, public CRunItTwiceRecord
    {
    public:
        explicit data(CDbContext& context)
            : m_context(context)
        {}
        // The row, then its board cards; the third board when nb is above 2.
        bool Insert() override;
        // Each board read up to its first NULL card.
        bool Load() override;
        bool Exists() override;

    private:
        CDbContext& m_context;
    };
};

}  // namespace kroDB
