#include "tracker/CSessionGraphWnd.h"

#include "foundation/LocalTime.h"
#include "stats/HeroHands.h"
#include "tracker/CRoraRevirTimerDlg.h"
#include "tracker/CTrackerArt.h"
#include "tracker/TrackerCodecs.h"
#include "tracker/TrackerQtConversions.h"

#include <QChart>
#include <QChartView>
#include <QDateEdit>
#include <QDateTime>
#include <QHBoxLayout>
#include <QLabel>
#include <QLegend>
#include <QLegendMarker>
#include <QLineSeries>
#include <QPen>
#include <QRadioButton>
#include <QTimeZone>
#include <QVBoxLayout>
#include <QValueAxis>

#include <algorithm>

namespace {

QString Money(int64_t cents)
{
    return QString::fromStdWString(FormatCents(cents));
}

}  // namespace

CSessionGraphWnd::CSessionGraphWnd(CRoraRevirTimerDlg& tracker,
                                   kroDB::CDbContext* db,
                                   QWidget* parent)
    : QWidget(parent, Qt::Window)
    , m_tracker(tracker)
    , m_db(db)
    , m_day(QDate::currentDate())
{
    setObjectName(QStringLiteral("SessionGraphWnd"));
    setWindowTitle(tr("Session graph"));
    setWindowIcon(QIcon(TrackerArt::WindowIcon(32)));
    resize(760, 440);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(8, 8, 8, 8);
    auto* bar = new QHBoxLayout();
    m_sessionButton = new QRadioButton(tr("This session"), this);
    m_sessionButton->setObjectName(QStringLiteral("sessionMode"));
    m_dayButton = new QRadioButton(tr("Day"), this);
    m_dayButton->setObjectName(QStringLiteral("dayMode"));
    m_date = new QDateEdit(m_day, this);
    m_date->setObjectName(QStringLiteral("day"));
    m_date->setCalendarPopup(true);
    m_date->setDisplayFormat(QStringLiteral("yyyy-MM-dd"));
    m_date->setMaximumDate(QDate::currentDate().addDays(1));
    m_summary = new QLabel(this);
    m_summary->setObjectName(QStringLiteral("summary"));
    m_summary->setTextFormat(Qt::RichText);
    bar->addWidget(m_sessionButton);
    bar->addWidget(m_dayButton);
    bar->addWidget(m_date);
    bar->addSpacing(12);
    bar->addWidget(m_summary, 1);
    layout->addLayout(bar);
    if (m_db == nullptr) {
        m_dayButton->setEnabled(false);
        m_date->setEnabled(false);
        m_dayButton->setToolTip(tr("No database is open"));
    }

    m_chart = new QChart();
    m_chart->setTheme(QChart::ChartThemeDark);
    const CTrackerSettings& s = m_tracker.Settings();
    m_chart->setBackgroundBrush(ColorFromRef(s.background).darker(115));
    m_chart->setBackgroundRoundness(4);
    m_chart->setAnimationOptions(QChart::NoAnimation);
    m_chart->legend()->setAlignment(Qt::AlignTop);

    m_zero = new QLineSeries(m_chart);
    QPen zeroPen(QColor(150, 140, 145));
    zeroPen.setStyle(Qt::DashLine);
    zeroPen.setWidthF(1.0);
    m_zero->setPen(zeroPen);
    m_money = new QLineSeries(m_chart);
    m_money->setName(tr("Money won"));
    m_ev = new QLineSeries(m_chart);
    m_ev->setName(tr("All-in EV adjusted"));
    // The EV line is drawn over the wider money line, so both stay visible
    // where they run together (every hand without an all-in).
    m_chart->addSeries(m_zero);
    m_chart->addSeries(m_money);
    m_chart->addSeries(m_ev);
    m_chart->legend()->markers(m_zero).first()->setVisible(false);

    m_x = new QValueAxis(m_chart);
    m_x->setTitleText(tr("Hands"));
    m_x->setLabelFormat(QStringLiteral("%d"));
    m_y = new QValueAxis(m_chart);
    m_chart->addAxis(m_x, Qt::AlignBottom);
    m_chart->addAxis(m_y, Qt::AlignLeft);
    for (QLineSeries* series : {m_zero, m_money, m_ev}) {
        series->attachAxis(m_x);
        series->attachAxis(m_y);
    }

    m_view = new QChartView(m_chart, this);
    m_view->setRenderHint(QPainter::Antialiasing);
    layout->addWidget(m_view, 1);

    connect(m_sessionButton, &QRadioButton::clicked, this, &CSessionGraphWnd::ShowSession);
    connect(m_dayButton, &QRadioButton::clicked, this, [this] { (void)ShowDay(m_date->date()); });
    connect(m_date, &QDateEdit::dateChanged, this, [this](const QDate& day) {
        if (m_dayButton->isChecked()) {
            (void)ShowDay(day);
        }
    });
    connect(&m_tracker, &CRoraRevirTimerDlg::SessionChanged, this,
            &CSessionGraphWnd::SessionChanged);
    ShowSession();
}

