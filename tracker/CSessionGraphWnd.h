// The session graph: money won and all-in EV adjusted money hand by hand, for
// the tracker's current session (drawn anew as hands arrive) or for any
// stored day, in the display currency. Opened from the tracker's context
// menu. GUI thread only.
#pragma once

#include "tracker/SessionGraphPoints.h"

#include <QDate>
#include <QPointer>
#include <QWidget>

#include <vector>

class CRoraRevirTimerDlg;
class QChart;
class QChartView;
class QDateEdit;
class QLabel;
class QLineSeries;
class QRadioButton;
class QValueAxis;

namespace kroDB {
class CDbContext;
}

class CSessionGraphWnd : public QWidget
{
    Q_OBJECT

public:
    // Requires: `tracker` outlives the window or deletes it; `db` (may be
    // null: no stored days) outlives it.
    CSessionGraphWnd(CRoraRevirTimerDlg& tracker, kroDB::CDbContext* db, QWidget* parent = nullptr);

    // Draws the tracker's session (and follows it).
    void ShowSession();
    // Draws the hero's stored hands of the local calendar day `day`. False
    // (with the reason shown) without a database or when it cannot be read.
    bool ShowDay(const QDate& day);
    bool ShowingSession() const { return m_session; }

    const std::vector<CGraphPoint>& Points() const { return m_points; }
    QString Summary() const;
    QChart* Chart() const { return m_chart; }

private:
    void Draw();
    void SessionChanged();

    CRoraRevirTimerDlg& m_tracker;
    kroDB::CDbContext* m_db;
    bool m_session = true;
    QDate m_day;
    std::vector<CGraphPoint> m_points;

    QRadioButton* m_sessionButton = nullptr;
    QRadioButton* m_dayButton = nullptr;
    QDateEdit* m_date = nullptr;
    QLabel* m_summary = nullptr;
    QChart* m_chart = nullptr;
    QChartView* m_view = nullptr;
    QLineSeries* m_money = nullptr;
    QLineSeries* m_ev = nullptr;
    QLineSeries* m_zero = nullptr;
    QValueAxis* m_x = nullptr;
    QValueAxis* m_y = nullptr;
};
