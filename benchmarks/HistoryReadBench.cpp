// Reading hand-history files into lines, the first step of every import, and
// parsing each room's files without a server.
#include "companion/GetTypeGameHH.h"
#include "companion/ReadHistoryFileEx.h"
#include "db/CDbContext.h"
#include "db/fakes/CFakeConnection.h"
#include "db/tables/CActionList.h"
#include "foundation/CStatDefinitions.h"
#include "foundation/ILogSink.h"
#include "foundation/IUserNotifier.h"
#include "foundation/Sites.h"
#include "parser/CHandHistoryImporter.h"
#include "parser/CParseContext.h"
#include "parser/CParserEnvironment.h"
#include "parser/CRoomDetector.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <string>
#include <vector>

#include "benchmarks/BenchCorpus.h"

namespace {

std::string LargestPokerStarsFile()
{
    return vxbench::CorpusFile("pokerstars/PokerStudier_allHands.txt");
}

void BM_ReadHistoryFile(benchmark::State& state)
{
    const std::string path = LargestPokerStarsFile();
    if (!vxbench::RequireCorpusFile(state, path)) {
        return;
    }
    int64_t bytes = 0;
    for (auto _ : state) {
        int64_t pos = 0;
        std::vector<std::wstring> lines;
        benchmark::DoNotOptimize(ReadHistoryFileEx(path, pos, lines));
        bytes += pos;
    }
    state.SetBytesProcessed(bytes);
}
BENCHMARK(BM_ReadHistoryFile)->Unit(benchmark::kMillisecond);

void BM_GetTypeGameHH(benchmark::State& state)
{
    const std::vector<std::wstring> descriptions = {L"Hold'em No Limit", L"Omaha Hi/Lo Pot Limit",
                                                    L"PLO-5", L"Pot Limit OmahaHL"};
    size_t i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(GetTypeGameHH(descriptions[i++ % descriptions.size()]));
    }
}
BENCHMARK(BM_GetTypeGameHH);

// Parsing every corpus file of one room without a server: the lines read
// once beforehand, then each file imported through a connection that only
// records its statements. What is left is the client's own work per hand
// (room detection, parsing, flags, all-in EV, building the SQL text), one
// figure per room.
class CQuietNotifier : public IUserNotifier
{
public:
    void Notify(const std::wstring&) override {}
};

struct CRoomFile
{
    std::string path;
    std::wstring room;
    std::vector<std::wstring> lines;
};

std::vector<CRoomFile> ReadRoomFolder(const std::string& folder)
{
    std::vector<CRoomFile> files;
    std::error_code error;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(folder, error)) {
        if (!entry.is_regular_file()) {
            continue;
        }
        CRoomFile file;
        file.path = entry.path().string();
        int64_t position = 0;
        if (ReadHistoryFileEx(file.path, position, file.lines) != kReadOk) {
            continue;
        }
        const int code = kroHandParser::CRoomDetector::GuessSiteCode(file.lines);
        if (code < 0) {
            continue;
        }
        file.room = SiteNameOfCode(code);
        files.push_back(std::move(file));
    }
    std::sort(files.begin(), files.end(),
              [](const CRoomFile& a, const CRoomFile& b) { return a.path < b.path; });
    return files;
}

void BM_ParseRoomWithoutServer(benchmark::State& state, const std::string& folder)
{
    const std::string path = vxbench::CorpusFile(folder);
    if (!std::filesystem::is_directory(path)) {
        state.SkipWithError(("no hand-history corpus: " + path + " (set VELTRIX_CORPUS)").c_str());
        return;
    }
    const std::vector<CRoomFile> files = ReadRoomFolder(path);
    CStatDefinitions definitions;
    definitions.LoadStatTypes(std::string(VX_SOURCE_DIR) + "/data/predeftypes.json");
    CNullLogSink log;
    CQuietNotifier notifier;
    kroDB::CActionList actions;
    actions.LoadDefaults();
    int64_t hands = 0;
    double seconds = 0;
    for (auto _ : state) {
        state.PauseTiming();
        kroDB::CDbContext db(definitions, notifier, log);
        (void)db.AllocateEnvironment();
        kroDB::CFakeConnection fake;
        fake.SetResponder([&actions](const std::wstring& sql) {
            kroDB::CFakeConnection::CRows rows;
            if (sql.rfind(L"SELECT * FROM actions", 0) == 0) {
                rows.names = {L"id", L"name", L"code"};
                for (const auto& e : actions.Entries()) {
                    rows.rows.push_back({std::to_wstring(e.id), e.name, e.code});
                }
            } else if (sql.rfind(L"select * from sites where name='", 0) == 0) {
                const size_t from = sql.find(L'\'') + 1;
                rows.names = {L"id", L"name", L"code"};
                rows.rows.push_back({L"1", sql.substr(from, sql.rfind(L'\'') - from), L""});
            }
            return rows;
        });
        db.AttachConnection(&fake);
        kroHandParser::CParseContext context;
        kroHandParser::CParseSettings settings;
        settings.localOffset = 0;
        kroHandParser::CParserEnvironment env(db, actions, context, log, notifier, settings);
        kroHandParser::CHandHistoryImporter importer(env);
        std::vector<std::vector<std::wstring>> copies;
        copies.reserve(files.size());
        for (const auto& file : files) {
            copies.push_back(file.lines);
        }
        state.ResumeTiming();

        const auto start = std::chrono::steady_clock::now();
        for (size_t i = 0; i < files.size(); ++i) {
            int64_t fileId = 0;
            int currency = 0;
            hands += importer.ImportLines(files[i].path, std::move(copies[i]), fileId, currency,
                                          files[i].room, 0);
        }

        seconds += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        state.PauseTiming();
        db.AttachConnection(nullptr);
        state.ResumeTiming();
    }
    state.counters["hands"] = static_cast<double>(hands) / static_cast<double>(state.iterations());
    state.counters["us_per_hand"] = hands > 0 ? seconds * 1e6 / static_cast<double>(hands) : 0;
}
BENCHMARK_CAPTURE(BM_ParseRoomWithoutServer, pokerstars, std::string("pokerstars"))
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_ParseRoomWithoutServer, ggpoker, std::string("ggpoker"))
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_ParseRoomWithoutServer, 888, std::string("888"))
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_ParseRoomWithoutServer, runitonce, std::string("runitonce"))
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_ParseRoomWithoutServer, pkng, std::string("pkng"))
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_ParseRoomWithoutServer, club, std::string("club"))
    ->Unit(benchmark::kMillisecond);

}  // namespace
