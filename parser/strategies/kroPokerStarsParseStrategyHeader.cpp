// Reading the first line of a PokerStars-layout hand: the game, the blinds,
// the currency and the three times.
#include "companion/GetTypeGameHH.h"
#include "foundation/GameKinds.h"
#include "foundation/WideText.h"
#include "parser/CParserEnvironment.h"
#include "parser/HeaderFields.h"
#include "parser/LineTests.h"
#include "parser/strategies/kroPokerStarsParseStrategy.h"

namespace kroHandParser {

namespace {

// Times of a header whose T is the client's ET (or only) time.
int64_t EtTimes(int64_t t, int64_t localOffset, int64_t& et, int64_t& utc)
{
    et = t;
    utc = t + 14400;
    return t + 14400 - localOffset;
}

int SymbolCurrency(const std::wstring& symbol, bool yuan)
{
    if (symbol == L"$") {
        return 0;
    }
    if (symbol == L"\u20AC") {
        return 1;
    }
    if (symbol == L"\u00A3") {
        return 2;
    }
    if (yuan && symbol == L"\u00A5") {
        return 3;
    }
    return -1;
}

// True when every currency code closing the stakes follows exactly one blank,
// so that making the blanks before it one changes nothing.
bool OneSpaceBeforeEachCurrency(const std::wstring& line)
{
    const auto plainAscii = [](wchar_t c) {
        return c < 0x80 && c != L' ' && (c < L'\t' || c > L'\r');
    };
    for (const wchar_t* code : {L"USD)", L"EUR)", L"EURO)", L"GBP)", L"CNY)"}) {
        const std::wstring_view text(code);
        for (size_t at = line.find(text); at != std::wstring::npos; at = line.find(text, at + 1)) {
            if (at == 0 || plainAscii(line[at - 1])) {
                continue;
            }
            if (line[at - 1] != L' ' || at < 2 || !plainAscii(line[at - 2])) {
                return false;
            }
        }
    }
    return true;
}

}  // namespace

int64_t kroPokerStarsParseStrategy::ParseHeader(const std::wstring& header,
                                                CGameTypeRecord& gameType,
                                                int64_t& et,
                                                int64_t& utc)
{
    // Home Game and old "Game #" headers are read as ordinary ones. Some
    // clients write a no-break space or nothing between a word and an amount,
    // and capped tables put their cap between the stakes and the currency.
    std::wstring line = ReplaceAll(header, L"\u00A0", L" ");
    static const boost::wregex kGluedAmount(LR"((Blind|Ante)([\$€£¥]))");
    static const boost::wregex kCap(LR"( - [\$€£¥]?\d+(?:\.\d+)? Cap - )");
    if (Contains(line, L"Blind") || Contains(line, L"Ante")) {
        line = boost::regex_replace(line, kGluedAmount, L"$1 $2");
    }
    if (Contains(line, L" Cap - ")) {
        line = boost::regex_replace(line, kCap, L" ");
    }
    static const boost::wregex kSpacesBeforeCurrency(LR"(\s+(USD|EUR|EURO|GBP|CNY)\))");
    if (!OneSpaceBeforeEachCurrency(line)) {
        line = boost::regex_replace(line, kSpacesBeforeCurrency, L" $1)");
    }
    // Rupees have no currency code of ours: the stakes are read as in games
    // without a currency.
    if (line.find(L" INR)") != std::wstring::npos) {
        RemoveRupeeSigns(line);
        line = ReplaceAll(line, L" INR)", L")");
    }
    if (line.find(L"PokerStars Home Game Hand #") != std::wstring::npos) {
        line = ReplaceAll(line, L"PokerStars Home Game Hand #", L"PokerStars Hand #");
    } else if (line.find(L"PokerStars Game #") != std::wstring::npos) {
        line = ReplaceAll(line, L"PokerStars Game #", L"PokerStars Hand #");
    }

    static const boost::wregex kH1(
        LR"(.*PokerStars Hand #\d+: (.*) \(.(\d+.?[0-9]{0,2})/.(\d+.?[0-9]{0,2}) (USD|EURO|EUR|GBP)\) - (\d{4})/(\d{2})/(\d{2}) (\d+):(\d+):(\d+) (\w+) \[(\d{4})/(\d{2})/(\d{2}) (\d+):(\d+):(\d+) (\w+)\])");
    static const boost::wregex kH2(
        LR"(.*PokerStars Hand #\d+: (.*) \([\$|€|£|¥](\d+.?[0-9]{0,2})/[\$|€|£|¥](\d+.?[0-9]{0,2}) (USD|EURO|EUR|GBP|CNY)\) - (\d{4})/(\d{2})/(\d{2}) (\d+):(\d+):(\d+) (\w+))");
    static const boost::wregex kH3(
        LR"(.*PokerStars Hand #\d+: (.*) \((\d+.?[0-9]{0,2})/(\d+.?[0-9]{0,2}) (USD|EURO|EUR|GBP)\) - (\d{4})/(\d{2})/(\d{2}) (\d+):(\d+):(\d+) (\w+) \[(\d{4})/(\d{2})/(\d{2}) (\d+):(\d+):(\d+) (\w+)\])");
    static const boost::wregex kH4(
        LR"(PokerStars Hand #\d+: (.*) \([\$|€|£|¥](\d+.?[0-9]{0,2})/[\$|€|£|¥](\d+.?[0-9]{0,2}) (USD|EURO|EUR|GBP|CNY)\) - (\d{4})/(\d{2})/(\d{2}) (\d+):(\d+):(\d+) (\w+) \[(\d{4})/(\d{2})/(\d{2}) (\d+):(\d+):(\d+) (\w+)\])");
    static const boost::wregex kH5(
        LR"(.*PokerStars Zoom Hand #\d+: (.*) \(([\$|€|£|¥])(\d+.?[0-9]{0,2})/[\$|€|?](\d+.?[0-9]{0,2})(?: [A-Z]{3,4})?\) - (\d{4})/(\d{2})/(\d{2}) (\d+):(\d+):(\d+) (\w+) \[(\d{4})/(\d{2})/(\d{2}) (\d+):(\d+):(\d+) (\w+)\])");
    static const boost::wregex kH6(
        LR"(.*PokerStars Zoom Hand #\d+: (.*) \(([\$|€|£|¥])(\d+.?[0-9]{0,2})/[\$|€|?](\d+.?[0-9]{0,2})(?: [A-Z]{3,4})?\) - (\d{4})/(\d{2})/(\d{2}) (\d+):(\d+):(\d+) (\w+))");
    static const boost::wregex kH7(
        LR"(.*PokerStars Hand #\d+:\s+6\+ Hold'em No Limit \(Button Blind .(\d+.?[0-9]{0,2}) - Ante .(\d+.?[0-9]{0,2})\s+(USD|EURO|EUR|GBP)\) - (\d{4})/(\d{2})/(\d{2}) (\d+):(\d+):(\d+) (\w+) \[(\d{4})/(\d{2})/(\d{2}) (\d+):(\d+):(\d+) (\w+)\])");
    static const boost::wregex kH8(
        LR"(.*PokerStars Hand #\d+:\s+6\+ Hold'em No Limit \(Button Blind ([\$|€|£|¥])(\d+.?[0-9]{0,2}) - Ante ([\$|€|£])(\d+.?[0-9]{0,2})\s+(USD|EURO|EUR|GBP)\)\s+- (\d{4})/(\d{2})/(\d{2}) (\d+):(\d+):(\d+) (\w+).*)");
    static const boost::wregex kH10(
        LR"(Poker Hand #\D*\d+: (.*) \(([\$|€|£|¥])(\d+.?[0-9]{0,2})\) - (\d{4})/(\d{2})/(\d{2}) (\d+):(\d+):(\d+))");
    static const boost::wregex kH9(
        LR"(Poker Hand #\D*\d+: (.*) \(([\$|€|£|¥])(\d+.?[0-9]{0,2})/[\$|€|£|¥](\d+.?[0-9]{0,2})\) - (\d{4})/(\d{2})/(\d{2}) (\d+):(\d+):(\d+))");
    // Home games and play money give no currency letters.
    static const boost::wregex kChips(
        LR"(.*PokerStars Hand #\d+: (.*) \((\d+.?[0-9]{0,2})/(\d+.?[0-9]{0,2})\) - (\d{4})/(\d{2})/(\d{2}) (\d+):(\d+):(\d+) (\w+)(?: \[(\d{4})/(\d{2})/(\d{2}) (\d+):(\d+):(\d+) (\w+)\])?.*)");

    gameType.fast = false;
    gameType.idgamekind = -1;
    m_gameText.clear();
    et = 0;
    utc = 0;
    m_headerStatus = HeaderStatus::Ok;
    const int64_t offset = m_env.settings.localOffset;
    std::wstring description;
    boost::wsmatch m;

    const auto invalid = [this]() -> int64_t {
        m_headerStatus = HeaderStatus::InvalidDateTime;
        return 0;
    };

    if (MatchLine(line, kH1, m) || MatchLine(line, kH3, m)) {
        description = m[1].str();
        gameType.smallblind = CentsOf(m[2]);
        gameType.bigblind = CentsOf(m[3]);
        gameType.currency = CurrencyFromLetters(m[4].str());
        const auto room = DateTimeFromGroups(m, 5);
        const auto eastern = DateTimeFromGroups(m, 12);
        if (!room || !eastern) {
            return invalid();
        }
        gameType.idgamekind = GetTypeGameHH(description);
        m_gameText = description;
        return EtTimes(*eastern, offset, et, utc);
    }
    if (MatchLine(line, kH2, m)) {
        description = m[1].str();
        gameType.smallblind = CentsOf(m[2]);
        gameType.bigblind = CentsOf(m[3]);
        gameType.currency = CurrencyFromLetters(m[4].str());
        const auto t = DateTimeFromGroups(m, 5);
        if (!t) {
            return invalid();
        }
        gameType.idgamekind = GetTypeGameHH(description);
        m_gameText = description;
        return EtTimes(*t, offset, et, utc);
    }
    if (SearchLine(line, kH4, m)) {
        description = Trim(m[1].str());
        gameType.smallblind = CentsOf(m[2]);
        gameType.bigblind = CentsOf(m[3]);
        gameType.currency = CurrencyFromLetters(m[4].str());
        const auto eastern = DateTimeFromGroups(m, 12);
        if (!eastern) {
            return invalid();
        }
        gameType.idgamekind = GetTypeGameHH(description);
        m_gameText = description;
        return EtTimes(*eastern, offset, et, utc);
    }
    const bool h5 = MatchLine(line, kH5, m);
    if (h5 || MatchLine(line, kH6, m)) {
        description = m[1].str();
        gameType.currency = SymbolCurrency(m[2].str(), false);
        gameType.smallblind = CentsOf(m[3]);
        gameType.bigblind = CentsOf(m[4]);
        gameType.fast = true;
        const auto t = DateTimeFromGroups(m, h5 ? 12 : 5);
        if (!t || (h5 && !DateTimeFromGroups(m, 5))) {
            return invalid();
        }
        gameType.idgamekind = GetTypeGameHH(description);
        m_gameText = description;
        return EtTimes(*t, offset, et, utc);
    }
    if (SearchLine(line, kH7, m)) {
        gameType.bigblind = CentsOf(m[1]);
        gameType.ante = CentsOf(m[2]);
        gameType.smallblind = 0;
        gameType.currency = CurrencyFromLetters(m[3].str());
        gameType.idgamekind = kGameShortDeckHoldem;
        m_gameText = L"6+ Hold'em No Limit";
        const auto eastern = DateTimeFromGroups(m, 11);
        if (!eastern) {
            return invalid();
        }
        return EtTimes(*eastern, offset, et, utc);
    }
    if (SearchLine(line, kH8, m)) {
        gameType.bigblind = CentsOf(m[2]);
        gameType.ante = CentsOf(m[4]);
        gameType.smallblind = 0;
        gameType.currency = CurrencyFromLetters(m[5].str());
        gameType.idgamekind = kGameShortDeckHoldem;
        m_gameText = L"6+ Hold'em No Limit";
        const auto t = DateTimeFromGroups(m, 6);
        if (!t) {
            return invalid();
        }
        return EtTimes(*t, offset, et, utc);
    }
    // GGPoker's short-deck tables give one amount, the ante, which the button
    // posts again as its blind.
    if (SearchLine(line, kH10, m)) {
        description = Trim(m[1].str());
        gameType.currency = SymbolCurrency(m[2].str(), true);
        gameType.bigblind = CentsOf(m[3]);
        gameType.ante = gameType.bigblind;
        gameType.smallblind = 0;
        const auto t = DateTimeFromGroups(m, 4);
        if (!t) {
            return invalid();
        }
        gameType.idgamekind = GetTypeGameHH(description);
        m_gameText = description;
        et = *t - 14400;
        utc = *t;
        return *t - offset;
    }
    if (SearchLine(line, kH9, m)) {
        description = Trim(m[1].str());
        gameType.currency = SymbolCurrency(m[2].str(), true);
        gameType.smallblind = CentsOf(m[3]);
        gameType.bigblind = CentsOf(m[4]);
        const auto t = DateTimeFromGroups(m, 5);
        if (!t) {
            return invalid();
        }
        gameType.idgamekind = GetTypeGameHH(description);
        m_gameText = description;
        et = *t - 14400;
        utc = *t;
        return *t - offset;
    }
    if (MatchLine(line, kChips, m)) {
        description = m[1].str();
        gameType.smallblind = CentsOf(m[2]);
        gameType.bigblind = CentsOf(m[3]);
        gameType.currency = -1;
        const bool bracket = m[11].matched;
        const auto t = DateTimeFromGroups(m, bracket ? 11 : 4);
        if (!t || (bracket && !DateTimeFromGroups(m, 4))) {
            return invalid();
        }
        gameType.idgamekind = GetTypeGameHH(description);
        m_gameText = description;
        return EtTimes(*t, offset, et, utc);
    }
    m_headerStatus = HeaderStatus::NoMatch;
    gameType.idgamekind = GetTypeGameHH(std::wstring());
    return 0;
}

}  // namespace kroHandParser
