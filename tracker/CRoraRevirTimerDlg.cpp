#include "tracker/CRoraRevirTimerDlg.h"

#include "app/widgets/CxSkinButton.h"
#include "foundation/IProfile.h"
#include "tracker/CDlgSettingsRoraRevir.h"
#include "tracker/CSessionGraphWnd.h"
#include "tracker/CTrackerArt.h"
#include "tracker/ITrackerSound.h"
#include "tracker/TrackerCodecs.h"
#include "tracker/TrackerQtConversions.h"

#include <QCloseEvent>
#include <QFileInfo>
#include <QGridLayout>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QScreen>
#include <QTimer>
#include <QWindow>

#include <ctime>

namespace {

const wchar_t* const kPlaceSection = L"RoraRevirDlg";
constexpr int kButtonSize = 22;
constexpr int kIconSize = 16;
constexpr int kFlashes = 12;

QString Q(const std::wstring& text)
{
    return QString::fromStdWString(text);
}

std::vector<CWindowRect> ScreenRects()
{
    std::vector<CWindowRect> rects;
    for (QScreen* screen : QGuiApplication::screens()) {
        const QRect g = screen->availableGeometry();
        rects.push_back(CWindowRect{g.left(), g.top(), g.left() + g.width(), g.top() + g.height()});
    }
    return rects;
}

}  // namespace

CRoraRevirTimerDlg::CRoraRevirTimerDlg(IProfile& profile, ITrackerSound& sound, QWidget* parent)
    : QWidget(parent,
              Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint |
                  Qt::NoDropShadowWindowHint)
    , m_profile(profile)
    , m_sound(sound)
    , m_now([] { return static_cast<int64_t>(std::time(nullptr)); })
{
    setObjectName(QStringLiteral("RoraRevirTimerDlg"));
    setWindowTitle(tr("Session"));
    setWindowIcon(QIcon(TrackerArt::WindowIcon(32)));
    setAttribute(Qt::WA_DeleteOnClose, false);

    m_settings.Load(m_profile, [](const std::wstring& file) { return QFileInfo::exists(Q(file)); });
    BuildControls();
    PlaceWindow();
    ApplyLook();
    ApplyOpacity();
    m_alarms.Reset(m_settings);

    m_ticker = new QTimer(this);
    m_ticker->setInterval(1000);
    connect(m_ticker, &QTimer::timeout, this, &CRoraRevirTimerDlg::Tick);
    m_ticker->start();
    m_flashTimer = new QTimer(this);
    m_flashTimer->setInterval(350);
    connect(m_flashTimer, &QTimer::timeout, this, &CRoraRevirTimerDlg::Flash);
    m_saveTimer = new QTimer(this);
    m_saveTimer->setSingleShot(true);
    m_saveTimer->setInterval(800);
    connect(m_saveTimer, &QTimer::timeout, this, &CRoraRevirTimerDlg::SaveWindowRect);

    if (m_settings.runOnStart != 0) {
        m_clock.Start(Now());
    } else {
        m_clock.Restart(Now());
    }
    RefreshButtons();
    // The sample figures show the look until the session's own arrive; they
    // are no session, so no alarm looks at them.
    ShowFigures(124, 1338, 1225, 113, true);
}

CRoraRevirTimerDlg::~CRoraRevirTimerDlg() = default;

