#include "hud/editor/CHudLayoutsStore.h"

#include "hud/CHudLayouts.h"

std::vector<std::wstring> CHudLayoutsStore::Names() const
{
    std::vector<std::wstring> names;
    for (const auto& [name, layout] : m_layouts.Layouts()) {
        (void)layout;
        names.push_back(name);
    }
    return names;
}

IHudLayoutStore::Items* CHudLayoutsStore::Find(const std::wstring& name)
{
    auto& layouts = m_layouts.Layouts();
    const auto it = layouts.find(name);
    return it == layouts.end() ? nullptr : &it->second.items;
}

IHudLayoutStore::Items& CHudLayoutsStore::NewLayout(const std::wstring& name)
{
    return m_layouts.NewLayout(name).items;
}

CStatus CHudLayoutsStore::SaveHudLayout(const std::wstring& name)
{
    return m_layouts.SaveHudLayout(name);
}

CStatus CHudLayoutsStore::RenameHudLayout(const std::wstring& oldName, const std::wstring& newName)
{
    return m_layouts.RenameHudLayout(oldName, newName);
}

CStatus CHudLayoutsStore::DeleteHudLayout(const std::wstring& name)
{
    return m_layouts.DeleteHudLayout(name);
}
