// The HUD editor's view of the program's HUD layouts ("HUDs.xml").
// Main thread only.
#pragma once

#include "hud/editor/IHudLayoutStore.h"

class CHudLayouts;

class CHudLayoutsStore : public IHudLayoutStore
{
public:
    // Requires: `layouts` outlives this object.
    explicit CHudLayoutsStore(CHudLayouts& layouts)
        : m_layouts(layouts)
    {}

    std::vector<std::wstring> Names() const override;
    Items* Find(const std::wstring& name) override;
    Items& NewLayout(const std::wstring& name) override;
    CStatus SaveHudLayout(const std::wstring& name) override;
    CStatus RenameHudLayout(const std::wstring& oldName, const std::wstring& newName) override;
    CStatus DeleteHudLayout(const std::wstring& name) override;

private:
    CHudLayouts& m_layouts;
};
