// The handsplayers table: one row per player of each hand, with its statistic flags.
#pragma once

#include "db/kroTable.h"

#include <string>

namespace kroDB {

class kroHandPlayers : public kroDB::kroTable
{
public:
    using kroDB::kroTable::kroTable;
    std::wstring CreateText() const override;
    std::wstring TableName() const override { return L"handsplayers"; }
    // Adds the columns of the stat definitions that the table lacks.
    bool UpgradeColumns() override;
};

}  // namespace kroDB
