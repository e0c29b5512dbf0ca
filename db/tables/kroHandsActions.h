// The handsactions table: the ordered action list of each hand.
#pragma once

#include "db/kroTable.h"
#include "foundation/records/CHandRows.h"

#include <string>
#include <vector>

namespace kroDB {

class kroHandsActions : public kroTable
{
public:
    using kroTable::kroTable;
    std::wstring CreateText() const override;
    std::wstring TableName() const override { return L"handsactions"; }

    // Numbers the actions 1..n in list order and stores them with one
    // statement. False for an empty list, which the server would reject.
    bool InsertAll(std::vector<CActionRecord>& actions);

    class data : public IData, public CActionRecord
    {
    public:
        explicit data(CDbContext& context)
            : m_context(context)
        {}
        // Only with a hand id and action number and when the row is not stored.
        bool Insert() override;
        bool Load() override { return false; }
        bool Exists() override;

    private:
        CDbContext& m_context;
    };
};

}  // namespace kroDB
