// The files table: one row per imported hand-history file.
#pragma once

#include "db/kroTable.h"

#include <string>

namespace kroDB {

class kroFiles : public kroDB::kroTable
{
public:
    using kroDB::kroTable::kroTable;
    std::wstring CreateText() const override;
    std::wstring TableName() const override { return L"files"; }
};

}  // namespace kroDB
