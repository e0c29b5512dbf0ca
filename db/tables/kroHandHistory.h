// The handhistory table: the text of each hand in one of four storage modes.
#pragma once

#include "db/kroTable.h"
#include "foundation/records/CHandRows.h"

#include <string>
#include <vector>

namespace kroDB {

class kroHandHistory : public kroTable
{
public:
    using kroTable::kroTable;
    std::wstring CreateText() const override;
    std::wstring TableName() const override { return L"handhistory"; }

    class data : public IData, public CHandHistoryRecord
    {
    public:
        explicit data(CDbContext& context)
            : m_context(context)
        {}
        // Fills hh from the lines for storage mode `nvar`: '0' nothing, 'U' the
        // text, '8' its UTF-8 in hex, 'z' a ZIP archive of the UTF-8 in hex.
        void Encode(const std::vector<std::wstring>& lines);
        bool Insert() override;
        // Reads the row as stored, without decoding.
        bool Load() override;
        bool Exists() override;

    private:
        CDbContext& m_context;
    };
};

}  // namespace kroDB
