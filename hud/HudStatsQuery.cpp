#include "hud/HudStatsQuery.h"

#include "foundation/WideText.h"

#include <charconv>
#include <climits>
#include <ctime>
#include <utility>

namespace {

struct CAggregate
{
    const wchar_t* alias;
    const wchar_t* flag;
};

constexpr CAggregate kAggregates[] = {
    {L"vpip_opp", L"flag_vpip_opp"},
    {L"vpip", L"flag_vpip"},
    {L"pfr_opp", L"flag_pf_pfr_opp"},
    {L"pfr", L"flag_pf_pfr"},
    {L"p3b_opp", L"flag_pf_3bet_opp"},
    {L"p3b", L"flag_pf_3bet"},
    {L"p4b_opp", L"flag_pf_4bet_opp"},
    {L"p4b", L"flag_pf_4bet"},
    {L"p3b_face", L"flag_pf_face_3bet"},
    {L"p3b_fold", L"flag_pf_fold_3bet"},
    {L"p4b_face", L"flag_pf_face_4bet"},
    {L"p4b_fold", L"flag_pf_fold_4bet"},
    {L"stealBB_face", L"flag_pf_face_steal and hp.position = 10"},
    {L"stealBB_fold", L"flag_pf_fold_steal  and hp.position = 10"},
    {L"R1_opp", L"flag_pf_raise_first_in_opp"},
    {L"R1", L"flag_pf_raise_first_in"},
    {L"fp_cbet_opp", L"flag_fp_cbet_opp"},
    {L"fp_cbet", L"flag_fp_cbet"},
    {L"fp_face_cbet", L"flag_fp_face_cbet"},
    {L"fp_fold_cbet", L"flag_fp_fold_cbet"},
    {L"tn_cbet_opp", L"flag_tn_cbet_opp"},
    {L"tn_cbet", L"flag_tn_cbet"},
    {L"tn_face_cbet", L"flag_tn_face_cbet"},
    {L"tn_fold_cbet", L"flag_tn_fold_cbet"},
    {L"rv_cbet_opp", L"flag_rv_cbet_opp"},
    {L"rv_cbet", L"flag_rv_cbet"},
    {L"rv_face_cbet", L"flag_rv_face_cbet"},
    {L"rv_fold_cbet", L"flag_rv_fold_cbet"},
    {L"wtsd_opp", L"flag_wtsd_opp"},
    {L"wtsd", L"flag_wtsd"},
    {L"wtsd_won", L"flag_won_wtsd"},
};

// Code points that belong to the character before them: combining marks of
// the common scripts, vowel signs of the Indic and South-East Asian scripts,
// variation selectors, emoji skin tones and tag characters.
constexpr std::pair<char32_t, char32_t> kExtending[] = {
    {0x0300, 0x036F},   {0x0483, 0x0489}, {0x0591, 0x05BD}, {0x05BF, 0x05BF},   {0x05C1, 0x05C2},
    {0x05C4, 0x05C5},   {0x05C7, 0x05C7}, {0x0610, 0x061A}, {0x064B, 0x065F},   {0x0670, 0x0670},
    {0x06D6, 0x06DC},   {0x06DF, 0x06E4}, {0x06E7, 0x06E8}, {0x06EA, 0x06ED},   {0x0711, 0x0711},
    {0x0730, 0x074A},   {0x07A6, 0x07B0}, {0x0816, 0x082D}, {0x0900, 0x0903},   {0x093A, 0x093C},
    {0x093E, 0x094F},   {0x0951, 0x0957}, {0x0962, 0x0963}, {0x0981, 0x0983},   {0x09BC, 0x09BC},
    {0x09BE, 0x09CD},   {0x09D7, 0x09D7}, {0x09E2, 0x09E3}, {0x0A01, 0x0A03},   {0x0A3C, 0x0A51},
    {0x0A70, 0x0A71},   {0x0A75, 0x0A75}, {0x0A81, 0x0A83}, {0x0ABC, 0x0ABC},   {0x0ABE, 0x0ACD},
    {0x0AE2, 0x0AE3},   {0x0B01, 0x0B03}, {0x0B3C, 0x0B3C}, {0x0B3E, 0x0B57},   {0x0B62, 0x0B63},
    {0x0B82, 0x0B82},   {0x0BBE, 0x0BCD}, {0x0BD7, 0x0BD7}, {0x0C00, 0x0C04},   {0x0C3E, 0x0C56},
    {0x0C62, 0x0C63},   {0x0C81, 0x0C83}, {0x0CBC, 0x0CBC}, {0x0CBE, 0x0CD6},   {0x0CE2, 0x0CE3},
    {0x0D00, 0x0D03},   {0x0D3B, 0x0D3C}, {0x0D3E, 0x0D4D}, {0x0D57, 0x0D57},   {0x0D62, 0x0D63},
    {0x0D81, 0x0D83},   {0x0DCA, 0x0DDF}, {0x0DF2, 0x0DF3}, {0x0E31, 0x0E31},   {0x0E34, 0x0E3A},
    {0x0E47, 0x0E4E},   {0x0EB1, 0x0EB1}, {0x0EB4, 0x0EBC}, {0x0EC8, 0x0ECD},   {0x0F18, 0x0F19},
    {0x0F35, 0x0F35},   {0x0F37, 0x0F37}, {0x0F39, 0x0F39}, {0x0F3E, 0x0F3F},   {0x0F71, 0x0F84},
    {0x0F86, 0x0F87},   {0x0F8D, 0x0FBC}, {0x0FC6, 0x0FC6}, {0x102B, 0x103E},   {0x1056, 0x1059},
    {0x1160, 0x11FF},   {0x135D, 0x135F}, {0x1712, 0x1714}, {0x17B4, 0x17D3},   {0x17DD, 0x17DD},
    {0x180B, 0x180D},   {0x1AB0, 0x1AFF}, {0x1B00, 0x1B04}, {0x1B34, 0x1B44},   {0x1DC0, 0x1DFF},
    {0x200C, 0x200C},   {0x20D0, 0x20FF}, {0x2CEF, 0x2CF1}, {0x2DE0, 0x2DFF},   {0x302A, 0x302F},
    {0x3099, 0x309A},   {0xA66F, 0xA672}, {0xA674, 0xA67D}, {0xA69E, 0xA69F},   {0xA6F0, 0xA6F1},
    {0xA802, 0xA802},   {0xA806, 0xA806}, {0xA80B, 0xA80B}, {0xA823, 0xA827},   {0xFB1E, 0xFB1E},
    {0xFE00, 0xFE0F},   {0xFE20, 0xFE2F}, {0xFF9E, 0xFF9F}, {0x1F3FB, 0x1F3FF}, {0xE0020, 0xE007F},
    {0xE0100, 0xE01EF},
};

constexpr char32_t kZeroWidthJoiner = 0x200D;

bool IsExtending(char32_t c)
{
    for (const auto& [first, last] : kExtending) {
        if (c < first) {
            return false;
        }
        if (c <= last) {
            return true;
        }
    }
    return false;
}

bool IsRegionalIndicator(char32_t c)
{
    return c >= 0x1F1E6 && c <= 0x1F1FF;
}

// A share in percent with one decimal, always with a point.
std::wstring Percent(int64_t count, int64_t chances)
{
    const double value =
        chances == 0 ? 0.0 : static_cast<double>(count) / static_cast<double>(chances) * 100.0;
    char buffer[64];
    const auto result =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, 1);
    return std::wstring(buffer, result.ptr);
}

}  // namespace

