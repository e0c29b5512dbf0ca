// The statcache table: a per-player summary keyed by month, game type, big
// blind, active seats and position, with one count_ column per statistic flag.
// Only created and kept in step with the stat definitions; no part of the
// program writes its rows yet.
#pragma once

#include "db/kroTable.h"

#include <string>

namespace kroStats {

class kroStatCache : public kroDB::kroTable
{
public:
    using kroDB::kroTable::kroTable;
    std::wstring CreateText() const override;
    std::wstring TableName() const override { return L"statcache"; }
    // Two passes in one batch: a count_ column for every "handplayerstats" name
    // without "val_", then the columns of the "statcache" section with their
    // type (integer when none is given; an entry whose name or type is not a
    // plain word is left out). False when nothing was missing or it failed.
    bool UpgradeColumns() override;
};

}  // namespace kroStats
