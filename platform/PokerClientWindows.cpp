#include "platform/PokerClientWindows.h"

#include "foundation/WideText.h"

namespace {

bool IsDigit(wchar_t c)
{
    return c >= L'0' && c <= L'9';
}

}  // namespace

bool IsPokerStarsClientWindow(const CWindowInfo& window)
{
    if (!EqualsNoCase(window.instanceName, kPokerStarsWindowInstance)) {
        return false;
    }
    for (const wchar_t* className : kPokerStarsTableWindowClasses) {
        if (EqualsNoCase(window.className, className)) {
            return true;
        }
    }
    return false;
}

bool IsTableTitle(const std::wstring& title)
{
    const size_t dash = title.find(L" - ");
    if (dash == std::wstring::npos || dash == 0) {
        return false;
    }
    // A stake: a digit, "/", then at most one currency sign and a digit.
    const std::wstring rest = title.substr(dash + 3);
    for (size_t i = 1; i + 1 < rest.size(); ++i) {
        if (rest[i] != L'/' || !IsDigit(rest[i - 1])) {
            continue;
        }
        if (IsDigit(rest[i + 1]) || (i + 2 < rest.size() && IsDigit(rest[i + 2]))) {
            return true;
        }
    }
    return false;
}

bool IsPokerStarsTableWindow(const CWindowInfo& window)
{
    return IsPokerStarsClientWindow(window) && IsTableTitle(window.title);
}

std::wstring TableNameOfTitle(const std::wstring& title)
{
    const size_t dash = title.find(L" - ");
    return dash == std::wstring::npos ? std::wstring() : title.substr(0, dash);
}
