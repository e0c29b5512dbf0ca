// What a hand-history file held when it was marked finished, so that a file
// that changed since (the client appended to the same day's table file, or
// another file of that name came) is read again, and one that did not is
// skipped quickly.
#pragma once

#include <cstdint>
#include <string>

namespace kroHandParser {

struct CFileFingerprint
{
    // Bytes covered; -1 when the file could not be read.
    int64_t size = -1;
    // CRC-32 of those bytes.
    uint32_t crc = 0;
};

// The fingerprint of the first `size` bytes of the file at `path`; of all of it
// when `size` is negative. Invalid (size -1) when the file cannot be read or
// is shorter than `size`.
CFileFingerprint FileFingerprint(const std::string& path, int64_t size = -1);

// True when the file at `path` holds exactly `size` bytes whose CRC-32 is
// `crc`. False for a negative `size` (nothing recorded).
bool FileUnchanged(const std::string& path, int64_t size, uint32_t crc);

}  // namespace kroHandParser
