// Where the complete hands end in lines read from a hand-history file that the
// client is still writing. Pure functions.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

// How many of `lines` (from the start) belong to complete hands: everything up
// to and including the last empty line that follows a line with text. A
// client ends every hand with empty lines and writes none inside one, so what
// follows the last of them may be a hand still being written.
size_t CompleteHandLines(const std::vector<std::wstring>& lines);

// Whether `lines` hold any text at all.
bool HasText(const std::vector<std::wstring>& lines);
