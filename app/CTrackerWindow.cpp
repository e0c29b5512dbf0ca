#include "app/CTrackerWindow.h"

#include "tracker/CRoraRevirTimerDlg.h"
#include "tracker/CTrackerSound.h"

CTrackerWindow::CTrackerWindow(IProfile& profile, kroDB::CDbContext* db)
    : m_sound(std::make_unique<CTrackerSound>())
    , m_dialog(std::make_unique<CRoraRevirTimerDlg>(profile, *m_sound))
{
    m_dialog->SetDatabase(db);
}

CTrackerWindow::~CTrackerWindow()
{
    m_dialog.reset();
    m_sound.reset();
}

void CTrackerWindow::Show()
{
    m_dialog->show();
}

void CTrackerWindow::Hide()
{
    m_dialog->hide();
}

bool CTrackerWindow::IsVisible() const
{
    return m_dialog->isVisible();
}

void CTrackerWindow::ShowTopmost()
{
    // The window is made to stay on top; showing and raising is enough.
    m_dialog->show();
    m_dialog->raise();
}

void CTrackerWindow::Close()
{
    // Closing saves the window's place.
    m_dialog->close();
}

QWidget* CTrackerWindow::Widget()
{
    return m_dialog.get();
}

void CTrackerWindow::UpdateFigures(int32_t hands, int32_t money, int32_t ev, int32_t diff)
{
    m_dialog->UpdateFigures(hands, money, ev, diff);
}

void CTrackerWindow::HandsCounted(const std::vector<CSessionHand>& hands)
{
    m_dialog->HandsCounted(hands);
}

int CTrackerWindow::DisplayCurrency() const
{
    return m_dialog->DisplayCurrency();
}

double CTrackerWindow::CurrencyRate(int currency)
{
    return m_dialog->CurrencyRate(currency);
}
