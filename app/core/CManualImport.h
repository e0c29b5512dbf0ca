// The manual import of hand-history files and folders, for the desktop
// program and veltrix-cli alike: the files collected from the chosen paths,
// each imported with its lines in the output pane and the log, a wait while
// the database cannot be reached, and the totals with an honest outcome.
//
// Threads: Run may be called on any thread (the desktop program runs it on a
// std::jthread). It uses only what the constructor was given; the log sink's
// output and log lines and the progress callback come from Run's thread; with
// several workers the notifier (one call at a time) and trace lines may also
// come from a worker's thread. One Run at a time per object; other
// imports and live tracking may store into the same database meanwhile, also
// through the same CDbContext (each hand is one transaction that holds the
// shared connection, and a hand is never stored twice). Run makes the options'
// database the context's current one.
#pragma once

#include "parser/CParseSettings.h"
#include "parser/CParserEnvironment.h"

#include <cstdint>
#include <functional>
#include <stop_token>
#include <string>
#include <vector>

class CStatDefinitions;
class ILogSink;
class IUserNotifier;

namespace kroDB {
class CDbContext;
}

// Seconds an import waits for a database that went away, unless told.
inline constexpr int kDefaultImportWaitSeconds = 120;

// Two on a machine with more than two cores, else one.
int DefaultImportWorkers();

struct CManualImportOptions
{
    // The database, as "Driver={PostgreSQL Unicode};Server=...;Port=...;
    // Database=...;Uid=...;Pwd=...;".
    std::wstring connectString;
    // Files and folders. A folder gives the files of the manual-import
    // selection of the room (sub-folders included); for the rooms "RedStar"
    // and "iPoker" only its "GameHistory.dat".
    std::vector<std::string> paths;
    // The import room text as the room lists show it ("PokerStars",
    // "GGPoker", ...). Empty: each file's room is recognised from its lines.
    std::wstring room;
    // The position of the Home room list: 0 (PokerStars) refuses a single
    // play-money file and lets a single "HH" file be marked finished.
    int homeRoom = 0;
    // With `autoAlias`, the alias named `nick` is looked up (created when
    // missing) and passed with every file; its id comes back in the result to
    // be remembered. Without it, or with an empty nick, `aliasId` is passed
    // (0: no alias).
    std::wstring nick;
    bool autoAlias = true;
    int32_t aliasId = 0;
    // How long to wait for a database that cannot be reached before giving
    // up, in seconds, each time it goes away.
    int waitSeconds = kDefaultImportWaitSeconds;
    // How hand texts are kept, the time offset, all-in EV dumps. With
    // parse.asyncCommit (what the program's imports use) hands are committed
    // without waiting for the server's disk, and Run makes each file durable
    // before it counts as imported: much faster, just as safe.
    kroHandParser::CParseSettings parse;
    // Files imported at once when there are several: each worker has its own
    // connection (the first shares the context's) and parse context, so one
    // parses while another waits for the server. The lines of each file stay
    // together and in file order. 1: one file after the other, the default
    // on two cores or fewer, where the server's process and one reader
    // already fill the cores and a second reader only slows the server.
    int workers = DefaultImportWorkers();
    // With several workers, their hands go to the server through one shared
    // session (one server process stores them all, in each file's order)
    // instead of a session each. Each still reads and adds players and files
    // through its own connection.
    bool sharedWriter = false;
};

struct CManualImportProgress
{
    // The file being imported: its number from 1, of how many, and its path.
    int fileNumber = 0;
    int fileCount = 0;
    std::string path;
    // Hands handled so far over all files (stored, already stored or left
    // out), and how many per second since the import began.
    int64_t handsSoFar = 0;
    double handsPerSecond = 0;
};

struct CManualImportResult
{
    // What became of the hands (CImportCounts).
    kroHandParser::CImportCounts counts;
    // The "Total hands" figure: the hands the files gave.
    int64_t totalHands = 0;
    int fileCount = 0;
    // Files not imported, or not completely, in import order: unreadable
    // ones, and when the database stayed away or the import was stopped,
    // the file it was in and every file after it.
    std::vector<std::string> filesNotImported;
    // The database named by the connect string does not exist (or the server
    // cannot be asked); nothing was imported.
    bool databaseMissing = false;
    // A single play-money file was refused.
    bool playMoney = false;
    // The database went away and did not come back in time.
    bool databaseLost = false;
    // The stop token was signalled.
    bool stopped = false;
    // The alias passed with the files.
    int32_t aliasId = 0;
    double seconds = 0;

    // 0 when every hand was stored, found already stored or knowingly left
    // out; 1 when a hand failed, a file was not imported or the database is
    // missing.
    int ExitCode() const;
};

class CManualImport
{
public:
    using ProgressFn = std::function<void(const CManualImportProgress&)>;

    // Requires: the references outlive this object.
    CManualImport(kroDB::CDbContext& db,
                  const CStatDefinitions& definitions,
                  ILogSink& log,
                  IUserNotifier& notifier);

    // Imports every file of options.paths. Before anything is read: the
    // database is checked ("DataBase does not exist!" to the notifier when it
    // is missing), made the current one and upgraded, and the nick's alias is
    // found. Each file then writes "All files = ... Start import from file =
    // ..." and "Hands = ... is imported from file = ..." (a single file:
    // "All files = 1 file number 1. Hands = ...") to the output and the log,
    // and an "HH" file of PokerStars with hands is marked finished. When the
    // database cannot be reached, "The database cannot be reached: waiting
    // ..." is written at once; once it is back the file is read again from
    // its start (what was stored is recognised) and the import goes on; after
    // options.waitSeconds the import gives up and names the files not
    // imported. A stop takes effect between hands: every stored hand is
    // whole. Ends with the "Total hands = ..." line and the counts line.
    // `progress` (may be empty) is called when a file begins and ends and
    // about every quarter second while hands are stored.
    CManualImportResult Run(const CManualImportOptions& options,
                            const ProgressFn& progress,
                            std::stop_token stop = {});

    // The files an import takes from `paths`, in order: a path that is no
    // folder as it is; a folder's files by the manual-import selection of
    // room number `roomNumber` with every file qualifying by time.
    static std::vector<std::string> CollectFiles(const std::vector<std::string>& paths,
                                                 int roomNumber);

    // The room number of a folder import: 4 for "RedStar", 9 for "iPoker",
    // 1 for any other import room text.
    static int RoomNumberOf(const std::wstring& room);

private:
    class CRun;
    class CWorker;
    class CFileLines;
    class COneAtATime;

    kroDB::CDbContext& m_db;
    const CStatDefinitions& m_definitions;
    ILogSink& m_log;
    IUserNotifier& m_notifier;
};
