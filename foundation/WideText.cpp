#include "foundation/WideText.h"

#include <cstdarg>
#include <cwchar>
#include <vector>

namespace {

// Code points 0x80..0x9F of Windows-1252; 0 marks the five undefined bytes,
// which keep their Latin-1 value so that they still round-trip.
constexpr char16_t kCp1252High[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178,
};

wchar_t LowerAscii(wchar_t c)
{
    return c >= L'A' && c <= L'Z' ? static_cast<wchar_t>(c - L'A' + L'a') : c;
}

bool IsBlank(wchar_t c)
{
    return c == L' ' || c == L'\t' || c == L'\r' || c == L'\n' || c == 0xA0 || c == 0xFEFF;
}

// Length of the valid UTF-8 sequence at `p`, or 0 when it is not valid
// (overlong forms and surrogates included).
size_t ValidSequenceLength(const unsigned char* p, size_t left, char32_t& cp)
{
    const unsigned char b0 = p[0];
    size_t len = 0;
    char32_t min = 0;
    if (b0 >= 0xC2 && b0 <= 0xDF) {
        len = 2;
        cp = b0 & 0x1F;
        min = 0x80;
    } else if (b0 >= 0xE0 && b0 <= 0xEF) {
        len = 3;
        cp = b0 & 0x0F;
        min = 0x800;
    } else if (b0 >= 0xF0 && b0 <= 0xF4) {
        len = 4;
        cp = b0 & 0x07;
        min = 0x10000;
    } else {
        return 0;
    }
    if (left < len) {
        return 0;
    }
    for (size_t i = 1; i < len; ++i) {
        if ((p[i] & 0xC0) != 0x80) {
            return 0;
        }
        cp = (cp << 6) | (p[i] & 0x3F);
    }
    if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
        return 0;
    }
    return len;
}

}  // namespace

void AppendUtf8(std::string& out, char32_t cp)
{
    if (cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
        cp = 0xFFFD;
    }
    if (cp < 0x80) {
        out.push_back(static_cast<char>(cp));
    } else if (cp < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else if (cp < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    }
}

std::string ToUtf8(std::wstring_view text)
{
    std::string out;
    out.reserve(text.size());
    for (wchar_t c : text) {
        AppendUtf8(out, static_cast<char32_t>(c));
    }
    return out;
}

wchar_t FromWindows1252(unsigned char byte)
{
    if (byte >= 0x80 && byte < 0xA0 && kCp1252High[byte - 0x80] != 0) {
        return static_cast<wchar_t>(kCp1252High[byte - 0x80]);
    }
    return static_cast<wchar_t>(byte);
}

std::wstring FromUtf8(std::string_view bytes)
{
    // Never more characters than bytes: written in place, cut to size at the end.
    std::wstring out(bytes.size(), L'\0');
    wchar_t* o = out.data();
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
    const size_t n = bytes.size();
    size_t i = 0;
    while (i < n) {
        if (p[i] < 0x80) {
            *o++ = static_cast<wchar_t>(p[i]);
            ++i;
            continue;
        }
        char32_t cp = 0;
        const size_t len = ValidSequenceLength(p + i, n - i, cp);
        if (len == 0) {
            *o++ = FromWindows1252(p[i]);
            ++i;
        } else {
            *o++ = static_cast<wchar_t>(cp);
            i += len;
        }
    }
    out.resize(static_cast<size_t>(o - out.data()));
    return out;
}

std::wstring TrimLeft(std::wstring_view text)
{
    size_t b = 0;
    while (b < text.size() && IsBlank(text[b])) {
        ++b;
    }
    return std::wstring(text.substr(b));
}

std::wstring TrimRight(std::wstring_view text)
{
    size_t e = text.size();
    while (e > 0 && IsBlank(text[e - 1])) {
        --e;
    }
    return std::wstring(text.substr(0, e));
}

std::wstring Trim(std::wstring_view text)
{
    size_t b = 0;
    size_t e = text.size();
    while (b < e && IsBlank(text[b])) {
        ++b;
    }
    while (e > b && IsBlank(text[e - 1])) {
        --e;
    }
    return std::wstring(text.substr(b, e - b));
}

std::wstring ToLowerAscii(std::wstring_view text)
{
    std::wstring out(text);
    for (auto& c : out) {
        c = LowerAscii(c);
    }
    return out;
}

bool EqualsNoCase(std::wstring_view a, std::wstring_view b)
{
    if (a.size() != b.size()) {
        return false;
    }
    for (size_t i = 0; i < a.size(); ++i) {
        if (a[i] != b[i] && LowerAscii(a[i]) != LowerAscii(b[i])) {
            return false;
        }
    }
    return true;
}

std::wstring ReplaceAll(std::wstring_view text, std::wstring_view from, std::wstring_view to)
{
    if (from.empty()) {
        return std::wstring(text);
    }
    std::wstring out;
    out.reserve(text.size());
    size_t pos = 0;
    while (true) {
        const size_t hit = text.find(from, pos);
        if (hit == std::wstring_view::npos) {
            out.append(text.substr(pos));
            break;
        }
        out.append(text.substr(pos, hit - pos));
        out.append(to);
        pos = hit + from.size();
    }
    return out;
}

std::wstring FormatW(const wchar_t* format, ...)
{
    std::vector<wchar_t> buffer(256);
    while (true) {
        va_list args;
        va_start(args, format);
        const int n = std::vswprintf(buffer.data(), buffer.size(), format, args);
        va_end(args);
        if (n >= 0 && static_cast<size_t>(n) < buffer.size()) {
            return std::wstring(buffer.data(), static_cast<size_t>(n));
        }
        if (buffer.size() > (1u << 26)) {
            return std::wstring();
        }
        buffer.resize(buffer.size() * 4);
    }
}
