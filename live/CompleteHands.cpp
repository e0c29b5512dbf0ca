#include "live/CompleteHands.h"

#include "foundation/WideText.h"

#include <boost/regex.hpp>

bool IsLiveHandStart(const std::wstring& line)
{
    if (line.empty() || line.size() < 8) {
        return false;
    }
    static const boost::wregex kStart(LR"(^[A-Za-z][A-Za-z0-9' ]{0,40} (?:Hand|Game) #\d+)");
    return boost::regex_search(line, kStart, boost::match_continuous);
}

namespace {

// The old rule, for layouts without a known start line: up to the last empty
// line that follows text.
size_t CompleteAtEmptyLines(const std::vector<std::wstring>& lines)
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
    return complete;
}

}  // namespace

size_t CompleteHandLines(const std::vector<std::wstring>& lines)
{
    size_t complete = 0;
    bool anyStart = false;
    bool inHand = false;
    bool summary = false;
    for (size_t i = 0; i < lines.size(); ++i) {
        const std::wstring line = Trim(lines[i]);
        if (IsLiveHandStart(line)) {
            // Whatever came before belongs to ended hands.
            complete = i;
            anyStart = true;
            inHand = true;
            summary = false;
            continue;
        }
        if (!inHand) {
            if (anyStart) {
                complete = i + 1;
            }
            continue;
        }
        if (line.rfind(L"*** SUMMARY ***", 0) == 0) {
            summary = true;
        } else if (line.empty() && summary) {
            complete = i + 1;
            inHand = false;
        }
    }
    if (!anyStart) {
        complete = CompleteAtEmptyLines(lines);
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
