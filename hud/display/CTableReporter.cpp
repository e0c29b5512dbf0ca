#include "hud/display/CTableReporter.h"

#include "platform/HudMessages.h"
#include "platform/PokerClientWindows.h"

#include <set>

namespace {

QString Hex(uint64_t window)
{
    return QStringLiteral("0x%1").arg(window, 8, 16, QLatin1Char('0'));
}

}  // namespace

CTableReporter::CTableReporter(IWindowFinder& finder,
                               IMessageChannel& channel,
                               LogFunction log,
                               Dispatcher dispatcher,
                               std::chrono::milliseconds timeout)
    : m_finder(finder)
    , m_channel(channel)
    , m_log(std::move(log))
    , m_dispatcher(std::move(dispatcher))
    , m_timeout(timeout)
{}

void CTableReporter::Scan()
{
    std::set<uint64_t> present;
    for (const CWindowInfo& window : m_finder.TopLevelWindows()) {
        if (!IsPokerStarsTableWindow(window) || window.id > UINT32_MAX) {
            continue;
        }
        present.insert(window.id);
        const auto known = m_reported.find(window.id);
        const auto pending = m_pending.find(window.id);
        if ((known != m_reported.end() && known->second == window.title) ||
            (pending != m_pending.end() && pending->second == window.title)) {
            continue;
        }
        const bool isNew = known == m_reported.end();
        m_pending[window.id] = window.title;

        CTableReport report;
        report.tableWindow = static_cast<uint32_t>(window.id);
        report.command = static_cast<uint8_t>(isNew ? TableReportCommand::NewTable
                                                    : TableReportCommand::KnownTable);
        report.room = kPokerStarsRoom;
        const auto bytes = EncodeTableReport(report);
        IMessageChannel& channel = m_channel;
        const std::chrono::milliseconds timeout = m_timeout;
        auto send = [&channel, bytes, timeout] {
            return channel.Send(kTrackerEndpoint, kTableReportTag, bytes, timeout);
        };
        const uint64_t id = window.id;
        const std::wstring title = window.title;
        const uint64_t epoch = m_trackerEpoch;
        auto done = [this, id, title, isNew, epoch](CStatus status) {
            if (epoch != m_trackerEpoch && status.IsOk()) {
                // Taken by a tracker that has gone since: report it anew.
                status = CStatus::NotFound(L"the tracker restarted");
            }
            Delivered(id, title, isNew, status);
        };
        if (m_dispatcher) {
            m_dispatcher(std::move(send), std::move(done));
        } else {
            done(send());
        }
    }
    for (auto it = m_reported.begin(); it != m_reported.end();) {
        it = present.count(it->first) == 0 ? m_reported.erase(it) : std::next(it);
    }
}

void CTableReporter::Delivered(uint64_t window,
                               const std::wstring& title,
                               bool isNew,
                               const CStatus& status)
{
    const auto pending = m_pending.find(window);
    if (pending != m_pending.end() && pending->second == title) {
        m_pending.erase(pending);
    }
    if (status.IsOk()) {
        m_reported[window] = title;
        if (m_log) {
            m_log(QStringLiteral("reported table %1 \"%2\" (%3)")
                      .arg(Hex(window))
                      .arg(QString::fromStdWString(title))
                      .arg(isNew ? 6 : 4));
        }
        return;
    }
    if (status.GetCode() == CStatus::Code::NotFound) {
        // No tracker: when one starts it knows no table yet.
        if (!m_reported.empty()) {
            ++m_trackerEpoch;
            m_reported.clear();
        }
    } else if (m_log) {
        m_log(QStringLiteral("could not report table %1: %2")
                  .arg(Hex(window))
                  .arg(QString::fromStdWString(status.Message())));
    }
    if (m_retry) {
        m_retry();
    }
}
