// The gametypes table: one row per distinct table format, created on demand.
#pragma once

#include "db/kroTable.h"
#include "foundation/records/CGameTypeRecord.h"

#include <string>

namespace kroDB {

class kroGameTypes : public kroTable
{
public:
    using kroTable::kroTable;
    std::wstring CreateText() const override;
    std::wstring TableName() const override { return L"gametypes"; }

    class data : public IData, public CGameTypeRecord
    {
    public:
        explicit data(CDbContext& context)
            : m_context(context)
        {}
        // Chooses the id (max + 1) when it has none; false when the row or its
        // natural key exists.
        bool Insert() override;
        // By id when above 0; else by the natural key (site, currency, kind,
        // big blind, ante, seats, fast) when site and kind are both nonzero.
        bool Load() override;
        // By id, then by natural key; false for an id of 0 or below.
        bool Exists() override;
        // Stores a new seat count; the row changes only when the update worked.
        bool SetMaxSeats(int32_t n);

        // The natural-key lookup, then an insert when nothing is found.
        bool FindOrInsert();

    private:
        bool LoadFrom(const std::wstring& sql);
        std::wstring NaturalKeyQuery() const;

        CDbContext& m_context;
    };
};

}  // namespace kroDB
