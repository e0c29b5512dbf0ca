#include "db/tables/CActionList.h"

#include "companion/CODBCRecordset.h"
#include "db/CDbContext.h"
#include "db/IConnection.h"
#include "db/tables/kroActions.h"
#include "foundation/WideText.h"

namespace kroDB {

bool CActionList::LoadActions(CDbContext& context)
{
    m_entries.clear();
    CConnectionLease connection(context.AcquireConnection(true));
    if (!connection) {
        return false;
    }
    std::unique_ptr<CODBCRecordset> rs;
    if (!connection->OpenRecordset(L"SELECT * FROM actions order by id;", rs)) {
        return false;
    }
    for (; !rs->IsEOF(); rs->MoveNext()) {
        m_entries.push_back({rs->Field(L"id").AsInt(), Trim(rs->Field(L"name").AsString()),
                             Trim(rs->Field(L"code").AsString())});
    }
    return true;
}

void CActionList::LoadDefaults()
{
    m_entries.clear();
    for (const auto& row : kDefaultActions) {
        m_entries.push_back({row.id, row.name, row.code});
    }
}

int32_t CActionList::ActionByCode(std::wstring_view code) const
{
    for (const auto& entry : m_entries) {
        if (entry.code == code) {
            return entry.id;
        }
    }
    return 0;
}

int32_t CActionList::ActionByName(std::wstring_view text) const
{
    // The text must start a word of the name: "cards" is the flop's cards, not
    // a part of "discards".
    for (const auto& entry : m_entries) {
        for (size_t at = entry.name.find(text); at != std::wstring::npos;
             at = entry.name.find(text, at + 1)) {
            if (at == 0 || entry.name[at - 1] == L' ') {
                return entry.id;
            }
        }
    }
    return 0;
}

}  // namespace kroDB
