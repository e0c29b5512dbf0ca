// Reads a hand-history database file (".dat"): an SQLite file with one row per
// hand, the game held as XML inside an XML document. Nothing is stored; a file
// that cannot be read is reported through the notifier. Safe to run on several
// threads at once with separate arguments.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

class ILogSink;
class IUserNotifier;

// One row as it was read.
struct CHandHistoryDatabaseRow
{
    int64_t handId = 0;
    // HandDate read as local time.
    int64_t handTime = 0;
    // handTime - 18000, and handTime less the local offset from UTC, each as local
    // "day.month.year  hour:minute:second".
    std::wstring shiftedDateText;
    std::wstring offsetDateText;
    std::wstring tableName;
    std::wstring gameType;
    std::wstring tableType;
    // The game text split at every line feed; empty when the row has none.
    std::vector<std::wstring> lines;
};

struct CHandHistoryDatabaseOptions
{
    // Receives a line for every row left out and why. Borrowed for the call;
    // may be null.
    ILogSink* log = nullptr;
    // Called for every row read, in file order.
    std::function<void(const CHandHistoryDatabaseRow&)> onRow;
};

// Reads every row of the HandHistory table of the file at `path` and returns how
// many were read. A row whose HandDate is not a valid date, or whose XMLDump is
// not well formed, is left out and not counted. 0 with a message when the file
// cannot be opened or queried; when reading stops early on an error, the message
// is shown and the rows read before it are counted.
int ImportHandHistoryDatabase(const std::wstring& path,
                              IUserNotifier& notifier,
                              const CHandHistoryDatabaseOptions& options = {});
