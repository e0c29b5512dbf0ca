// The players table: one row per screen name and room.
#pragma once

#include "db/kroTable.h"
#include "foundation/records/CPeopleRecords.h"

#include <string>
#include <vector>

namespace kroDB {

class kroPlayers : public kroTable
{
public:
    using kroTable::kroTable;
    std::wstring CreateText() const override;
    std::wstring TableName() const override { return L"players"; }

    class data : public IData, public CPlayerRecord
    {
    public:
        explicit data(CDbContext& context)
            : m_context(context)
        {}
        bool Insert() override;
        // Inserts a player just looked for and not found, without looking
        // again: false when another writer stored the name since (its unique
        // key refuses this row) or the insert failed.
        bool InsertUnseen();
        // By id when 1 or more, else by site and name when the site is nonzero.
        bool Load() override;
        bool Exists() override;
        // Marks the player as the hero; false for id 0.
        bool SetHero(int32_t playerId);
        // Every player stored for room `siteId`, beside any open unit;
        // false when they could not be read.
        static bool LoadRoom(CDbContext& context,
                             int32_t siteId,
                             std::vector<CPlayerRecord>& players);

    private:
        CDbContext& m_context;
    };
};

}  // namespace kroDB
