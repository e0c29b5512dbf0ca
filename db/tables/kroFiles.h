// The files table: one row per imported hand-history file.
#pragma once

#include "db/kroTable.h"
#include "foundation/records/CPeopleRecords.h"

#include <cstdint>
#include <string>

namespace kroDB {

class kroFiles : public kroTable
{
public:
    using kroTable::kroTable;
    std::wstring CreateText() const override;
    std::wstring TableName() const override { return L"files"; }

    class data : public IData, public CFileRecord
    {
    public:
        explicit data(CDbContext& context)
            : m_context(context)
        {}
        // Chooses the id when it has none; false when the row exists.
        bool Insert() override;
        // By id when 1 or more, else by path and site when the site is nonzero.
        bool Load() override;
        // By id, then by path alone.
        bool Exists() override;
        // Loads the row by path and site, inserting it when missing. Whichever
        // writer registers the file first, all get its id. False when the row
        // can be neither read nor written (the id chosen is kept then).
        bool FindOrInsert();
        // Marks the file finished: live import is done with it.
        bool SetFinished(int64_t fileId);
        // The same, recording what the file held then: its first `size` bytes
        // with the CRC-32 `crc`. A finished file that no longer holds exactly
        // that is read again. A negative size records nothing.
        bool SetFinished(int64_t fileId, int64_t size, uint32_t crc);
        // The file is read again: no longer finished.
        bool SetUnfinished(int64_t fileId);

        // What the file held when it was marked finished: its size (-1 when
        // not recorded) and the CRC-32 of those bytes.
        int64_t finishsize = -1;
        int64_t finishcrc = 0;

    private:
        CDbContext& m_context;
    };
};

}  // namespace kroDB
