#include "parser/HandSplitter.h"

#include "foundation/WideText.h"

#include <boost/regex.hpp>

namespace kroHandParser {

bool ContainsAfterFirst(std::wstring_view line, std::wstring_view text)
{
    const size_t at = line.find(text);
    return at != std::wstring_view::npos && at > 0;
}

bool IsTableChatterLine(const std::wstring& line)
{
    static const boost::wregex kChat(LR"((.*) said, (.*))");
    return ContainsAfterFirst(line, L"joins the table at seat") ||
           ContainsAfterFirst(line, L"will be allowed to play after the button") ||
           (line.find(L" said, ") != std::wstring::npos && boost::regex_search(line, kChat));
}

int SplitHands(const std::vector<std::wstring>& lines,
               const CSplitRules& rules,
               const std::function<bool(std::vector<std::wstring>&)>& onHand)
{
    int handled = 0;
    std::vector<std::wstring> current;
    bool open = false;
    for (const auto& raw : lines) {
        std::wstring line = Trim(raw);
        if (rules.isStart(line)) {
            if (open && onHand(current)) {
                ++handled;
            }
            current.clear();
            open = true;
            current.push_back(std::move(line));
            continue;
        }
        if (rules.leaveOut && rules.leaveOut(line, current)) {
            continue;
        }
        if (open) {
            current.push_back(std::move(line));
        }
    }
    // The last line of the file belongs to the last hand: a summary line
    // without a trailing empty line must not be lost.
    if (open && onHand(current)) {
        ++handled;
    }
    return handled;
}

}  // namespace kroHandParser
