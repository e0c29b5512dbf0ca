// The aliases table: names under which several players are counted together.
#pragma once

#include "db/kroTable.h"

#include <string>

namespace kroDB {

class kroAliases : public kroDB::kroTable
{
public:
    using kroDB::kroTable::kroTable;
    std::wstring CreateText() const override;
    std::wstring TableName() const override { return L"aliases"; }
};

}  // namespace kroDB
