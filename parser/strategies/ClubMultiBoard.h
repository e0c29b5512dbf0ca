// The club rooms' own lines: game codes that name the Omaha variant, and one
// summary board line per run of the board.
#pragma once

#include <string>
#include <vector>

namespace kroHandParser {

// A club game-code line ("# {"gt":"PLO5",...}") applied to the hand's header.
void ApplyClubGameCode(const std::wstring& codeLine, std::vector<std::wstring>& hand);

// The hand with two or three summary "Board" lines rewritten into the
// run-it-twice layout; the hand itself when it has fewer.
std::vector<std::wstring> RewriteClubMultiBoard(const std::vector<std::wstring>& hand);

}  // namespace kroHandParser
