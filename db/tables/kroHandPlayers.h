// The handsplayers table: one row per player of each hand, with its statistic
// flags.
#pragma once

#include "db/kroTable.h"
#include "foundation/records/CHandPlayerRecord.h"

#include <string>
#include <vector>

namespace kroDB {

class kroHandPlayers : public kroTable
{
public:
    using kroTable::kroTable;
    std::wstring CreateText() const override;
    std::wstring TableName() const override { return L"handsplayers"; }
    // Adds the columns of the stat definitions that the table lacks.
    bool UpgradeColumns() override;

    class data : public IData, public CHandPlayerRecord
    {
    public:
        explicit data(CDbContext& context)
            : m_context(context)
        {}
        // Takes the next id, inserts the row unless (hand, player) is stored,
        // then one update with the cards and every statistic.
        bool Insert() override;
        bool Load() override;
        bool Exists() override;
        // For the rows of a hand inserted in the same unit: no row can exist
        // yet, so Insert skips the lookup.
        void SetKnownNew(bool knownNew) { m_knownNew = knownNew; }

        bool SetCombination(int32_t value);
        bool SetLowCombination(int32_t value);
        // False for id 0.
        bool SetAllinEV();
        // Cards shown after the row was stored.
        bool StoreCards(int64_t handId, int32_t playerId, const std::vector<int>& shown);

    private:
        // Sets one column of the row: in the held new row when it is still
        // held, else by an update.
        bool Update(const std::wstring& column, const std::wstring& value);

        CDbContext& m_context;
        bool m_knownNew = false;
    };
};

}  // namespace kroDB
