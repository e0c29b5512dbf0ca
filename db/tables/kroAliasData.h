// The aliasdata table: which players belong to which alias.
#pragma once

#include "db/kroTable.h"

#include <string>

namespace kroDB {

class kroAliasData : public kroDB::kroTable
{
public:
    using kroDB::kroTable::kroTable;
    std::wstring CreateText() const override;
    std::wstring TableName() const override { return L"aliasdata"; }
};

}  // namespace kroDB
