// The archive move: old hand-history files go from the clients' folders into
// the room's work directory, in folders named by their last-write date.
#pragma once

#include <string>
#include <vector>

class CPokerRoom;
class ILogSink;
class IProcessList;

// Moves each of `paths`, in order, to the work directory of `room` followed by
// "/yyyy/mm/dd" of its local last-write date, overwriting a file of the same
// name there and keeping the last-write time. A file that some process holds
// open for writing (the client still writes it) is left where it is, and so
// is one whose date, folder or copy fails; only a move is logged (log file and
// output pane). Returns 1.
int ArchiveFiles(const std::vector<std::wstring>& paths,
                 const CPokerRoom& room,
                 IProcessList& processes,
                 ILogSink& log);
