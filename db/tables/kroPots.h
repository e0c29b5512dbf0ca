// The pots table: the main pot and the side pots of each hand.
#pragma once

#include "db/kroTable.h"

#include <string>

namespace kroDB {

class kroPots : public kroDB::kroTable
{
public:
    using kroDB::kroTable::kroTable;
    std::wstring CreateText() const override;
    std::wstring TableName() const override { return L"pots"; }
};

}  // namespace kroDB
