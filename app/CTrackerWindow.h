// The session tracker window as the main frame owns it: the tracker's own
// window with its sounds, behind the frame's tracker interface. It has no
// parent window, so it stays up above the tables when the main window is
// minimised. Main thread only.
#pragma once

#include "app/ITrackerWindow.h"

#include <memory>

class CRoraRevirTimerDlg;
class CTrackerSound;

namespace kroDB {
class CDbContext;
}

class CTrackerWindow : public ITrackerWindow
{
public:
    // `db` feeds the session graph's stored days; may be null. Requires:
    // `profile` and `db` outlive the window.
    CTrackerWindow(IProfile& profile, kroDB::CDbContext* db);
    ~CTrackerWindow() override;

    void Show() override;
    void Hide() override;
    bool IsVisible() const override;
    void ShowTopmost() override;
    void Close() override;
    QWidget* Widget() override;

    void UpdateFigures(int32_t hands, int32_t money, int32_t ev, int32_t diff) override;
    void HandsCounted(const std::vector<CSessionHand>& hands) override;
    int DisplayCurrency() const override;
    double CurrencyRate(int currency) override;

    CRoraRevirTimerDlg& Dialog() { return *m_dialog; }

private:
    std::unique_ptr<CTrackerSound> m_sound;
    std::unique_ptr<CRoraRevirTimerDlg> m_dialog;
};
