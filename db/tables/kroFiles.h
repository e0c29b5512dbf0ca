// The files table: one row per imported hand-history file.
#pragma once

#include "db/kroTable.h"
#include "foundation/records/CPeopleRecords.h"

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
        // Marks the file finished: live import is done with it.
        bool SetFinished(int64_t fileId);

    private:
        CDbContext& m_context;
    };
};

}  // namespace kroDB
