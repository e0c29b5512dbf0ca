// A window system whose windows the test sets. Not thread-safe.
#pragma once

#include "platform/IWindowFinder.h"

#include <vector>

class CFakeWindowFinder : public IWindowFinder
{
public:
    std::vector<CWindowInfo> TopLevelWindows() override
    {
        ++enumerations;
        return windows;
    }

    std::optional<std::wstring> Title(uint64_t window) override
    {
        for (const auto& w : windows) {
            if (w.id == window) {
                return w.title;
            }
        }
        return std::nullopt;
    }

    // Bottom to top.
    std::vector<CWindowInfo> windows;
    int enumerations = 0;
};
