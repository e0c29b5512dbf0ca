#include "app/cli/ImportCommand.h"

#include "app/cli/CCliContext.h"
#include "app/cli/CCommandLine.h"
#include "app/cli/DbOptions.h"
#include "companion/ReadHistoryFileEx.h"
#include "db/DatabaseAdmin.h"
#include "db/IConnection.h"
#include "db/tables/CActionList.h"
#include "db/tables/kroAliases.h"
#include "db/tables/kroFiles.h"
#include "foundation/CStatDefinitions.h"
#include "foundation/IProfile.h"
#include "foundation/Sites.h"
#include "foundation/WideText.h"
#include "parser/CHandHistoryImporter.h"
#include "parser/CParseContext.h"
#include "parser/CParserEnvironment.h"
#include "parser/CRoomDetector.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <ostream>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

// The room display names the room lists show, by site code.
std::wstring RoomNameOfSiteCode(int siteCode, const CStatDefinitions& definitions)
{
    std::vector<CStatDefinition> sites;
    definitions.ReadStatSection(L"sites", sites);
    for (const auto& site : sites) {
        if (SiteCodeFromSymbolicName(site.name) == siteCode) {
            return site.description;
        }
    }
    return std::wstring();
}

// The files of a folder that an import takes: hand-history texts and
// hand-history databases, in every sub-folder, in name order.
std::vector<std::string> FilesOfFolder(const std::string& folder)
{
    std::vector<std::string> files;
    std::error_code ec;
    for (fs::recursive_directory_iterator
             it(folder, fs::directory_options::skip_permission_denied, ec),
         end;
         it != end; it.increment(ec)) {
        if (ec) {
            break;
        }
        if (!it->is_regular_file(ec)) {
            continue;
        }
        const std::string ext = it->path().extension().string();
        if (ext == ".txt" || ext == ".dat") {
            files.push_back(it->path().string());
        }
    }
    std::sort(files.begin(), files.end());
    return files;
}

// The room of a file named by its first lines; empty when no room's test
// passes.
std::wstring DetectRoom(const std::string& path, const CStatDefinitions& definitions)
{
    int64_t pos = 0;
    std::vector<std::wstring> lines;
    if (ReadHistoryFileEx(path, pos, lines) != kReadOk) {
        return std::wstring();
    }
    const int code = kroHandParser::CRoomDetector::GuessSiteCode(lines);
    return code < 0 ? std::wstring() : RoomNameOfSiteCode(code, definitions);
}

void DrawProgress(size_t done, size_t total)
{
    if (::isatty(STDERR_FILENO) == 0 || total < 2) {
        return;
    }
    const int width = 30;
    const int filled = static_cast<int>(width * done / total);
    std::fprintf(stderr, "\r[%s%s] %zu/%zu files",
                 std::string(static_cast<size_t>(filled), '#').c_str(),
                 std::string(static_cast<size_t>(width - filled), ' ').c_str(), done, total);
    if (done == total) {
        std::fputc('\n', stderr);
    }
    std::fflush(stderr);
}

bool StartsWithHH(const std::string& path)
{
    return fs::path(path).filename().string().rfind("HH", 0) == 0;
}

}  // namespace

std::wstring ImportCommandHelp()
{
    return L"usage: veltrix-cli import [--room NAME] [--hh-format 0|1|2|3] [--nick NICK] [db options] "
           L"PATH...\n"
           L"  PATH           a hand-history file (.txt, or .dat) or a folder, walked with its\n"
           L"                 sub-folders for such files\n"
           L"  --room NAME    the room as the room lists show it (\"PokerStars\", \"GGPoker\",\n"
           L"                 \"888Poker\", ...); without it each file's room is recognised from\n"
           L"                 its first lines\n"
           L"  --hh-format N  how hand texts are stored: 0 not at all, 1 as text, 2 as UTF-8\n"
           L"                 hex, 3 zipped (default: the profile's Base/HH)\n"
           L"  --nick NICK    the hero's nick; club hands that reveal the hero attach the\n"
           L"                 account to the alias of that name\n"
           L"Cash-game hands of every room are read; tournament hands and play-money hands\n"
           L"are left out.\n" +
           DbOptionsHelp();
}

