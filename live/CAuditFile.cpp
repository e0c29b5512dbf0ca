#include "live/CAuditFile.h"

#include "companion/ReadHistoryFileEx.h"
#include "foundation/ILogSink.h"
#include "foundation/WideText.h"

#include <boost/regex.hpp>

#include <climits>
#include <vector>

namespace {

// A line longer than this is no audit line; the patterns are not tried on it.
constexpr size_t kLongestLine = 64 * 1024;

int HexDigit(wchar_t c)
{
    if (c >= L'0' && c <= L'9') {
        return c - L'0';
    }
    if (c >= L'A' && c <= L'F') {
        return c - L'A' + 10;
    }
    return 0;
}

// The byte of the escape at `at`; requires three characters from `at`.
int EscapeByte(const std::wstring& line, size_t at)
{
    return HexDigit(line[at + 1]) * 16 + HexDigit(line[at + 2]);
}

// How many continuation bytes a lead byte takes; -1 when it starts nothing.
int ContinuationCount(int lead)
{
    if (lead >= 192 && lead <= 223) {
        return 1;
    }
    if (lead >= 224 && lead <= 239) {
        return 2;
    }
    if (lead >= 240 && lead <= 247) {
        return 3;
    }
    return -1;
}

bool IsAsciiDigit(wchar_t c)
{
    return c >= L'0' && c <= L'9';
}

// The leading ASCII digits of `text` as a number, at most `cap`.
int64_t LeadingNumber(const std::wstring& text, size_t& at, int64_t cap)
{
    int64_t value = 0;
    while (at < text.size() && IsAsciiDigit(text[at])) {
        value = std::min(cap, value * 10 + (text[at] - L'0'));
        ++at;
    }
    return value;
}

int32_t WholeNumber(const std::wstring& text)
{
    size_t at = 0;
    return static_cast<int32_t>(LeadingNumber(text, at, INT32_MAX));
}

// An amount of the form digits, one separator, up to two digits (what the
// patterns let through) in hundredths: exactly the value x 100 + 0.4, rounded
// down, without the detour through binary fractions.
int32_t Hundredths(const std::wstring& text)
{
    size_t at = 0;
    int64_t value = LeadingNumber(text, at, INT32_MAX) * 100;
    if (at < text.size() && !IsAsciiDigit(text[at])) {
        ++at;
        int64_t scale = 10;
        for (int i = 0; i < 2 && at < text.size() && IsAsciiDigit(text[at]); ++i, ++at) {
            value += (text[at] - L'0') * scale;
            scale /= 10;
        }
    }
    return static_cast<int32_t>(std::min<int64_t>(value, INT32_MAX));
}

int32_t CurrencyCode(const std::wstring& text)
{
    if (text == L"EUR" || text == L"EURO") {
        return 1;
    }
    if (text == L"GBP") {
        return 2;
    }
    return 0;
}

int32_t GameKindOf(const std::wstring& game, bool hiLo)
{
    int32_t kind = -1;
    if (game == L"OMAHA") {
        kind = 0;
    } else if (game == L"5_OMAHA") {
        kind = 2;
    } else if (game.rfind(L"COUR", 0) == 0) {
        kind = 4;
    }
    return kind >= 0 && hiLo ? kind + 1 : kind;
}

bool Match(const std::wstring& text, boost::wsmatch& m, const boost::wregex& pattern)
{
    try {
        return boost::regex_match(text, m, pattern);
    } catch (const std::runtime_error&) {
        // Too complex to match: a line of this form is no audit line.
        return false;
    }
}

void NotParsed(ILogSink& log, const std::wstring& text, const wchar_t* more = L"")
{
    log.Log(FormatW(L"Audit file content %ls was not parsed!%ls", text.c_str(), more));
}

}  // namespace

std::wstring DecodeAuditText(const std::wstring& line)
{
    std::wstring out;
    out.reserve(line.size());
    size_t i = 0;
    while (i < line.size()) {
        if (line[i] != L'%') {
            out.push_back(line[i++]);
            continue;
        }
        if (i + 3 > line.size()) {
            break;
        }
        const int lead = EscapeByte(line, i);
        if (lead <= 127) {
            out.push_back(static_cast<wchar_t>(lead));
            i += 3;
            continue;
        }
        const int more = ContinuationCount(lead);
        if (more < 0) {
            out.push_back(L'\uFFFD');
            i += 3;
            continue;
        }
        if (i + 3 * static_cast<size_t>(more + 1) > line.size()) {
            break;
        }
        uint32_t code = static_cast<uint32_t>(lead) & (0x7Fu >> (more + 1));
        size_t next = i + 3;
        int taken = 0;
        for (; taken < more; ++taken, next += 3) {
            if (line[next] != L'%') {
                break;
            }
            const int byte = EscapeByte(line, next);
            if (byte < 128 || byte > 191) {
                break;
            }
            code = (code << 6) | static_cast<uint32_t>(byte & 0x3F);
        }
        static constexpr uint32_t kSmallest[] = {0, 0x80, 0x800, 0x10000};
        const bool whole = taken == more;
        const bool valid = whole && code >= kSmallest[more] && code <= 0x10FFFF &&
                           (code < 0xD800 || code > 0xDFFF);
        out.push_back(valid ? static_cast<wchar_t>(code) : L'\uFFFD');
        // Whatever broke a sequence off is read again on its own.
        i = next;
    }
    return out;
}

