// Cheap literal tests on a hand-history line. A line is tried against a
// regular expression only when it holds a literal that the expression cannot
// match without, which leaves most patterns untried for most lines.
#pragma once

#include <cstddef>
#include <string_view>

namespace kroHandParser {

inline bool StartsWith(std::wstring_view line, std::wstring_view prefix)
{
    return line.size() >= prefix.size() && line.compare(0, prefix.size(), prefix) == 0;
}

inline bool EndsWith(std::wstring_view line, std::wstring_view tail)
{
    return line.size() >= tail.size() &&
           line.compare(line.size() - tail.size(), tail.size(), tail) == 0;
}

inline bool Contains(std::wstring_view line, std::wstring_view text)
{
    return line.find(text) != std::wstring_view::npos;
}

// The same with a literal, whose length is known without counting it.
template <size_t N>
bool StartsWith(std::wstring_view line, const wchar_t (&prefix)[N])
{
    return StartsWith(line, std::wstring_view(prefix, N - 1));
}

template <size_t N>
bool EndsWith(std::wstring_view line, const wchar_t (&tail)[N])
{
    return EndsWith(line, std::wstring_view(tail, N - 1));
}

template <size_t N>
bool Contains(std::wstring_view line, const wchar_t (&text)[N])
{
    return Contains(line, std::wstring_view(text, N - 1));
}

}  // namespace kroHandParser
