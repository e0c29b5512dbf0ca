// Conversions between wide text (UTF-32 on Linux) and UTF-8, and the small text
// helpers every layer shares. Pure functions; thread-safe.
#pragma once

#include <string>
#include <string_view>

// UTF-8 bytes of `text`. Code points that cannot be encoded (lone surrogates,
// values above U+10FFFF) become U+FFFD.
std::string ToUtf8(std::wstring_view text);
// Appends the UTF-8 bytes of one code point (U+FFFD for one that cannot be
// encoded).
void AppendUtf8(std::string& out, char32_t cp);

// Decodes UTF-8; every byte that does not start a valid sequence is read as a
// Windows-1252 character, so no byte is ever dropped.
std::wstring FromUtf8(std::string_view bytes);

// Windows-1252 byte to its Unicode code point.
wchar_t FromWindows1252(unsigned char byte);

// Removes blanks, tabs, CR and LF (and no-break spaces) from both ends.
std::wstring Trim(std::wstring_view text);
std::wstring TrimLeft(std::wstring_view text);
std::wstring TrimRight(std::wstring_view text);

// ASCII-only case folding, enough for section names, keys and room words.
std::wstring ToLowerAscii(std::wstring_view text);
bool EqualsNoCase(std::wstring_view a, std::wstring_view b);

// Replaces every occurrence of `from` by `to`; an empty `from` changes nothing.
std::wstring ReplaceAll(std::wstring_view text, std::wstring_view from, std::wstring_view to);

// printf-style formatting into wide text (vswprintf; grows as needed). On Linux a
// wide "%s" reads a narrow string: wide arguments need "%ls".
std::wstring FormatW(const wchar_t* format, ...);
