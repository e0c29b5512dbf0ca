// The runittwice table: the second and third boards of hands run more than once.
#pragma once

#include "db/kroTable.h"

#include <string>

namespace kroDB {

class kroRunittwice : public kroDB::kroTable
{
public:
    using kroDB::kroTable::kroTable;
    std::wstring CreateText() const override;
    std::wstring TableName() const override { return L"runittwice"; }
};

}  // namespace kroDB
