// The actions table: every kind of action line, with a fixed list of rows.
#pragma once

#include "db/kroTable.h"

#include <array>
#include <cstdint>
#include <string>

namespace kroDB {

struct CActionRow
{
    int32_t id;
    const wchar_t* name;
    const wchar_t* code;
};

// The 33 default rows, in id order.
extern const std::array<CActionRow, 33> kDefaultActions;

class kroActions : public kroTable
{
public:
    using kroTable::kroTable;
    std::wstring CreateText() const override;
    std::wstring TableName() const override { return L"actions"; }
    void FillDefaults() override;

    // One action row; read-only: Insert and Exists return false.
    class data : public IData
    {
    public:
        explicit data(CDbContext& context)
            : m_context(context)
        {}
        bool Insert() override { return false; }
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
