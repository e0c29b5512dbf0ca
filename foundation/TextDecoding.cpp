#include "foundation/TextDecoding.h"

#include "foundation/WideText.h"

TextEncoding DetectTextEncoding(std::string_view bytes)
{
    const auto b = [&](size_t i) { return static_cast<unsigned char>(bytes[i]); };
    if (bytes.size() >= 3 && b(0) == 0xEF && b(1) == 0xBB && b(2) == 0xBF) {
        return TextEncoding::Utf8Bom;
    }
    if (bytes.size() >= 2 && b(0) == 0xFF && b(1) == 0xFE) {
        return TextEncoding::Utf16Le;
    }
    if (bytes.size() >= 2 && b(0) == 0xFE && b(1) == 0xFF) {
        return TextEncoding::Utf16Be;
    }
    return TextEncoding::Utf8;
}

size_t ByteOrderMarkSize(TextEncoding encoding)
{
    switch (encoding) {
    case TextEncoding::Utf8Bom:
        return 3;
    case TextEncoding::Utf16Le:
    case TextEncoding::Utf16Be:
        return 2;
    case TextEncoding::Utf8:
        break;
    }
    return 0;
}

std::wstring DecodeText(std::string_view bytes, TextEncoding encoding)
{
    if (encoding == TextEncoding::Utf8 || encoding == TextEncoding::Utf8Bom) {
        return FromUtf8(bytes);
    }
    const bool le = encoding == TextEncoding::Utf16Le;
    std::wstring out;
    out.reserve(bytes.size() / 2);
    const size_t n = bytes.size() / 2;
    const auto unit = [&](size_t i) {
        const auto lo = static_cast<unsigned char>(bytes[2 * i + (le ? 0 : 1)]);
        const auto hi = static_cast<unsigned char>(bytes[2 * i + (le ? 1 : 0)]);
        return static_cast<char32_t>(lo | (hi << 8));
    };
    for (size_t i = 0; i < n; ++i) {
        const char32_t u = unit(i);
        if (u >= 0xD800 && u <= 0xDBFF && i + 1 < n) {
            const char32_t v = unit(i + 1);
            if (v >= 0xDC00 && v <= 0xDFFF) {
                out.push_back(static_cast<wchar_t>(0x10000 + ((u - 0xD800) << 10) + (v - 0xDC00)));
                ++i;
                continue;
            }
        }
        if (u >= 0xD800 && u <= 0xDFFF) {
            out.push_back(static_cast<wchar_t>(0xFFFD));
        } else {
            out.push_back(static_cast<wchar_t>(u));
        }
    }
    return out;
}