void CRoraRevirTimerDlg::BuildControls()
{
    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(8, 5, 10, 6);
    grid->setHorizontalSpacing(6);
    grid->setVerticalSpacing(0);

    auto* top = new QHBoxLayout();
    top->setSpacing(3);
    auto makeButton = [&](TrackerArt::Glyph glyph, const QString& tip, const char* name) {
        auto* button = new CxSkinButton(this);
        const auto skin = TrackerArt::ButtonSkin(glyph, kButtonSize);
        button->SetSkin(skin.normal, skin.pressed, skin.hover, skin.disabled, skin.mask);
        button->SetToolTipText(tip);
        button->setObjectName(QLatin1String(name));
        button->setFocusPolicy(Qt::NoFocus);
        top->addWidget(button);
        return button;
    };
    m_start = makeButton(TrackerArt::Glyph::Start, tr("Start timer"), "startTimer");
    m_stop = makeButton(TrackerArt::Glyph::Stop, tr("Stop timer"), "stopTimer");
    m_pause = makeButton(TrackerArt::Glyph::Pause, tr("Pause timer"), "pauseTimer");
    m_pause->setCheckable(true);
    connect(m_start, &QAbstractButton::clicked, this, &CRoraRevirTimerDlg::StartTimer);
    connect(m_stop, &QAbstractButton::clicked, this, &CRoraRevirTimerDlg::StopTimer);
    connect(m_pause, &QAbstractButton::clicked, this, &CRoraRevirTimerDlg::PauseTimer);
    top->addSpacing(4);

    const TrackerAlarm iconAlarms[] = {TrackerAlarm::Hands, TrackerAlarm::TakeProfit,
                                       TrackerAlarm::Time};
    const QString iconTips[] = {tr("Hands alarm"), tr("Money alarm"), tr("Time alarm")};
    const char* iconNames[] = {"handsAlarmIcon", "moneyAlarmIcon", "timeAlarmIcon"};
    for (int i = 0; i < 3; ++i) {
        m_icons[i] = new QLabel(this);
        m_icons[i]->setPixmap(TrackerArt::AlarmIcon(iconAlarms[i], false, kIconSize));
        m_icons[i]->setToolTip(iconTips[i]);
        m_icons[i]->setObjectName(QLatin1String(iconNames[i]));
        top->addWidget(m_icons[i]);
    }
    top->addStretch(1);
    m_time = new QLabel(QStringLiteral("00:00"), this);
    m_time->setObjectName(QStringLiteral("timeValue"));
    m_time->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    m_time->setToolTip(tr("Session time (hours:minutes)"));
    top->addWidget(m_time);
    grid->addLayout(top, 0, 0, 1, 2);
    m_values[static_cast<int>(TrackerFigure::Time)] = m_time;
    m_labels[static_cast<int>(TrackerFigure::Time)] = m_time;

    const QString names[] = {QString(), tr("Hands"), tr("Money"), tr("EV"), tr("Diff")};
    const QString tips[] = {QString(), tr("Hands played this session"),
                            tr("Money won this session"),
                            tr("All-in EV adjusted money won this session"),
                            tr("Money won less all-in EV: luck in all-in hands")};
    const char* valueNames[] = {"", "handsValue", "moneyValue", "evValue", "diffValue"};
    for (int i = 1; i < kTrackerFigures; ++i) {
        auto* label = new QLabel(names[i], this);
        auto* value = new QLabel(this);
        label->setToolTip(tips[i]);
        value->setToolTip(tips[i]);
        value->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        value->setObjectName(QLatin1String(valueNames[i]));
        label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
        grid->addWidget(label, i, 0);
        grid->addWidget(value, i, 1);
        m_labels[i] = label;
        m_values[i] = value;
    }
    grid->setColumnStretch(1, 1);
    grid->setRowStretch(0, 0);

    m_menu = new QMenu(this);
    QAction* settings = m_menu->addAction(tr("Settings"));
    settings->setData(32829);
    connect(settings, &QAction::triggered, this, &CRoraRevirTimerDlg::RunSettings);
    QAction* graph = m_menu->addAction(tr("Session graph"));
    connect(graph, &QAction::triggered, this, [this] { (void)ShowSessionGraph(); });
}

void CRoraRevirTimerDlg::PlaceWindow()
{
    const std::wstring stored = m_profile.GetProfileString(kPlaceSection, L"wndPos", L"");
    const CWindowRect r = RestoreWindowRect(stored, ScreenRects());
    setGeometry(r.left, r.top, r.Width(), r.Height());
}