CHudStatsRow& CHudStatsRow::operator+=(const CHudStatsRow& other)
{
    n += other.n;
    vpip += other.vpip;
    vpipOpp += other.vpipOpp;
    pfr += other.pfr;
    pfrOpp += other.pfrOpp;
    p3b += other.p3b;
    p3bOpp += other.p3bOpp;
    p4b += other.p4b;
    p4bOpp += other.p4bOpp;
    return *this;
}

int HudCacheMonths(const std::wstring& text)
{
    size_t at = 0;
    while (at < text.size() && (text[at] == L' ' || (text[at] >= L'\t' && text[at] <= L'\r'))) {
        ++at;
    }
    bool negative = false;
    if (at < text.size() && (text[at] == L'+' || text[at] == L'-')) {
        negative = text[at] == L'-';
        ++at;
    }
    int64_t value = 0;
    for (; at < text.size() && text[at] >= L'0' && text[at] <= L'9'; ++at) {
        value = std::min<int64_t>(value * 10 + (text[at] - L'0'), INT_MAX);
    }
    return static_cast<int>(negative ? -value : value);
}

std::optional<int64_t> HudPeriodStart(int64_t now, int months)
{
    const auto seconds = static_cast<time_t>(now);
    std::tm local{};
    if (localtime_r(&seconds, &local) == nullptr) {
        return std::nullopt;
    }
    const int64_t monthNumber = (static_cast<int64_t>(local.tm_year) + 1900) * 12 + local.tm_mon -
                                static_cast<int64_t>(months);
    const int64_t year = monthNumber >= 0 ? monthNumber / 12 : (monthNumber - 11) / 12;
    if (year < 1969 || year > 9999) {
        return std::nullopt;
    }
    std::tm start{};
    start.tm_year = static_cast<int>(year - 1900);
    start.tm_mon = static_cast<int>(monthNumber - year * 12);
    start.tm_mday = 1;
    start.tm_isdst = -1;
    const time_t result = std::mktime(&start);
    if (result == static_cast<time_t>(-1) || result < 0) {
        return std::nullopt;
    }
    return static_cast<int64_t>(result);
}