void CSessionGraphWnd::ShowSession()
{
    m_session = true;
    m_sessionButton->setChecked(true);
    m_points = CumulativePoints(m_tracker.SessionHands(), m_tracker.Settings().currency);
    Draw();
}

bool CSessionGraphWnd::ShowDay(const QDate& day)
{
    m_session = false;
    m_day = day;
    m_dayButton->setChecked(true);
    if (m_date->date() != day) {
        const QSignalBlocker block(m_date);
        m_date->setDate(day);
    }
    m_points = CumulativePoints({}, m_tracker.Settings().currency);
    if (m_db == nullptr || !day.isValid()) {
        Draw();
        m_summary->setText(tr("No database is open"));
        return false;
    }
    const int64_t midnight = QDateTime(day, QTime(0, 0)).toSecsSinceEpoch();
    const int64_t next = QDateTime(day.addDays(1), QTime(0, 0)).toSecsSinceEpoch();
    const auto [from, to] = StoredUtcRangeOfDay(midnight, next - midnight, MeasureLocalUtcOffset());
    const auto hands = LoadHeroHands(*m_db, from, to);
    if (!hands) {
        Draw();
        m_summary->setText(tr("The database cannot be read"));
        return false;
    }
    m_points = CumulativePoints(AsSessionHands(*hands), m_tracker.Settings().currency);
    Draw();
    return true;
}

void CSessionGraphWnd::SessionChanged()
{
    if (m_session) {
        ShowSession();
    }
}

QString CSessionGraphWnd::Summary() const
{
    return m_summary->text();
}

void CSessionGraphWnd::Draw()
{
    const CTrackerSettings& s = m_tracker.Settings();
    QPen moneyPen(ColorFromRef(s.colors[static_cast<int>(TrackerFigure::Money)]));
    moneyPen.setWidthF(3.2);
    m_money->setPen(moneyPen);
    QColor evColor = ColorFromRef(s.colors[static_cast<int>(TrackerFigure::Ev)]);
    if (evColor == moneyPen.color()) {
        evColor = QColor(120, 200, 255);
    }
    QPen evPen(evColor);
    evPen.setWidthF(1.4);
    m_ev->setPen(evPen);

    QList<QPointF> money;
    QList<QPointF> ev;
    double low = 0;
    double high = 0;
    for (const CGraphPoint& p : m_points) {
        const double m = static_cast<double>(p.money) / 100.0;
        const double e = static_cast<double>(p.ev) / 100.0;
        money.append(QPointF(p.hand, m));
        ev.append(QPointF(p.hand, e));
        low = std::min({low, m, e});
        high = std::max({high, m, e});
    }
    m_money->replace(money);
    m_ev->replace(ev);
    const int hands = m_points.empty() ? 0 : m_points.back().hand;
    const int right = std::max(hands, 10);
    m_zero->replace(QList<QPointF>{QPointF(0, 0), QPointF(right, 0)});
    m_x->setRange(0, right);
    m_x->applyNiceNumbers();
    if (high - low < 1.0) {
        high += 1.0;
        low -= 1.0;
    }
    const double pad = (high - low) * 0.06;
    m_y->setRange(low - pad, high + pad);
    m_y->applyNiceNumbers();
    const QString code =
        QString::fromWCharArray(CCurrencyTable::Code(s.currency.DisplayCurrency()));
    m_y->setTitleText(code.isEmpty() ? tr("Money") : tr("Money (%1)").arg(code));

    const CGraphPoint last = m_points.empty() ? CGraphPoint{} : m_points.back();
    const QString what =
        m_session ? tr("This session") : m_day.toString(QStringLiteral("yyyy-MM-dd"));
    const QColor moneyColor = moneyPen.color();
    m_summary->setText(
        tr("<b>%1</b>: %2 hands &nbsp; Money <b><span style='color:%3'>%4</span></b> &nbsp; EV "
           "<b>%5</b> &nbsp; Diff <b>%6</b> %7")
            .arg(what)
            .arg(hands)
            .arg(moneyColor.lightness() > 200 ? QStringLiteral("#c08000") : moneyColor.name(),
                 Money(last.money), Money(last.ev), Money(last.money - last.ev), code));
    m_chart->setTitle(QString());
}