void CRoraRevirTimerDlg::SaveWindowRect()
{
    const QRect g = geometry();
    const CWindowRect r{g.left(), g.top(), g.left() + g.width(), g.top() + g.height()};
    (void)m_profile.WriteProfileString(kPlaceSection, L"wndPos", FormatWindowRect(r));
}

void CRoraRevirTimerDlg::SetClock(std::function<int64_t()> now)
{
    m_now = std::move(now);
}

int64_t CRoraRevirTimerDlg::Now() const
{
    return m_now();
}

void CRoraRevirTimerDlg::UpdateFigures(int32_t hands, int32_t money, int32_t ev, int32_t diff)
{
    ShowFigures(hands, money, ev, diff, false);
}

void CRoraRevirTimerDlg::ShowFigures(
    int32_t hands, int32_t money, int32_t ev, int32_t diff, bool sample)
{
    const int64_t now = Now();
    const bool fromSample = m_sample;
    m_sample = sample;
    if (hands == 0) {
        m_clock.Restart(now);
        m_sessionHands.clear();
        m_alarms.Reset(m_settings);
    } else if (!sample && (hands > m_hands || fromSample)) {
        m_clock.HandsArrived(now);
    }
    m_hands = hands;
    m_money = money;
    m_ev = ev;
    m_diff = diff;
    m_lastUpdate = now;
    m_values[static_cast<int>(TrackerFigure::Hands)]->setText(QString::number(m_hands));
    m_values[static_cast<int>(TrackerFigure::Money)]->setText(Q(FormatCents(m_money)));
    m_values[static_cast<int>(TrackerFigure::Ev)]->setText(Q(FormatCents(m_ev)));
    m_values[static_cast<int>(TrackerFigure::Diff)]->setText(Q(FormatCents(m_diff)));
    m_time->setText(Q(FormatSessionTime(m_clock.Elapsed(now))));
    RefreshButtons();
    if (!m_sample) {
        CheckAlarms();
    }
    emit SessionChanged();
}

void CRoraRevirTimerDlg::HandsCounted(const std::vector<CSessionHand>& hands)
{
    m_sessionHands.insert(m_sessionHands.end(), hands.begin(), hands.end());
}

QString CRoraRevirTimerDlg::TimeText() const
{
    return m_time->text();
}
QString CRoraRevirTimerDlg::HandsText() const
{
    return FigureValue(TrackerFigure::Hands)->text();
}
QString CRoraRevirTimerDlg::MoneyText() const
{
    return FigureValue(TrackerFigure::Money)->text();
}
QString CRoraRevirTimerDlg::EvText() const
{
    return FigureValue(TrackerFigure::Ev)->text();
}
QString CRoraRevirTimerDlg::DiffText() const
{
    return FigureValue(TrackerFigure::Diff)->text();
}

QLabel* CRoraRevirTimerDlg::FigureValue(TrackerFigure figure) const
{
    return m_values[static_cast<int>(figure)];
}

QLabel* CRoraRevirTimerDlg::FigureLabel(TrackerFigure figure) const
{
    return m_labels[static_cast<int>(figure)];
}

