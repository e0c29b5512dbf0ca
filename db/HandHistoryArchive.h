// The hand text in its storage modes: as it is, as UTF-8 in hex, and as a
// one-entry ZIP archive in hex that any unzip tool reads back.
#pragma once

#include <cstdint>
#include <ctime>
#include <string>
#include <vector>

namespace kroDB {

// The lines, each followed by CR LF.
std::wstring JoinHandLines(const std::vector<std::wstring>& lines);

// Each byte as two lower-case hex digits.
std::wstring HexText(const std::string& bytes);

// A ZIP archive holding `content` deflated as the one entry "hh", stamped with
// `when` (local time). Empty when deflating fails.
std::string ZipSingleEntry(const std::string& content, std::time_t when);

// The storage mode of a setting 0..3 ("0U8z"); '0' for any other index.
wchar_t StorageModeFromIndex(int index);

}  // namespace kroDB
