#include "parser/CParseContext.h"

#include <utility>

namespace kroHandParser {

CParseContext::GameKey CParseContext::KeyOf(const CGameTypeRecord& r)
{
    return {r.idsite, r.currency, r.idgamekind, r.bigblind, r.ante, r.maxseats, r.fast};
}

std::optional<int32_t> CParseContext::CachedPlayer(int32_t siteId, const std::wstring& name) const
{
    std::scoped_lock lock(m_mutex);
    const auto it = m_players.find({siteId, name});
    if (it == m_players.end()) {
        return std::nullopt;
    }
    return it->second;
}

void CParseContext::CachePlayer(int32_t siteId, const std::wstring& name, int32_t playerId)
{
    std::scoped_lock lock(m_mutex);
    if (m_players.emplace(std::make_pair(siteId, name), playerId).second && m_inUnit) {
        m_unit.players.emplace_back(siteId, name);
    }
}

bool CParseContext::RoomPlayersCached(int32_t siteId) const
{
    std::scoped_lock lock(m_mutex);
    return m_roomsCached.count(siteId) != 0;
}

void CParseContext::CacheRoomPlayers(int32_t siteId,
                                     const std::vector<std::pair<std::wstring, int32_t>>& players)
{
    std::scoped_lock lock(m_mutex);
    for (const auto& [name, id] : players) {
        m_players.emplace(std::make_pair(siteId, name), id);
    }
    m_roomsCached.insert(siteId);
}

std::optional<int32_t> CParseContext::CachedGameType(const CGameTypeRecord& key) const
{
    std::scoped_lock lock(m_mutex);
    const auto it = m_gameTypes.find(KeyOf(key));
    if (it == m_gameTypes.end()) {
        return std::nullopt;
    }
    return it->second;
}

void CParseContext::CacheGameType(const CGameTypeRecord& key, int32_t id)
{
    std::scoped_lock lock(m_mutex);
    if (m_gameTypes.emplace(KeyOf(key), id).second && m_inUnit) {
        m_unit.gameTypes.push_back(KeyOf(key));
    }
}

bool CParseContext::IsHeroId(int32_t playerId) const
{
    std::scoped_lock lock(m_mutex);
    return m_heroIds.count(playerId) != 0;
}

void CParseContext::AddHeroId(int32_t playerId)
{
    std::scoped_lock lock(m_mutex);
    if (m_heroIds.insert(playerId).second && m_inUnit) {
        m_unit.heroes.push_back(playerId);
    }
}

void CParseContext::LastGGBlinds(int32_t& smallBlind, int32_t& bigBlind) const
{
    std::scoped_lock lock(m_mutex);
    smallBlind = m_lastSmallBlind;
    bigBlind = m_lastBigBlind;
}

void CParseContext::SetLastGGBlinds(int32_t smallBlind, int32_t bigBlind)
{
    std::scoped_lock lock(m_mutex);
    m_lastSmallBlind = smallBlind;
    m_lastBigBlind = bigBlind;
}

void CParseContext::PublishHero(CStoredHeroHand hand)
{
    auto shared = std::make_shared<const CStoredHeroHand>(std::move(hand));
    std::scoped_lock lock(m_mutex);
    if (m_keepPublished) {
        m_published.push_back(shared);
    }
    m_lastPublished = std::move(shared);
}

void CParseContext::KeepPublishedHeroes(bool keep)
{
    std::scoped_lock lock(m_mutex);
    m_keepPublished = keep;
}

std::vector<CStoredHeroHand> CParseContext::TakePublishedHeroes()
{
    std::scoped_lock lock(m_mutex);
    std::vector<CStoredHeroHand> out;
    out.reserve(m_published.size());
    for (const auto& hand : m_published) {
        out.push_back(*hand);
    }
    m_published.clear();
    m_unit.published = 0;
    for (auto& ahead : m_ahead) {
        ahead.published = 0;
    }
    return out;
}

std::optional<CStoredHeroHand> CParseContext::LastPublishedHero() const
{
    std::scoped_lock lock(m_mutex);
    if (!m_lastPublished) {
        return std::nullopt;
    }
    return *m_lastPublished;
}

void CParseContext::BeginUnit()
{
    std::scoped_lock lock(m_mutex);
    m_inUnit = true;
    m_unit = CUnitEntries{};
    m_unit.published = m_published.size();
    m_unit.lastBefore = m_lastPublished;
}

void CParseContext::CommitUnit()
{
    std::scoped_lock lock(m_mutex);
    m_inUnit = false;
}

void CParseContext::Undo(const CUnitEntries& entries)
{
    for (const auto& key : entries.players) {
        m_players.erase(key);
    }
    for (const auto& key : entries.gameTypes) {
        m_gameTypes.erase(key);
    }
    for (int32_t id : entries.heroes) {
        m_heroIds.erase(id);
    }
    if (m_published.size() > entries.published) {
        m_published.resize(entries.published);
    }
    m_lastPublished = entries.lastBefore;
}

void CParseContext::RollbackUnit()
{
    std::scoped_lock lock(m_mutex);
    Undo(m_unit);
    m_inUnit = false;
}

void CParseContext::CommitUnitAhead()
{
    std::scoped_lock lock(m_mutex);
    m_ahead.push_back(std::move(m_unit));
    m_unit = CUnitEntries{};
    m_inUnit = false;
}

void CParseContext::ConfirmAhead()
{
    std::scoped_lock lock(m_mutex);
    if (!m_ahead.empty()) {
        m_ahead.erase(m_ahead.begin());
    }
}

void CParseContext::RollbackAhead()
{
    std::scoped_lock lock(m_mutex);
    for (auto it = m_ahead.rbegin(); it != m_ahead.rend(); ++it) {
        Undo(*it);
    }
    m_ahead.clear();
}

void CParseContext::Clear()
{
    std::scoped_lock lock(m_mutex);
    m_players.clear();
    m_gameTypes.clear();
    m_heroIds.clear();
    m_roomsCached.clear();
    m_ahead.clear();
}

}  // namespace kroHandParser
