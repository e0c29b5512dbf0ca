// The actions table held in memory, for looking actions up by code or name
// while hands are parsed. Reloaded before each import; not synchronised.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace kroDB {

class CDbContext;

class CActionList
{
public:
    struct CEntry
    {
        int32_t id;
        std::wstring name;
        std::wstring code;
    };

    // Empties the list and reads the table in id order; false when it cannot.
    bool LoadActions(CDbContext& context);
    // Fills the list with the built-in default rows (no database needed).
    void LoadDefaults();

    // The id of the first entry whose code equals `code` exactly, else 0.
    int32_t ActionByCode(std::wstring_view code) const;
    // The id of the first entry, in id order, whose name contains `text` at the
    // start of one of its words, else 0.
    int32_t ActionByName(std::wstring_view text) const;

    const std::vector<CEntry>& Entries() const { return m_entries; }

private:
    std::vector<CEntry> m_entries;
};

}  // namespace kroDB