int RunImportCommand(const CCommandLine& line, CCliContext& context)
{
    if (line.Has("help")) {
        context.Out() << ImportCommandHelp();
        return 0;
    }
    if (line.positional.size() < 2) {
        context.Err() << ImportCommandHelp();
        return 2;
    }
    const CDatabaseSettings settings = DatabaseSettingsFromLine(line, context.Profile());
    if (!settings.Complete()) {
        context.Notifier().Notify(L"Please fill all the required fields!");
        return 2;
    }
    kroDB::CDbContext& db = context.Db();
    const std::wstring connect = settings.ConnectString();
    if (!kroDB::CheckDatabase(db, connect)) {
        context.Notifier().Notify(L"DataBase does not exist!");
        return 1;
    }
    db.SetConnectStrings(connect);
    kroDB::CConnectionLease connection(db.AcquireConnection(true));
    if (!connection || connection->Database() == nullptr) {
        context.Notifier().Notify(L"DataBase does not exist!");
        return 1;
    }
    (void)kroDB::UpgradeDatabase(db);
    // Every hand is still its own transaction; only the wait for the disk at
    // each commit goes. A crash of the machine could lose the last moment of
    // an import, which importing the files again restores without doubles.
    (void)connection->Execute(L"SET synchronous_commit = off");

    // The same parse settings as every import of the program.
    const kroHandParser::CParseSettings parse = context.Core().ParseSettings(
        line.HasOption("hh-format") ? std::atoi(line.Option("hh-format").c_str()) : -1);

    int32_t aliasId = 0;
    if (line.HasOption("nick") && !line.Option("nick").empty()) {
        kroDB::kroAliases::data alias(db);
        alias.name = FromUtf8(line.Option("nick"));
        if (alias.Load() || alias.Insert()) {
            aliasId = alias.id;
        }
    }

    std::vector<std::string> files;
    for (size_t i = 1; i < line.positional.size(); ++i) {
        const std::string& path = line.positional[i];
        std::error_code ec;
        if (fs::is_directory(path, ec)) {
            const auto found = FilesOfFolder(path);
            files.insert(files.end(), found.begin(), found.end());
        } else {
            files.push_back(path);
        }
    }

    kroDB::CActionList actions;
    kroHandParser::CParseContext shared;
    kroHandParser::CParserEnvironment env(db, actions, shared, context.Log(), context.Notifier(),
                                          parse);
    kroHandParser::CHandHistoryImporter importer(env);
    const std::wstring fixedRoom = FromUtf8(line.Option("room"));

    const auto start = std::chrono::steady_clock::now();
    int total = 0;
    bool allRead = true;
    const bool single =
        files.size() == 1 && line.positional.size() == 2 && !fs::is_directory(line.positional[1]);
    for (size_t i = 0; i < files.size(); ++i) {
        const std::string& path = files[i];
        const std::wstring widePath = FromUtf8(path);
        if (!single) {
            const std::wstring text =
                FormatW(L"All files = %d file number %d. Start import from file = %ls \n",
                        static_cast<int>(files.size()), static_cast<int>(i + 1), widePath.c_str());
            context.Log().Output(text);
            context.Log().Log(text);
        }
        const std::wstring room =
            fixedRoom.empty() ? DetectRoom(path, context.Definitions()) : fixedRoom;
        int64_t fileId = 0;
        int currency = -1;
        int64_t position = 0;
        std::error_code ec;
        if (!fs::is_regular_file(path, ec)) {
            allRead = false;
        }
        const int hands = room.empty() ? 0
                                       : importer.ImportHandHistoryFile(path, fileId, currency,
                                                                        position, room, aliasId);
        if (hands > 0) {
            total += hands;
            if (StartsWithHH(path) && SiteCodeFromRoomName(room, context.Definitions()) <= 1) {
                kroDB::kroFiles::data file(db);
                (void)file.SetFinished(fileId);
            }
        }
        const std::wstring text =
            single
                ? FormatW(L"All files = 1 file number 1. Hands = %d is imported from file = %ls \n",
                          hands, widePath.c_str())
                : FormatW(L"Hands = %d is imported from file = %ls \n\n", hands, widePath.c_str());
        context.Log().Output(text);
        context.Log().Log(text);
        DrawProgress(i + 1, files.size());
    }
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    const int whole = static_cast<int>(seconds);
    const std::wstring totals = FormatW(
        L"Total hands = %d. Elapsed time = %d mins. %d secs. Time for 1 hand: %.3lf secs.\n", total,
        whole / 60, whole % 60, seconds / total);
    context.Log().Output(totals);
    context.Log().Log(totals);
    const std::wstring counts = FormatW(
        L"New hands stored = %lld, already stored = %lld, left out = %lld, failed = %lld.",
        static_cast<long long>(env.counts.stored), static_cast<long long>(env.counts.alreadyStored),
        static_cast<long long>(env.counts.skipped), static_cast<long long>(env.counts.rejected));
    context.Log().Output(counts);
    context.Log().Log(counts);
    return allRead ? 0 : 1;
}