void CRoraRevirTimerDlg::ApplyLook()
{
    QPalette pal = palette();
    pal.setColor(QPalette::Window, ColorFromRef(m_settings.background));
    setPalette(pal);
    setAutoFillBackground(true);
    for (int i = 0; i < kTrackerFigures; ++i) {
        const auto figure = static_cast<TrackerFigure>(i);
        const QFont font = FontFromLog(m_settings.fonts[i]);
        QColor color = ColorFromRef(m_settings.colors[i]);
        const bool flashing =
            m_flashesLeft % 2 == 1 &&
            std::find(m_flashing.begin(), m_flashing.end(), figure) != m_flashing.end();
        if (flashing) {
            color = QColor(255, 70, 60);
        }
        for (QLabel* label : {FigureValue(figure), FigureLabel(figure)}) {
            QPalette p = label->palette();
            p.setColor(QPalette::WindowText, color);
            label->setPalette(p);
            label->setFont(font);
        }
    }
    const QString code =
        QString::fromWCharArray(CCurrencyTable::Code(m_settings.currency.DisplayCurrency()));
    const QString tips[] = {tr("Money won this session, in %1"),
                            tr("All-in EV adjusted money won this session, in %1"),
                            tr("Money won less all-in EV (luck in all-in hands), in %1")};
    const TrackerFigure amounts[] = {TrackerFigure::Money, TrackerFigure::Ev, TrackerFigure::Diff};
    for (int i = 0; i < 3; ++i) {
        FigureValue(amounts[i])->setToolTip(tips[i].arg(code));
        FigureLabel(amounts[i])->setToolTip(tips[i].arg(code));
    }
}

void CRoraRevirTimerDlg::ApplyOpacity()
{
    // A window at a few percent could no longer be found on the screen; it
    // stays faintly visible.
    setWindowOpacity(std::max(m_settings.opacity, 15) / 100.0);
}

void CRoraRevirTimerDlg::ApplyAlarmIcons()
{
    m_icons[0]->setVisible(m_settings.handsAlarm != 0);
    m_icons[1]->setVisible(m_settings.moneyAlarm != 0);
    m_icons[2]->setVisible(m_settings.timeAlarm != 0);
}

void CRoraRevirTimerDlg::RunSettings()
{
    if (m_settingsRunner) {
        m_settingsRunner();
        return;
    }
    CDlgSettingsRoraRevir dialog(*this, m_profile, this);
    if (dialog.exec() == QDialog::Accepted) {
        ApplyAfterSettings();
    }
}

void CRoraRevirTimerDlg::ApplyAfterSettings()
{
    ApplyAlarmIcons();
    ApplyLook();
    ApplyOpacity();
    m_start->setEnabled(true);
    m_alarms.Reset(m_settings);
    // Levels already passed are not told again for this session.
    (void)m_alarms.Check(m_hands, m_money, m_clock.Elapsed(Now()));
    emit SessionChanged();
    update();
}

CSessionGraphWnd* CRoraRevirTimerDlg::ShowSessionGraph()
{
    if (!m_graph) {
        // A window of its own that goes with the tracker.
        m_graph = new CSessionGraphWnd(*this, m_db, this);
        m_graph->setAttribute(Qt::WA_DeleteOnClose);
    }
    m_graph->show();
    m_graph->raise();
    m_graph->activateWindow();
    return m_graph;
}

void CRoraRevirTimerDlg::StartTimer()
{
    m_clock.Start(Now());
    m_alarms.Reset(m_settings);
    m_pause->setChecked(false);
    RefreshTime();
    RefreshButtons();
}

void CRoraRevirTimerDlg::StopTimer()
{
    m_clock.Stop(Now());
    m_pause->setChecked(false);
    RefreshTime();
    RefreshButtons();
}

void CRoraRevirTimerDlg::PauseTimer()
{
    m_clock.TogglePause(Now());
    RefreshTime();
    RefreshButtons();
}

void CRoraRevirTimerDlg::RefreshButtons()
{
    const auto state = m_clock.GetState();
    const bool running =
        state == CSessionClock::State::Running || state == CSessionClock::State::Paused;
    m_start->setVisible(!running);
    m_stop->setVisible(running);
    m_pause->setVisible(running);
    m_pause->setChecked(state == CSessionClock::State::Paused);
    m_pause->setToolTip(state == CSessionClock::State::Paused
                            ? (m_clock.AutoPaused() ? tr("Paused: no hands for a while. "
                                                         "Resume timer")
                                                    : tr("Resume timer"))
                            : tr("Pause timer"));
}

