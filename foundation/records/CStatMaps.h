// The named statistic values of a hand or a hand player, keyed by their column
// name. Ordered maps, so that the SQL written from them is the same every time.
#pragma once

#include <cstdint>
#include <map>
#include <string>

struct CStatMaps
{
    std::map<std::wstring, bool> flags;
    std::map<std::wstring, int32_t> counts;
    std::map<std::wstring, int32_t> values;
    std::map<std::wstring, std::wstring> texts;

    bool Empty() const
    {
        return flags.empty() && counts.empty() && values.empty() && texts.empty();
    }
    void Clear()
    {
        flags.clear();
        counts.clear();
        values.clear();
        texts.clear();
    }
};
