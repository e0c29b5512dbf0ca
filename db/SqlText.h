// Building SQL text: every text value goes through SqlEscape, every identifier
// through SqlIdentifier. The program connects with standard_conforming_strings
// on, so a backslash is an ordinary character inside quotes.
#pragma once

#include <string>
#include <string_view>

namespace kroDB {

// `text` with each single quote doubled and NUL characters removed, for use
// between single quotes.
std::wstring SqlEscape(std::wstring_view text);

// `name` as a double-quoted identifier, with each double quote doubled.
std::wstring SqlIdentifier(std::wstring_view name);

// TRUE or FALSE.
inline const wchar_t* SqlBool(bool value)
{
    return value ? L"TRUE" : L"FALSE";
}

// True for a plain column name of letters, digits and "_" that does not start
// with a digit; other names from data files are never put into SQL.
bool IsPlainColumnName(std::wstring_view name);

// True for a column type of words of letters and digits with an optional size
// ("integer", "character varying(255)"); anything else is never put into SQL.
bool IsPlainTypeName(std::wstring_view type);

}  // namespace kroDB
