#include "parser/CParseContext.h"

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
        m_unitPlayers.emplace_back(siteId, name);
    }
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
        m_unitGameTypes.push_back(KeyOf(key));
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
        m_unitHeroes.push_back(playerId);
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

void CParseContext::PublishHero(const CStoredHeroHand& hand)
{
    std::scoped_lock lock(m_mutex);
    m_published.push_back(hand);
    m_lastPublished = hand;
}

std::vector<CStoredHeroHand> CParseContext::TakePublishedHeroes()
{
    std::scoped_lock lock(m_mutex);
    std::vector<CStoredHeroHand> out;
    out.swap(m_published);
    m_unitPublished = 0;
    return out;
}

std::optional<CStoredHeroHand> CParseContext::LastPublishedHero() const
{
    std::scoped_lock lock(m_mutex);
    return m_lastPublished;
}

void CParseContext::BeginUnit()
{
    std::scoped_lock lock(m_mutex);
    m_inUnit = true;
    m_unitPlayers.clear();
    m_unitGameTypes.clear();
    m_unitHeroes.clear();
    m_unitPublished = m_published.size();
    m_unitLastBefore = m_lastPublished;
}

void CParseContext::CommitUnit()
{
    std::scoped_lock lock(m_mutex);
    m_inUnit = false;
}

void CParseContext::RollbackUnit()
{
    std::scoped_lock lock(m_mutex);
    for (const auto& key : m_unitPlayers) {
        m_players.erase(key);
    }
    for (const auto& key : m_unitGameTypes) {
        m_gameTypes.erase(key);
    }
    for (int32_t id : m_unitHeroes) {
        m_heroIds.erase(id);
    }
    if (m_published.size() > m_unitPublished) {
        m_published.resize(m_unitPublished);
    }
    m_lastPublished = m_unitLastBefore;
    m_inUnit = false;
}

void CParseContext::Clear()
{
    std::scoped_lock lock(m_mutex);
    m_players.clear();
    m_gameTypes.clear();
    m_heroIds.clear();
}

}  // namespace kroHandParser
