// Cutting a file's lines into hands: every line trimmed, a start line opens a
// new hand and hands the collected one over, some lines are left out.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace kroHandParser {

struct CSplitRules
{
    // A line that begins a hand.
    std::function<bool(const std::wstring&)> isStart;
    // A line that belongs to no hand; `current` is the hand being collected
    // (it may be changed, as club game-code lines do).
    std::function<bool(const std::wstring& line, std::vector<std::wstring>& current)> leaveOut;
};

// Calls `onHand` with the lines of each hand in file order, the last hand
// included with every line of the file. Lines before the first start line
// belong to no hand. Returns how many calls returned true.
int SplitHands(const std::vector<std::wstring>& lines,
               const CSplitRules& rules,
               const std::function<bool(std::vector<std::wstring>&)>& onHand);

// Lines the PokerStars-layout rooms write between the lines of a hand: seat
// changes and chat.
bool IsTableChatterLine(const std::wstring& line);

// True when `text` occurs in `line` after its first character.
bool ContainsAfterFirst(std::wstring_view line, std::wstring_view text);

}  // namespace kroHandParser
