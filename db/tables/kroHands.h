// The hands table: one row per hand, with its board and hand statistics.
#pragma once

#include "db/kroTable.h"

#include <string>

namespace kroDB {

class kroHands : public kroDB::kroTable
{
public:
    using kroDB::kroTable::kroTable;
    std::wstring CreateText() const override;
    std::wstring TableName() const override { return L"hands"; }
    // Adds the columns of the stat definitions that the table lacks.
    bool UpgradeColumns() override;
};

}  // namespace kroDB
