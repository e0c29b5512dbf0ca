// A poker table whose client window was found: the window, the table size
// when the table was first seen and, per HUD position, whether a statistics
// box is shown there (a hide is sent only for a shown box). Main thread only.
#pragma once

#include <array>
#include <cstdint>
#include <map>
#include <string>

struct CTableRecord
{
    // The X11 id of the client's table window.
    uint64_t tableWindow = 0;
    int32_t tableSize = 0;
    std::array<bool, 10> shown{};
};

// Keyed by the table name, compared exactly.
using CTableMap = std::map<std::wstring, CTableRecord>;
