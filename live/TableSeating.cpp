#include "live/TableSeating.h"

#include "foundation/WideText.h"
#include "live/CPokerRoom.h"
#include "platform/IWindowFinder.h"

namespace {

constexpr size_t kNameLimit = 99;

std::wstring Limited(const std::wstring& text)
{
    return text.substr(0, kNameLimit);
}

bool IsTableClass(const CPokerRoom& room, const CWindowInfo& window)
{
    for (const auto& wanted : room.tableWindowClasses) {
        if (!wanted.empty() && EqualsNoCase(Limited(window.className), Limited(wanted))) {
            return true;
        }
    }
    return false;
}

}  // namespace

int32_t PreferredSeat(const CPokerRoom& room, int tableSize)
{
    if (tableSize >= 2 && tableSize <= 8) {
        return room.preferredSeats[static_cast<size_t>(tableSize)];
    }
    if (tableSize == 9) {
        return room.preferredSeats[1];
    }
    if (tableSize == 10) {
        return room.preferredSeats[0];
    }
    return 0;
}

std::vector<std::wstring> NamesByPosition(const CAuditFile& line, int32_t preferredSeat)
{
    const int n = line.tableSize;
    std::vector<std::wstring> names(static_cast<size_t>(n));
    const bool turned =
        preferredSeat >= 1 && preferredSeat <= n && line.heroSeat >= 1 && line.heroSeat <= n;
    const int shift = turned ? preferredSeat - line.heroSeat : 0;
    for (int j = 0; j < n; ++j) {
        int p = shift + j;
        if (p < 0) {
            p += n;
        } else if (p >= n) {
            p -= n;
        }
        names[static_cast<size_t>(p)] = line.names[static_cast<size_t>(j + 1)];
    }
    return names;
}

uint64_t FindTableWindow(IWindowFinder& windows,
                         const CPokerRoom& room,
                         const std::wstring& tableName)
{
    if (room.clientProcessId == 0) {
        return 0;
    }
    const std::wstring prefix = tableName + L" - ";
    for (const auto& window : windows.TopLevelWindows()) {
        if (window.pid != room.clientProcessId || !IsTableClass(room, window)) {
            continue;
        }
        if (Limited(window.title).rfind(prefix, 0) == 0) {
            return window.id;
        }
    }
    return 0;
}
