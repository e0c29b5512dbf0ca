#include "app/CPlaceholderTracker.h"

#include "foundation/IProfile.h"

#include <QLabel>
#include <QVBoxLayout>

#include <cwchar>

CPlaceholderTracker::CPlaceholderTracker(QWidget* owner, IProfile& profile)
    : QWidget(owner, Qt::Tool | Qt::WindowStaysOnTopHint)
    , m_profile(profile)
    , m_figures(new QLabel(this))
{
    setObjectName(QStringLiteral("RoraRevir"));
    setWindowTitle(QStringLiteral("Session"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(10, 8, 10, 8);
    layout->addWidget(m_figures);
    QPalette p = palette();
    p.setColor(QPalette::Window, QColor(30, 30, 30));
    p.setColor(QPalette::WindowText, QColor(220, 220, 220));
    setPalette(p);
    setAutoFillBackground(true);
    QFont font = m_figures->font();
    font.setPointSize(11);
    font.setBold(true);
    m_figures->setFont(font);
    m_currency = m_profile.GetProfileInt(L"RoraRevirDlg_Currency", L"Cur", 0);
    const wchar_t* keys[] = {L"USD_K", L"EUR_K", L"GBP_K"};
    const wchar_t* defaults[] = {L"1.00", L"1.12", L"1.42"};
    for (int code = 0; code < 3; ++code) {
        const std::wstring text =
            m_profile.GetProfileString(L"RoraRevirDlg_Currency", keys[code], defaults[code]);
        m_rates[code] = std::wcstod(text.c_str(), nullptr);
    }
    const QStringList place =
        QString::fromStdWString(m_profile.GetProfileString(L"RoraRevirDlg", L"wndPos", L""))
            .split(QLatin1Char(','));
    if (place.size() == 4) {
        setGeometry(place[0].toInt(), place[1].toInt(), place[2].toInt(), place[3].toInt());
    } else {
        resize(300, 60);
    }
    UpdateFigures(0, 0, 0, 0);
}

std::unique_ptr<ITrackerWindow> CPlaceholderTracker::Make(QWidget* owner, IProfile& profile)
{
    return std::make_unique<CPlaceholderTracker>(owner, profile);
}

void CPlaceholderTracker::Show()
{
    show();
}

void CPlaceholderTracker::Hide()
{
    hide();
}

bool CPlaceholderTracker::IsVisible() const
{
    return isVisible();
}

void CPlaceholderTracker::ShowTopmost()
{
    show();
    raise();
}

void CPlaceholderTracker::Close()
{
    const QRect r = geometry();
    m_profile.WriteProfileString(L"RoraRevirDlg", L"wndPos",
                                 QStringLiteral("%1,%2,%3,%4")
                                     .arg(r.x())
                                     .arg(r.y())
                                     .arg(r.width())
                                     .arg(r.height())
                                     .toStdWString());
    hide();
}

void CPlaceholderTracker::UpdateFigures(int32_t hands, int32_t money, int32_t ev, int32_t diff)
{
    m_figures->setText(QStringLiteral("Hands %1   Money %2   EV %3   Diff %4")
                           .arg(hands)
                           .arg(money / 100.0, 0, 'f', 2)
                           .arg(ev / 100.0, 0, 'f', 2)
                           .arg(diff / 100.0, 0, 'f', 2));
}

double CPlaceholderTracker::CurrencyRate(int currency)
{
    return m_rates[currency];
}

QString CPlaceholderTracker::FiguresText() const
{
    return m_figures->text();
}
