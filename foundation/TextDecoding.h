// Decoding of text-file bytes whatever the writing program chose: UTF-8 with or
// without a byte-order mark, UTF-16 LE or BE with one. Pure; thread-safe.
#pragma once

#include <string>
#include <string_view>

enum class TextEncoding
{
    Utf8,
    Utf8Bom,
    Utf16Le,
    Utf16Be,
};

// The encoding that the first bytes announce (UTF-8 when there is no mark).
TextEncoding DetectTextEncoding(std::string_view bytes);

// Size of the byte-order mark of `encoding` (0, 2 or 3).
size_t ByteOrderMarkSize(TextEncoding encoding);

// Decodes `bytes` (without the mark) as `encoding`. Invalid UTF-8 bytes are read
// as Windows-1252; unpaired UTF-16 surrogates become U+FFFD; a trailing odd byte
// of UTF-16 is dropped (the caller keeps it for the next read).
std::wstring DecodeText(std::string_view bytes, TextEncoding encoding);
