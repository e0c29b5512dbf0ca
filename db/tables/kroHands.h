// The hands table: one row per hand, with its board and hand statistics.
#pragma once

#include "db/IConnection.h"
#include "db/kroTable.h"
#include "foundation/records/CHandRecord.h"

#include <string>

namespace kroDB {

class kroHands : public kroTable
{
public:
    using kroTable::kroTable;
    std::wstring CreateText() const override;
    std::wstring TableName() const override { return L"hands"; }
    // Adds the columns of the stat definitions that the table lacks.
    bool UpgradeColumns() override;

    class data : public IData, public CHandRecord
    {
    public:
        explicit data(CDbContext& context)
            : m_context(context)
        {}
        // Takes a new id (unless it has one) and inserts the row with its
        // board cards. The room is `idsite`, else the game type's.
        bool Insert() override;
        // By id; else by file, room hand number and utc; else by room hand
        // number alone.
        bool Load() override;
        // By id, then by file, room hand number and utc; false for id <= 0.
        bool Exists() override;

        // The id of the stored hand of this room with the same room hand number
        // and utc, whichever file it came from; 0 when there is none. The same
        // hand is written to the client's file and again to exports. Takes
        // `siteId` as the row's room.
        int64_t FindStored(int32_t siteId);

        // The room (database site id) of the hand; 0 when not known.
        int32_t idsite = 0;

        // The board cards, their mask and the board texture; false for id 0.
        bool StoreBoard();
        // The hand's statistic maps in one update; true when there is nothing.
        bool StoreStats();

        bool SetGameType(int32_t value);
        bool SetShowdown(bool value);
        bool SetTotalPot(int32_t value);
        bool SetRake(int32_t value);
        bool SetRunItTwice(bool value);
        bool SetStreetAllin(int32_t value);
        bool SetSeats(int32_t value);

    private:
        bool LoadFrom(const std::wstring& sql);
        // Sets columns of the row: in the held new row when it is still
        // held, else by an update.
        bool SetValues(const RowValues& values);
        bool Update(const std::wstring& column, const std::wstring& value);
        // The board columns; `withTexture` adds boardtype.
        RowValues BoardValues(bool withTexture) const;

        CDbContext& m_context;
    };
};

}  // namespace kroDB
