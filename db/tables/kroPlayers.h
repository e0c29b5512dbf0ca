// The players table: one row per screen name and room.
#pragma once

#include "db/kroTable.h"

#include <string>

namespace kroDB {

class kroPlayers : public kroDB::kroTable
{
public:
    using kroDB::kroTable::kroTable;
    std::wstring CreateText() const override;
    std::wstring TableName() const override { return L"players"; }
};

}  // namespace kroDB
