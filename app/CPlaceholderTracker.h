// A plain session window that stands in for the session tracker: it shows the
// running session's hands, money, all-in EV and their difference, and keeps
// its place in the profile. Main thread only.
#pragma once

#include "app/ITrackerWindow.h"

#include <QWidget>

#include <map>

class QLabel;

class CPlaceholderTracker : public QWidget, public ITrackerWindow
{
    Q_OBJECT

public:
    // Requires: `profile` outlives this window.
    CPlaceholderTracker(QWidget* owner, IProfile& profile);

    static std::unique_ptr<ITrackerWindow> Make(QWidget* owner, IProfile& profile);

    void Show() override;
    void Hide() override;
    bool IsVisible() const override;
    void ShowTopmost() override;
    void Close() override;
    QWidget* Widget() override { return this; }

    void UpdateFigures(int32_t hands, int32_t money, int32_t ev, int32_t diff) override;
    int DisplayCurrency() const override { return m_currency; }
    double CurrencyRate(int currency) override;

    QString FiguresText() const;

private:
    IProfile& m_profile;
    QLabel* m_figures;
    int m_currency = 0;
    std::map<int, double> m_rates;
};
