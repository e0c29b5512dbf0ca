#include "app/cli/LiveCommand.h"

#include "app/cli/CCliContext.h"
#include "app/cli/CCommandLine.h"
#include "app/cli/DbOptions.h"
#include "app/core/CApplicationCore.h"
#include "foundation/IProfile.h"
#include "foundation/Rooms.h"
#include "foundation/WideText.h"
#include "live/ISessionSink.h"
#include "platform/CTaskQueue.h"
#include "platform/linux/CUnixMessageEndpoint.h"

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

// The caption of this program's main window, which names its endpoint.
constexpr const wchar_t* kTrackerEndpoint = L"VeltrixClass";

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
           L"  figures after each import. Watches the PokerStars audit folder too and has\n"
           L"  the HUD display program show every seated player's statistics over the\n"
           L"  client's table windows (with Debug=1 in Veltrix.ini each box sent is printed\n"
           L"  as a SendHud or SendHide line). Old files are archived first when the\n"
           L"  profile's archive switch is on. Stops on Ctrl+C, SIGTERM or after N seconds,\n"
           L"  marking the watched files finished.\n"
           L"  --seconds N    stop after N seconds (default: run until stopped)\n"
           L"  --no-tracker   session tracker off: watch, but import nothing\n" +
           DbOptionsHelp();
}

int RunLiveCommand(const CCommandLine& line, CCliContext& context)
{
    const CDatabaseSettings settings = DatabaseSettingsFromLine(line, context.Profile());
    const double seconds = std::atof(line.Option("seconds", "0").c_str());
    CApplicationCore& core = context.Core();
    if (!core.UseDatabase(settings)) {
        return settings.Complete() ? 1 : 2;
    }

    CPrintedSession session(context.Out(), context.Profile());
    CLiveTracking& live = core.StartLiveTracking(!line.Has("no-tracker"), &session);
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
    if (live.AuditWatcher() != nullptr) {
        for (const auto& folder : live.AuditWatcher()->WatchedFolders()) {
            context.Out() << L"Watching audit files in " << folder << std::endl;
        }
    }

    // The HUD program reports table windows to this program's endpoint.
    CUnixMessageEndpoint endpoint([&core](uint64_t tag, std::span<const uint8_t> payload) {
        (void)core.HandlePacket(tag, payload);
    });
    const CStatus opened = endpoint.Open(kTrackerEndpoint);
    if (!opened.IsOk()) {
        context.Log().Log(L"Table reports of the HUD program are not received: " +
                          opened.Message());
    }

    g_stopRequested = false;
    const auto previousInt = std::signal(SIGINT, OnStopSignal);
    const auto previousTerm = std::signal(SIGTERM, OnStopSignal);
    CTaskQueue& loop = context.Loop();
    const auto start = std::chrono::steady_clock::now();
    auto lastTick = start;
    while (!g_stopRequested) {
        const auto now = std::chrono::steady_clock::now();
        if (seconds > 0 && now - start >= std::chrono::duration<double>(seconds)) {
            break;
        }
        (void)loop.WaitAndRun(std::chrono::milliseconds(100));
        if (endpoint.IsOpen()) {
            endpoint.ProcessEvents();
        }
        if (std::chrono::steady_clock::now() - lastTick >= std::chrono::seconds(1)) {
            core.Tick();
            lastTick = std::chrono::steady_clock::now();
        }
    }
    std::signal(SIGINT, previousInt);
    std::signal(SIGTERM, previousTerm);

    // As the main window closes: what was queued runs, the files are
    // finished, then nothing is watched any more.
    (void)loop.RunPending();
    core.ShutDown();
    context.Out() << FormatW(L"Live tracking ended: %d hands, money %.2lf, EV %.2lf",
                             live.TotalHands(), live.TotalMoney() / 100.0, live.TotalEv() / 100.0)
                  << std::endl;
    return 0;
}