std::wstring HudGameKindCondition(int32_t gameKind, int32_t bigBlind)
{
    switch (gameKind) {
    case 0:
        return L"AND (gametypes.idgamekind between 6 and 8)";
    case 1:
        return L"and (gametypes.idgamekind between 9 and 11)";
    case 2:
        return L"and (gametypes.idgamekind = 13)";
    case 3:
        return L"and (gametypes.idgamekind between 14 and 15)";
    case 4:
        return L"and (gametypes.idgamekind = 16)";
    case 5:
        return L"and (gametypes.idgamekind between 17 and 18)";
    default:
        return FormatW(L" AND (gametypes.bigblind=%d)", bigBlind);
    }
}

std::wstring HudStatsQuery(int32_t playerId,
                           int64_t periodStart,
                           int32_t gameKind,
                           int32_t bigBlind)
{
    std::wstring sums = L"count(*) as n";
    for (const auto& aggregate : kAggregates) {
        sums += FormatW(L", sum(case when hp.%ls then 1 else 0 end) as %ls", aggregate.flag,
                        aggregate.alias);
    }
    const std::wstring condition =
        FormatW(L"(\"localtime\" > %lld)", static_cast<long long>(periodStart)) +
        HudGameKindCondition(gameKind, bigBlind);
    return L"select gametypes.idgamekind as game, gametypes.bigblind as bb, " + sums +
           FormatW(
               L" from hands as h,gametypes,handsplayers as hp where (h.idgametype = "
               L"gametypes.id and h.id = hp.idhand) and hp.idplayer = %d and %ls group by "
               L"gametypes.idgamekind, gametypes.bigblind, hp.idplayer",
               playerId, condition.c_str());
}

std::wstring FirstCharacters(const std::wstring& name, size_t count)
{
    size_t end = 0;
    for (size_t taken = 0; taken < count && end < name.size(); ++taken) {
        const auto first = static_cast<char32_t>(name[end++]);
        if (IsRegionalIndicator(first) && end < name.size() &&
            IsRegionalIndicator(static_cast<char32_t>(name[end]))) {
            ++end;
        }
        while (end < name.size()) {
            const auto c = static_cast<char32_t>(name[end]);
            if (c == kZeroWidthJoiner) {
                end = std::min(name.size(), end + 2);
            } else if (IsExtending(c)) {
                ++end;
            } else {
                break;
            }
        }
    }
    return name.substr(0, end);
}

std::wstring FormatHudStatsText(const std::wstring& name, const CHudStatsRow& row)
{
    if (row.n <= 0) {
        return std::wstring();
    }
    return FirstCharacters(name, 4) + L" " + std::to_wstring(row.n) + L" " +
           Percent(row.vpip, row.vpipOpp) + L" " + Percent(row.pfr, row.pfrOpp) + L" " +
           Percent(row.p3b, row.p3bOpp) + L" " + Percent(row.p4b, row.p4bOpp) + L"\n";
}
