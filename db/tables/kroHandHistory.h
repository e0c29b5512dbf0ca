// The handhistory table: the text of each hand in one of four storage modes.
#pragma once

#include "db/kroTable.h"

#include <string>

namespace kroDB {

class kroHandHistory : public kroDB::kroTable
{
public:
    using kroDB::kroTable::kroTable;
    std::wstring CreateText() const override;
    std::wstring TableName() const override { return L"handhistory"; }
};

}  // namespace kroDB
