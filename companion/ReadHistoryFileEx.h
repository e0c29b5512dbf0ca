// Reading a hand-history file into lines from a byte position onward.
#pragma once

#include "companion/OstrandExport.h"

#include <cstdint>
#include <string>
#include <vector>

enum ReadHistoryResult : int
{
    kReadOk = 0,
    kReadCannotOpen = 1,
    kReadFailed = 2,
    // The position lies beyond the end: the file shrank or was replaced.
    kReadPositionBeyondEnd = 3,
};

// Appends the lines of the file at `path` that follow byte position `pos` to
// `lines`, as wide text without line terminators, and advances `pos` past what
// was read. The encoding is taken from the byte-order mark at the start of the
// file whatever `pos` is: UTF-8 with or without one, UTF-16 LE or BE with one;
// bytes that are not valid UTF-8 are read as Windows-1252. CR LF, LF and CR all
// end a line; a final line without terminator is delivered too, unless
// `completeLinesOnly` holds it back for a later call (a writer may still be in
// the middle of it). With `maxBytes` not negative, no more than that many bytes
// after `pos` are read (give `completeLinesOnly` with it, so that a line cut
// there is not delivered). Returns kReadOk, or a ReadHistoryResult code with
// `pos` and `lines` unchanged.
VX_COMPANION_EXPORT int ReadHistoryFileEx(const std::string& path,
                                          int64_t& pos,
                                          std::vector<std::wstring>& lines,
                                          bool completeLinesOnly = false,
                                          int64_t maxBytes = -1);
