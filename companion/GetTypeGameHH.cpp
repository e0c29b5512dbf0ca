#include "companion/GetTypeGameHH.h"

#include "foundation/GameKinds.h"
#include "foundation/WideText.h"

#include <algorithm>
#include <string_view>
#include <vector>

namespace {

enum class Structure
{
    None,
    Limit,
    PotLimit,
    NoLimit
};

std::vector<std::wstring> Tokens(const std::wstring& lower)
{
    std::vector<std::wstring> tokens;
    std::wstring current;
    for (wchar_t c : lower) {
        const bool keep = (c >= L'a' && c <= L'z') || (c >= L'0' && c <= L'9') || c == L'+';
        if (keep) {
            current += c;
        } else if (!current.empty()) {
            tokens.push_back(current);
            current.clear();
        }
    }
    if (!current.empty()) {
        tokens.push_back(current);
    }
    return tokens;
}

bool Has(const std::vector<std::wstring>& t, std::wstring_view token)
{
    return std::find(t.begin(), t.end(), token) != t.end();
}

// Token `a` directly followed by token `b`.
bool HasPair(const std::vector<std::wstring>& t, std::wstring_view a, std::wstring_view b)
{
    for (size_t i = 0; i + 1 < t.size(); ++i) {
        if (t[i] == a && t[i + 1] == b) {
            return true;
        }
    }
    return false;
}

// "5 Card", "5-Cards", "Omaha 5 Cards", "PLO-5", "PLO5", "5-Omaha".
bool HasCardCount(const std::vector<std::wstring>& t, const std::wstring& n)
{
    if (Has(t, L"plo" + n) || Has(t, n + L"card") || Has(t, n + L"cards") || Has(t, L"omaha" + n) ||
        Has(t, L"plo" + n + L"hl")) {
        return true;
    }
    for (size_t i = 0; i < t.size(); ++i) {
        if (t[i] != n) {
            continue;
        }
        const bool next = i + 1 < t.size() && (t[i + 1] == L"card" || t[i + 1] == L"cards" ||
                                               t[i + 1] == L"omaha" || t[i + 1] == L"plo");
        const bool prev = i > 0 && (t[i - 1] == L"plo" || t[i - 1] == L"omaha");
        if (next || prev) {
            return true;
        }
    }
    return false;
}

bool IsHiLo(const std::vector<std::wstring>& t, const std::wstring& lower)
{
    static const std::wstring_view kTokens[] = {L"hilo", L"hilow",   L"hl",     L"o8",
                                                L"plo8", L"omahahl", L"omaha8", L"8b"};
    for (auto tok : kTokens) {
        if (Has(t, tok)) {
            return true;
        }
    }
    return HasPair(t, L"hi", L"lo") || HasPair(t, L"h", L"l") || HasPair(t, L"hi", L"low") ||
           lower.find(L"8 or better") != std::wstring::npos ||
           lower.find(L"eight or better") != std::wstring::npos;
}

Structure BettingStructure(const std::vector<std::wstring>& t)
{
    if (HasPair(t, L"no", L"limit") || Has(t, L"nolimit") || Has(t, L"nl") || Has(t, L"nlh") ||
        Has(t, L"nlo")) {
        return Structure::NoLimit;
    }
    if (HasPair(t, L"pot", L"limit") || Has(t, L"potlimit") || Has(t, L"pl") || Has(t, L"plo") ||
        Has(t, L"plh")) {
        return Structure::PotLimit;
    }
    if (Has(t, L"limit") || Has(t, L"fix") || Has(t, L"fixed") || Has(t, L"fl") || Has(t, L"lhe")) {
        return Structure::Limit;
    }
    return Structure::None;
}

}  // namespace

int GetTypeGameHH(const std::wstring& description)
{
    std::wstring lower = ToLowerAscii(description);
    lower = ReplaceAll(lower, L"hold'em", L"holdem");
    lower = ReplaceAll(lower, L"hold\u2019em", L"holdem");
    lower = ReplaceAll(lower, L"hold em", L"holdem");
    const std::vector<std::wstring> t = Tokens(lower);
    if (t.empty()) {
        return kGameUnknown;
    }

    if (Has(t, L"fusion")) {
        return kGameFusion;
    }
    if (Has(t, L"6+") || Has(t, L"shortdeck") || HasPair(t, L"short", L"deck") ||
        HasPair(t, L"six", L"plus") || HasPair(t, L"holdem", L"36")) {
        return kGameShortDeckHoldem;
    }

    const Structure structure = BettingStructure(t);
    const bool omaha = Has(t, L"omaha") || Has(t, L"plo") || Has(t, L"omahahl") ||
                       Has(t, L"plo5") || Has(t, L"plo6") || Has(t, L"plo8") || Has(t, L"omaha8") ||
                       Has(t, L"omaha5") || Has(t, L"omaha6") || Has(t, L"nlo") || Has(t, L"o8");
    const bool courchevel = Has(t, L"courchevel");
    const bool hilo = IsHiLo(t, lower);

    if (courchevel) {
        if (!hilo) {
            return kGameCourchevelPotLimit;
        }
        return structure == Structure::PotLimit || structure == Structure::None
                   ? kGameCourchevelHiLoPotLimit
                   : kGameCourchevelHiLoOther;
    }
    if (omaha) {
        if (HasCardCount(t, L"6")) {
            return hilo ? kGameOmaha6HiLoPotLimit : kGameOmaha6PotLimit;
        }
        if (HasCardCount(t, L"5")) {
            if (!hilo) {
                return kGameOmaha5PotLimit;
            }
            return structure == Structure::PotLimit || structure == Structure::None
                       ? kGameOmaha5HiLoPotLimit
                       : kGameOmaha5HiLoOther;
        }
        switch (structure) {
        case Structure::Limit:
            return hilo ? kGameOmahaHiLoLimit : kGameOmahaLimit;
        case Structure::NoLimit:
            return hilo ? kGameOmahaHiLoNoLimit : kGameOmahaNoLimit;
        case Structure::PotLimit:
        case Structure::None:
            break;
        }
        return hilo ? kGameOmahaHiLoPotLimit : kGameOmahaPotLimit;
    }
    if (Has(t, L"holdem") || Has(t, L"texas") || Has(t, L"nlh") || Has(t, L"lhe") ||
        Has(t, L"plh")) {
        switch (structure) {
        case Structure::Limit:
            return kGameHoldemLimit;
        case Structure::PotLimit:
            return kGameHoldemPotLimit;
        case Structure::NoLimit:
        case Structure::None:
            break;
        }
        return kGameHoldemNoLimit;
    }
    return kGameUnknown;
}
