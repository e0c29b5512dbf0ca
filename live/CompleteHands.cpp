#include "live/CompleteHands.h"

#include "foundation/WideText.h"

size_t CompleteHandLines(const std::vector<std::wstring>& lines)
{
    size_t complete = 0;
    bool text = false;
    for (size_t i = 0; i < lines.size(); ++i) {
        if (Trim(lines[i]).empty()) {
            if (text) {
                complete = i + 1;
            }
        } else {
            text = true;
        }
    }
    // Empty lines after the last complete hand belong to it.
    while (complete < lines.size() && Trim(lines[complete]).empty()) {
        ++complete;
    }
    return complete;
}

bool HasText(const std::vector<std::wstring>& lines)
{
    for (const auto& line : lines) {
        if (!Trim(line).empty()) {
            return true;
        }
    }
    return false;
}
