// Reading hand-history files into lines, the first step of every import, and
// parsing each room's files without a server.
#include "companion/CODBCRecordset.h"
#include "companion/GetTypeGameHH.h"
#include "companion/ReadHistoryFileEx.h"
#include "db/CDbContext.h"
#include "db/IConnection.h"
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
#include <ctime>
#include <filesystem>
#include <map>
#include <memory>
#include <optional>
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
// counts its statements. What is left is the client's own work per hand
// (room detection, parsing, flags, all-in EV, building the SQL text), one
// figure per room (processor microseconds per hand).
class CQuietNotifier : public IUserNotifier
{
public:
    void Notify(const std::wstring&) override {}
};

// Processor time of this thread: the machine's other load does not count.
double ThreadSeconds()
{
    timespec t{};
    ::clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) / 1e9;
}

// A server that takes every statement and keeps none: it answers only what
// an import asks before it stores (actions, the room's site, new row ids).
class CDiscardingConnection : public kroDB::IConnection
{
public:
    explicit CDiscardingConnection(const kroDB::CActionList& actions)
        : m_actions(actions)
    {}

    void Release() override {}
    bool OpenRecordset(const std::wstring& sql, std::unique_ptr<CODBCRecordset>& recordset) override
    {
        std::vector<std::wstring> names;
        std::vector<std::vector<CDBField>> rows;
        const auto quoted = [&sql](size_t from) {
            const size_t begin = sql.find(L'\'', from) + 1;
            return sql.substr(begin, sql.find(L'\'', begin) - begin);
        };
        if (const size_t next = sql.find(L"nextval('"); next != std::wstring::npos) {
            int64_t& last = m_ids[quoted(next)];
            const size_t series = sql.find(L"generate_series(1,");
            const int count = series == std::wstring::npos ? 1 : std::stoi(sql.substr(series + 18));
            std::wstring list;
            for (int i = 0; i < count; ++i) {
                list += (i == 0 ? L"" : L",") + std::to_wstring(++last);
            }
            names = {L"ids"};
            rows.push_back({CDBField(list)});
        } else if (sql.rfind(L"SELECT * FROM actions", 0) == 0) {
            names = {L"id", L"name", L"code"};
            for (const auto& e : m_actions.Entries()) {
                rows.push_back(
                    {CDBField(std::to_wstring(e.id)), CDBField(e.name), CDBField(e.code)});
            }
        } else if (sql.rfind(L"select * from sites where name='", 0) == 0) {
            names = {L"id", L"name", L"code"};
            rows.push_back(
                {CDBField(std::wstring(L"1")), CDBField(quoted(0)), CDBField(std::wstring())});
        }
        recordset = std::make_unique<CODBCRecordset>(std::move(names), std::move(rows));
        ++m_statements;
        return true;
    }
    bool ExecuteBatch(const std::vector<std::wstring>& statements) override
    {
        m_statements += statements.size();
        return true;
    }
    bool Execute(const std::wstring&) override
    {
        ++m_statements;
        return true;
    }
    CDatabase* Database() override { return nullptr; }
    bool IsOpen() override { return true; }
    CStatus BeginUnit() override { return CStatus::Ok(); }
    CStatus CommitUnit() override { return CStatus::Ok(); }
    CStatus CommitUnitAhead() override { return CStatus::Ok(); }
    std::optional<CStatus> TakeAheadOutcome(bool) override { return std::nullopt; }
    void RollbackUnit() override {}
    CStatus UnitStatus() const override { return CStatus::Ok(); }
    CStatus LastStatus() const override { return CStatus::Ok(); }

private:
    const kroDB::CActionList& m_actions;
    std::map<std::wstring, int64_t> m_ids;
    uint64_t m_statements = 0;
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
        CDiscardingConnection connection(actions);
        db.AttachConnection(&connection);
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

        const double start = ThreadSeconds();
        for (size_t i = 0; i < files.size(); ++i) {
            int64_t fileId = 0;
            int currency = 0;
            hands += importer.ImportLines(files[i].path, std::move(copies[i]), fileId, currency,
                                          files[i].room, 0);
        }

        seconds += ThreadSeconds() - start;
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
