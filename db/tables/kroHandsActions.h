// The handsactions table: the ordered action list of each hand.
#pragma once

#include "db/kroTable.h"

#include <string>

namespace kroDB {

class kroHandsActions : public kroDB::kroTable
{
public:
    using kroDB::kroTable::kroTable;
    std::wstring CreateText() const override;
    std::wstring TableName() const override { return L"handsactions"; }
};

}  // namespace kroDB
