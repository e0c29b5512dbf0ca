// The sites table: the poker rooms, filled from the stat definitions' "sites".
#pragma once

#include "db/kroTable.h"

#include <cstdint>
#include <string>

namespace kroDB {

class kroSites : public kroTable
{
public:
    using kroTable::kroTable;
    std::wstring CreateText() const override;
    std::wstring TableName() const override { return L"sites"; }
    void FillDefaults() override;

    // One site row; read-only: Insert and Exists return false.
    class data : public IData
    {
    public:
        explicit data(CDbContext& context)
            : m_context(context)
        {}
        bool Insert() override { return false; }
        // By id when it is 1 or more, else by name.
        bool Load() override;
        bool Exists() override { return false; }

        int32_t id = 0;
        std::wstring name;
        std::wstring code;

    private:
        CDbContext& m_context;
    };
};

}  // namespace kroDB