void CRoraRevirTimerDlg::RefreshTime()
{
    m_time->setText(Q(FormatSessionTime(m_clock.Elapsed(Now()))));
}

void CRoraRevirTimerDlg::Tick()
{
    const int64_t now = Now();
    if (m_settings.autoPause != 0 && m_clock.CheckAutoPause(now, m_settings.autoPauseMin)) {
        RefreshButtons();
    }
    // Without the timer buttons the time is taken with the figures only.
    if (m_clock.GetState() != CSessionClock::State::Idle) {
        RefreshTime();
    }
    if (!m_sample) {
        CheckAlarms();
    }
}

void CRoraRevirTimerDlg::CheckAlarms()
{
    for (const TrackerAlarm alarm : m_alarms.Check(m_hands, m_money, m_clock.Elapsed(Now()))) {
        Raise(alarm);
    }
}

void CRoraRevirTimerDlg::Raise(TrackerAlarm alarm)
{
    QString file;
    TrackerFigure figure = TrackerFigure::Hands;
    int icon = 0;
    switch (alarm) {
    case TrackerAlarm::Hands:
        file = Q(m_settings.handsSound);
        break;
    case TrackerAlarm::TakeProfit:
        file = Q(m_settings.profitSound);
        figure = TrackerFigure::Money;
        icon = 1;
        break;
    case TrackerAlarm::StopLoss:
        file = Q(m_settings.lossSound);
        figure = TrackerFigure::Money;
        icon = 1;
        break;
    case TrackerAlarm::Time:
        file = Q(m_settings.timeSound);
        figure = TrackerFigure::Time;
        icon = 2;
        break;
    }
    m_sound.Play(alarm, file);
    m_icons[icon]->setPixmap(TrackerArt::AlarmIcon(alarm, true, kIconSize));
    m_icons[icon]->setVisible(true);
    m_lit.push_back(alarm);
    m_flashing.push_back(figure);
    m_flashesLeft = kFlashes;
    m_flashTimer->start();
    emit AlarmRaised(alarm);
}

void CRoraRevirTimerDlg::Flash()
{
    if (m_flashesLeft > 0) {
        --m_flashesLeft;
    }
    if (m_flashesLeft == 0) {
        m_flashTimer->stop();
        m_flashing.clear();
    }
    ApplyLook();
}

void CRoraRevirTimerDlg::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton) {
        // The window manager moves it where it can (the pointer stays on it);
        // otherwise we follow the pointer ourselves.
        if (windowHandle() != nullptr && windowHandle()->startSystemMove()) {
            m_dragging = false;
        } else {
            m_dragging = true;
            m_dragOffset = event->globalPosition().toPoint() - frameGeometry().topLeft();
        }
        event->accept();
        return;
    }
    QWidget::mousePressEvent(event);
}

void CRoraRevirTimerDlg::mouseMoveEvent(QMouseEvent* event)
{
    if (m_dragging && (event->buttons() & Qt::LeftButton)) {
        move(event->globalPosition().toPoint() - m_dragOffset);
        event->accept();
        return;
    }
    QWidget::mouseMoveEvent(event);
}

void CRoraRevirTimerDlg::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton && m_dragging) {
        m_dragging = false;
        SaveWindowRect();
        event->accept();
        return;
    }
    if (event->button() == Qt::RightButton) {
        m_menu->popup(mapToGlobal(rect().bottomLeft()));
        event->accept();
        return;
    }
    QWidget::mouseReleaseEvent(event);
}

void CRoraRevirTimerDlg::moveEvent(QMoveEvent* event)
{
    QWidget::moveEvent(event);
    // Where the window manager dropped it is known only now; kept shortly
    // after the last move, so a crash never loses the place.
    if (isVisible()) {
        m_saveTimer->start();
    }
}

void CRoraRevirTimerDlg::closeEvent(QCloseEvent* event)
{
    SaveWindowRect();
    QWidget::closeEvent(event);
}
