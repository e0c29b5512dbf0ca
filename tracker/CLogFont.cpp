#include "tracker/CLogFont.h"

#include <cwctype>
#include <vector>

namespace {

std::wstring Hex(uint32_t value)
{
    static const wchar_t kDigits[] = L"0123456789abcdef";
    std::wstring text;
    do {
        text.insert(text.begin(), kDigits[value & 0xF]);
        value >>= 4;
    } while (value != 0);
    return text;
}

// One "%x" conversion: leading blanks, an optional sign and "0x", then at
// least one hexadecimal digit. The value wraps to 32 bits as the C library's
// conversion into a 32-bit field does.
std::optional<uint32_t> ScanHex(const std::wstring& field)
{
    size_t i = 0;
    while (i < field.size() && std::iswspace(field[i])) {
        ++i;
    }
    bool negative = false;
    if (i < field.size() && (field[i] == L'-' || field[i] == L'+')) {
        negative = field[i] == L'-';
        ++i;
    }
    if (i + 1 < field.size() && field[i] == L'0' &&
        (field[i + 1] == L'x' || field[i + 1] == L'X')) {
        i += 2;
    }
    uint64_t value = 0;
    size_t digits = 0;
    for (; i < field.size(); ++i, ++digits) {
        const wchar_t c = field[i];
        int d = 0;
        if (c >= L'0' && c <= L'9') {
            d = c - L'0';
        } else if (c >= L'a' && c <= L'f') {
            d = c - L'a' + 10;
        } else if (c >= L'A' && c <= L'F') {
            d = c - L'A' + 10;
        } else {
            break;
        }
        value = ((value << 4) | static_cast<uint64_t>(d)) & 0xFFFFFFFFull;
    }
    if (digits == 0) {
        return std::nullopt;
    }
    auto result = static_cast<uint32_t>(value);
    return negative ? static_cast<uint32_t>(0u - result) : result;
}

}  // namespace

std::wstring CLogFont::ToRecord() const
{
    std::wstring text;
    for (const int32_t v : {height, width, escapement, orientation, weight}) {
        text += Hex(static_cast<uint32_t>(v)) + L",";
    }
    for (const uint8_t v : {italic, underline, strikeOut, charSet, outPrecision, clipPrecision,
                            quality, pitchAndFamily}) {
        text += Hex(v) + L",";
    }
    return text + faceName;
}

std::optional<CLogFont> CLogFont::FromRecord(const std::wstring& text)
{
    std::vector<uint32_t> numbers;
    size_t pos = 0;
    for (int i = 0; i < 13; ++i) {
        const size_t comma = text.find(L',', pos);
        if (comma == std::wstring::npos) {
            return std::nullopt;
        }
        const auto value = ScanHex(text.substr(pos, comma - pos));
        if (!value) {
            return std::nullopt;
        }
        numbers.push_back(*value);
        pos = comma + 1;
    }
    while (pos < text.size() && std::iswspace(text[pos])) {
        ++pos;
    }
    if (pos >= text.size()) {
        return std::nullopt;
    }
    CLogFont font;
    font.height = static_cast<int32_t>(numbers[0]);
    font.width = static_cast<int32_t>(numbers[1]);
    font.escapement = static_cast<int32_t>(numbers[2]);
    font.orientation = static_cast<int32_t>(numbers[3]);
    font.weight = static_cast<int32_t>(numbers[4]);
    uint8_t* bytes[] = {&font.italic,  &font.underline,     &font.strikeOut,
                        &font.charSet, &font.outPrecision,  &font.clipPrecision,
                        &font.quality, &font.pitchAndFamily};
    for (size_t i = 0; i < 8; ++i) {
        *bytes[i] = static_cast<uint8_t>(numbers[5 + i] & 0xFF);
    }
    font.faceName = text.substr(pos);
    return font;
}

CLogFont CLogFont::FromRecordOrDefault(const std::wstring& text)
{
    if (auto font = FromRecord(text)) {
        return *font;
    }
    return CLogFont{};
}
