// The session tracker: a small frameless window that stays above the poker
// tables and shows the running session (time, hands, money, all-in EV and
// their difference) in the display currency, with the session timer buttons,
// the alarm icons, and a context menu for its settings and the session graph.
// It is the live import's session sink, and holds the tracker's settings and
// currency table. GUI thread only. The main window owns it (it may be made
// without a parent, so that it stays up when the main window is minimised).
#pragma once

#include "live/ISessionSink.h"
#include "tracker/CSessionAlarms.h"
#include "tracker/CSessionClock.h"
#include "tracker/CTrackerSettings.h"

#include <QPointer>
#include <QWidget>

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

class IProfile;
class ITrackerSound;
class CxSkinButton;
class CSessionGraphWnd;
class QLabel;
class QMenu;
class QTimer;

namespace kroDB {
class CDbContext;
}

class CRoraRevirTimerDlg : public QWidget, public ISessionSink
{
    Q_OBJECT

public:
    // Reads the tracker's settings from `profile`, places the window at its
    // stored rectangle (clamped onto a screen), and shows the sample figures
    // 124 hands, 13.38, 12.25 and 1.13 until live ones arrive. Not shown yet.
    // Requires: `profile` and `sound` outlive the window.
    CRoraRevirTimerDlg(IProfile& profile, ITrackerSound& sound, QWidget* parent = nullptr);
    ~CRoraRevirTimerDlg() override;

    // ISessionSink. Amounts are cents of the display currency; hands 0 starts a
    // new session. The time shown is taken now.
    void UpdateFigures(int32_t hands, int32_t money, int32_t ev, int32_t diff) override;
    void HandsCounted(const std::vector<CSessionHand>& hands) override;
    int DisplayCurrency() const override { return m_settings.currency.DisplayCurrency(); }
    double CurrencyRate(int currency) override { return m_settings.currency.Rate(currency); }

    // The database of "any stored day" in the session graph; may be null.
    // Requires: it outlives the window.
    void SetDatabase(kroDB::CDbContext* db) { m_db = db; }

    // Writes the window rectangle to the profile ("left:top:right:bottom").
    void SaveWindowRect();

    // Runs the settings dialog; on OK applies what it changed.
    void RunSettings();
    // After the settings dialog's OK: the alarm icons, colours, opacity and
    // fonts; "Start timer" enabled; the alarms armed with the new levels
    // (levels the session already passed are not told again).
    void ApplyAfterSettings();
    // Opens (or raises) the session graph.
    CSessionGraphWnd* ShowSessionGraph();

    // The settings the dialog edits in place.
    CTrackerSettings& Settings() { return m_settings; }
    ITrackerSound& Sound() { return m_sound; }
    // Applies the colours and the five fonts to the figures.
    void ApplyLook();
    // Applies the opacity (with a compositor).
    void ApplyOpacity();
    // Shows each alarm icon only while its alarm is switched on.
    void ApplyAlarmIcons();

    // The figures as shown.
    QString TimeText() const;
    QString HandsText() const;
    QString MoneyText() const;
    QString EvText() const;
    QString DiffText() const;
    const CSessionClock& Clock() const { return m_clock; }
    // The hero hands of this session, oldest first (amounts as played).
    const std::vector<CSessionHand>& SessionHands() const { return m_sessionHands; }

    // Seconds since 1970; tests give their own clock.
    void SetClock(std::function<int64_t()> now);
    // Replaces the dialog run by "Settings" (tests answer it themselves).
    void SetSettingsRunner(std::function<void()> runner) { m_settingsRunner = std::move(runner); }
    // The context menu, as it opens on a right click.
    QMenu* ContextMenu() const { return m_menu; }

    // Timer buttons.
    void StartTimer();
    void StopTimer();
    void PauseTimer();
    // Once a second: the running time, the auto pause, the time alarm.
    void Tick();

signals:
    // The figures or the session's hands changed.
    void SessionChanged();
    // An alarm sounded.
    void AlarmRaised(TrackerAlarm alarm);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void ShowFigures(int32_t hands, int32_t money, int32_t ev, int32_t diff, bool sample);
    void BuildControls();
    void PlaceWindow();
    void RefreshTime();
    void RefreshButtons();
    void CheckAlarms();
    void Raise(TrackerAlarm alarm);
    void Flash();
    QLabel* FigureValue(TrackerFigure figure) const;
    QLabel* FigureLabel(TrackerFigure figure) const;
    int64_t Now() const;

    IProfile& m_profile;
    ITrackerSound& m_sound;
    kroDB::CDbContext* m_db = nullptr;
    CTrackerSettings m_settings;
    CSessionClock m_clock;
    CSessionAlarms m_alarms;
    std::function<int64_t()> m_now;
    std::function<void()> m_settingsRunner;

    int32_t m_hands = 0;
    int32_t m_money = 0;
    int32_t m_ev = 0;
    int32_t m_diff = 0;
    bool m_sample = true;
    int64_t m_lastUpdate = 0;
    std::vector<CSessionHand> m_sessionHands;

    QLabel* m_time = nullptr;
    std::array<QLabel*, kTrackerFigures> m_values{};
    std::array<QLabel*, kTrackerFigures> m_labels{};
    std::array<QLabel*, 3> m_icons{};
    CxSkinButton* m_start = nullptr;
    CxSkinButton* m_stop = nullptr;
    CxSkinButton* m_pause = nullptr;
    QMenu* m_menu = nullptr;
    QTimer* m_ticker = nullptr;
    QTimer* m_flashTimer = nullptr;
    QTimer* m_saveTimer = nullptr;
    // Figures that blink after their alarm, and blinks left.
    std::vector<TrackerFigure> m_flashing;
    std::vector<TrackerAlarm> m_lit;
    int m_flashesLeft = 0;
    QPoint m_dragOffset;
    bool m_dragging = false;
    QPointer<CSessionGraphWnd> m_graph;
};