bool ParseAuditText(const std::wstring& line, CAuditFile& record, ILogSink& log)
{
    // Where the client's line has ", " before a field the pattern also takes
    // more blanks, so that lines written with one or with two match alike.
    static const boost::wregex kHeader(
        LR"(tablenumber=(.*),\s+hand=(\d+),\s+format=(.*),\s+game=(.*),\s+currency=(.*),\s+smallblind=(\d+.?[0-9]{0,2}),\s+bigblind=(\d+.?[0-9]{0,2}),\s+button=(\d+),\s+ante=(\d+.?[0-9]{0,2}),\s+zoom=(False|True),\s+hi-lo=(False|True),\s+user=(.*),\s+userstack=(.*),\s+maxseats=(\d+), (.*))");
    static const boost::wregex kSeat(LR"(seat(\d+)=(.*?),\s+seat(\d+)stack=(\d+.?[0-9]{0,2})(.*))");

    const std::wstring text = line.size() > kLongestLine ? std::wstring() : DecodeAuditText(line);
    boost::wsmatch m;
    if (text.empty() || !Match(text, m, kHeader)) {
        NotParsed(log, line);
        return false;
    }
    record.tableName = m.str(1);
    record.handNumber = m.str(2);
    record.format = m.str(3);
    record.game = m.str(4);
    record.hiLo = m.str(11) == L"True" ? 1 : 0;
    record.gameKind = GameKindOf(record.game, record.hiLo != 0);
    const std::wstring currency = m.str(5);
    record.currency = CurrencyCode(currency);
    record.playMoney = currency.empty() ? 1 : 0;
    record.ante = Hundredths(m.str(9));
    if (record.playMoney != 0) {
        record.smallBlind = WholeNumber(m.str(6));
        record.bigBlind = WholeNumber(m.str(7));
    } else {
        record.smallBlind = Hundredths(m.str(6));
        record.bigBlind = Hundredths(m.str(7));
    }
    record.button = WholeNumber(m.str(8));
    record.zoom = m.str(10) == L"True" ? 1 : 0;
    record.names[0] = m.str(12);
    record.tableSize = WholeNumber(m.str(14));

    std::wstring rest = Trim(m.str(15));
    while (!rest.empty()) {
        boost::wsmatch s;
        if (!Match(rest, s, kSeat)) {
            NotParsed(log, rest);
            return false;
        }
        const int32_t seat = WholeNumber(s.str(1));
        const bool onTable = seat >= 1 && seat <= 10;
        if (onTable) {
            record.names[static_cast<size_t>(seat)] = s.str(2);
        }
        if (seat != WholeNumber(s.str(3)) || s.str(1).size() > 9 || s.str(3).size() > 9) {
            NotParsed(log, rest, L" Seat is wrong.");
            return false;
        }
        if (onTable) {
            std::wstring& name = record.names[static_cast<size_t>(seat)];
            if (Hundredths(s.str(4)) < 1) {
                name.clear();
            } else {
                ++record.seatedPlayers;
                if (name == record.names[0]) {
                    record.heroSeat = seat;
                }
            }
        }
        rest = Trim(s.str(5));
        if (!rest.empty() && rest[0] == L',') {
            rest = Trim(rest.substr(1));
        }
    }
    return true;
}

bool ParseAuditLine(const std::wstring& path,
                    int64_t& readPosition,
                    CAuditFile& record,
                    ILogSink& log)
{
    if (log.DebugEnabled()) {
        const std::wstring text = FormatW(L"File audit = %ls", path.c_str());
        log.Log(text);
        log.Output(text);
    }
    const std::string file = ToUtf8(path);
    std::vector<std::wstring> lines;
    int result = ReadHistoryFileEx(file, readPosition, lines, true);
    if (result == kReadPositionBeyondEnd) {
        // The file was cut or replaced: its lines are all new.
        readPosition = 0;
        result = ReadHistoryFileEx(file, readPosition, lines, true);
    }
    if (result != kReadOk) {
        return false;
    }
    for (const auto& line : lines) {
        const std::wstring trimmed = Trim(line);
        if (!trimmed.empty()) {
            return ParseAuditText(trimmed, record, log);
        }
    }
    return false;
}
