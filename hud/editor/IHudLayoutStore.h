// What the HUD editor needs of the HUD layouts: the layouts by name, in name
// order, and the three changes that reach the layouts file. The program's
// store is the HUD layouts of "HUDs.xml"; tests give an in-memory one.
// Main thread only.
#pragma once

#include "foundation/CStatus.h"

#include <cstdint>
#include <map>
#include <string>
#include <vector>

class IHudLayoutStore
{
public:
    using Items = std::map<int32_t, std::wstring>;

    virtual ~IHudLayoutStore() = default;

    // Every layout name, in the map's order.
    virtual std::vector<std::wstring> Names() const = 0;
    // The items of layout `name`, or null when there is none. The pointer
    // stays valid until the layouts change.
    virtual Items* Find(const std::wstring& name) = 0;
    // A layout holding only the name item, replacing any layout of that name
    // (in the map only; the file changes with Save).
    virtual Items& NewLayout(const std::wstring& name) = 0;

    // Writes layout `name` to the file.
    [[nodiscard]] virtual CStatus SaveHudLayout(const std::wstring& name) = 0;
    // Renames layout `oldName` in the file and the map.
    [[nodiscard]] virtual CStatus RenameHudLayout(const std::wstring& oldName,
                                                  const std::wstring& newName) = 0;
    // Removes layout `name` from the file and the map.
    [[nodiscard]] virtual CStatus DeleteHudLayout(const std::wstring& name) = 0;
};
