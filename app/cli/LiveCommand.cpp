#include "app/cli/LiveCommand.h"

#include "app/cli/CCliContext.h"
#include "app/cli/CCommandLine.h"
#include "app/cli/DbOptions.h"
#include "app/core/CApplicationCore.h"
#include "app/core/ProgramFolder.h"
#include "db/DatabaseAdmin.h"
#include "foundation/IProfile.h"
#include "foundation/LocalTime.h"
#include "foundation/Rooms.h"
#include "foundation/WideText.h"
#include "live/ISessionSink.h"
#include "platform/CTaskQueue.h"
#include "platform/linux/CInotifyChangeSource.h"
#include "platform/linux/CProcProcessList.h"

#include <atomic>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <ctime>
#include <cwchar>
#include <map>
#include <ostream>

namespace {

std::atomic<bool> g_stopRequested{false};

extern "C" void OnStopSignal(int)
{
    g_stopRequested = true;
}

// The session figures on standard output, one line per update; the display
// currency and the rates are the session tracker's, from the profile.
class CPrintedSession : public ISessionSink
{
public:
    CPrintedSession(std::wostream& out, IProfile& profile)
        : m_out(out)
    {
        m_currency = profile.GetProfileInt(L"RoraRevirDlg_Currency", L"Cur", 0);
        const std::pair<int, const wchar_t*> keys[] = {{0, L"USD_K"}, {1, L"EUR_K"}, {2, L"GBP_K"}};
        const wchar_t* defaults[] = {L"1.00", L"1.12", L"1.42"};
        for (const auto& [code, key] : keys) {
            const std::wstring text = profile.GetProfileString(L"RoraRevirDlg_Currency", key,
                                                               defaults[static_cast<size_t>(code)]);
            m_rates[code] = std::wcstod(text.c_str(), nullptr);
        }
    }

    void UpdateFigures(int32_t hands, int32_t money, int32_t ev, int32_t diff) override
    {
        m_out << FormatW(L"Hands = %d Money = %.2lf EV = %.2lf Diff = %.2lf", hands, money / 100.0,
                         ev / 100.0, diff / 100.0)
              << std::endl;
    }
    int DisplayCurrency() const override { return m_currency; }
    double CurrencyRate(int currency) override { return m_rates[currency]; }

private:
    std::wostream& m_out;
    int m_currency = 0;
    // A currency without a rate gets one of 0 when first asked for.
    std::map<int, double> m_rates;
};

}  // namespace

std::wstring LiveCommandHelp()
{
    return L"usage: veltrix-cli live [--seconds N] [--no-tracker] [db options]\n"
           L"  Watches the hand-history folders of the rooms whose HUD switch is on in\n"
           L"  Veltrix.ini and imports every hand the clients append, printing the session\n"
           L"  figures after each import. Old files are archived first when the profile's\n"
           L"  archive switch is on. Stops on Ctrl+C, SIGTERM or after N seconds, marking\n"
           L"  the watched files finished.\n"
           L"  --seconds N    stop after N seconds (default: run until stopped)\n"
           L"  --no-tracker   session tracker off: watch, but import nothing\n" +
           DbOptionsHelp();
}

int RunLiveCommand(const CCommandLine& line, CCliContext& context)
{
    const CDatabaseSettings settings = DatabaseSettingsFromLine(line, context.Profile());
    if (!settings.Complete()) {
        context.Notifier().Notify(L"Please fill all the required fields!");
        return 2;
    }
    const double seconds = std::atof(line.Option("seconds", "0").c_str());

    // Made before the application core, whose live tracking uses them.
    CTaskQueue loop;
    CProcProcessList processes;
    CApplicationCoreOptions options;
    options.programFolder = context.ProgramFolder();
    options.home = HomeFolder();
    CApplicationCore core(options, context.Notifier());
    core.Log().SetOutput(
        [&context](const std::wstring& text) { context.Out() << text << std::endl; });
    (void)core.OpenDebugTrace();

    if (context.Profile().GetProfileInt(L"Base", L"Archive", 0) != 0) {
        core.ArchiveAtStart(processes, static_cast<int64_t>(std::time(nullptr)));
    }

    kroDB::CDbContext& db = context.Db();
    const std::wstring connect = settings.ConnectString();
    if (!kroDB::CheckDatabase(db, connect)) {
        context.Notifier().Notify(L"DataBase does not exist!");
        return 1;
    }
    db.SetConnectStrings(connect);
    (void)kroDB::UpgradeDatabase(db);

    kroHandParser::CParseSettings parse;
    parse.handHistoryFormat = context.Profile().GetProfileInt(L"Base", L"HH", 0);
    parse.localOffset = MeasureLocalUtcOffset();
    parse.allinDump = core.Settings().allinEv != 0;
    parse.allinDumpFolder = core.Settings().allinEvFolder;

    CLiveTracking& live = core.Live(
        db, loop, processes, [] { return std::make_unique<CInotifyChangeSource>(); }, parse);
    CPrintedSession session(context.Out(), context.Profile());
    live.SetTrackerSwitch(!line.Has("no-tracker"));
    live.SetSessionSink(&session);
    live.StartLiveTracking();
    for (const CRoomInfo& info : AllRooms()) {
        if (!info.watched) {
            continue;
        }
        const CPokerRoom& r = core.Rooms().Room(info.roomNumber);
        if (r.watcher) {
            for (const auto& folder : r.watcher->WatchedFolders()) {
                context.Out() << L"Watching " << folder << std::endl;
            }
        }
    }

    g_stopRequested = false;
    const auto previousInt = std::signal(SIGINT, OnStopSignal);
    const auto previousTerm = std::signal(SIGTERM, OnStopSignal);
    const auto start = std::chrono::steady_clock::now();
    auto lastTick = start;
    while (!g_stopRequested) {
        const auto now = std::chrono::steady_clock::now();
        if (seconds > 0 && now - start >= std::chrono::duration<double>(seconds)) {
            break;
        }
        (void)loop.WaitAndRun(std::chrono::milliseconds(200));
        if (std::chrono::steady_clock::now() - lastTick >= std::chrono::seconds(1)) {
            live.Tick();
            lastTick = std::chrono::steady_clock::now();
        }
    }
    std::signal(SIGINT, previousInt);
    std::signal(SIGTERM, previousTerm);

    // As the main window closes: the files are finished, then nothing is
    // watched any more.
    (void)loop.RunPending();
    live.FinishWatchedFiles();
    live.StopWatching();
    live.SetSessionSink(nullptr);
    context.Out() << FormatW(L"Live tracking ended: %d hands, money %.2lf, EV %.2lf",
                             live.TotalHands(), live.TotalMoney() / 100.0, live.TotalEv() / 100.0)
                  << std::endl;
    return 0;
}
