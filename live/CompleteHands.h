// Where the complete hands end in lines read from a hand-history file that the
// client is still writing. Pure functions.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

// Whether `line` begins a hand in the layouts live import reads ("PokerStars
// Hand #1:", "PokerStars Zoom Hand #", "PokerStars Home Game Hand #",
// "PokerStars Game #", the club rooms' "UPoker Hand #" ...).
bool IsLiveHandStart(const std::wstring& line);

// How many of `lines` (from the start) belong to complete hands. A hand is
// complete when the next hand begins, or when an empty line follows its
// summary (the "*** SUMMARY ***" line and what comes after it). What follows
// the last complete hand may be a hand the client is still writing, however
// long it pauses: it is left for a later read. Lines before the first hand and
// empty lines after a complete one are taken with it. In lines where no hand
// begins at all (a layout not known here) a hand ends at an empty line after
// text.
size_t CompleteHandLines(const std::vector<std::wstring>& lines);

// Whether `lines` hold any text at all.
bool HasText(const std::vector<std::wstring>& lines);
