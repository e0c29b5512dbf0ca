// The tracker's settings dialog as a real widget: what it shows, what OK
// writes, what it refuses, and that Enter never closes it.
#include "app/widgets/CxSkinButton.h"
#include "tracker/CColorPopupButton.h"
#include "tracker/CDlgSettingsRoraRevir.h"
#include "tracker/CRoraRevirTimerDlg.h"
#include "tracker/TrackerQtConversions.h"
#include "tracker/tests/TrackerTestHelpers.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QSpinBox>
#include <QTest>

#include <set>

namespace {

using vxtest::CRecordingProfile;
using vxtest::CRecordingSound;

class SettingsDialogTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_tracker = std::make_unique<CRoraRevirTimerDlg>(m_profile, m_sound);
        Open();
    }

    void Open()
    {
        m_dialog = std::make_unique<CDlgSettingsRoraRevir>(*m_tracker, m_profile);
        m_dialog->SetMessageHandler([this](const QString& text) { m_messages.push_back(text); });
        m_profile.writes.clear();
    }

    template <typename T>
    T* Child(const char* name)
    {
        T* child = m_dialog->findChild<T*>(QLatin1String(name));
        EXPECT_NE(child, nullptr) << name;
        return child;
    }

    void ClickOk() { QTest::mouseClick(Child<QPushButton>("ok"), Qt::LeftButton); }

    CRecordingProfile m_profile;
    CRecordingSound m_sound;
    std::unique_ptr<CRoraRevirTimerDlg> m_tracker;
    std::unique_ptr<CDlgSettingsRoraRevir> m_dialog;
    std::vector<QString> m_messages;
};

TEST_F(SettingsDialogTest, OkWritesExactlyTheTrackersKeysInTheirFormats)
{
    m_dialog->show();
    ClickOk();
    EXPECT_EQ(m_dialog->result(), QDialog::Accepted);
    EXPECT_TRUE(m_messages.empty());

    const std::vector<std::pair<std::wstring, std::wstring>> expected = {
        {L"RoraRevirDlg_BaseInfo", L"RunOnStart"},
        {L"RoraRevirDlg_BaseInfo", L"AutoPause"},
        {L"RoraRevirDlg_BaseInfo", L"AutoPauseMin"},
        {L"RoraRevirDlg_View", L"ColorBg"},
        {L"RoraRevirDlg_View", L"ColorText"},
        {L"RoraRevirDlg_View", L"ColorText2"},
        {L"RoraRevirDlg_View", L"ColorText3"},
        {L"RoraRevirDlg_View", L"ColorText4"},
        {L"RoraRevirDlg_View", L"ColorText5"},
        {L"RoraRevirDlg_View", L"FontText"},
        {L"RoraRevirDlg_View", L"FontText2"},
        {L"RoraRevirDlg_View", L"FontText3"},
        {L"RoraRevirDlg_View", L"FontText4"},
        {L"RoraRevirDlg_View", L"FontText5"},
        {L"RoraRevirDlg_Alarm", L"Param"},
        {L"RoraRevirDlg_Alarm", L"Sound"},
        {L"RoraRevirDlg_Alarm2", L"Param"},
        {L"RoraRevirDlg_Alarm2", L"Sound"},
        {L"RoraRevirDlg_Alarm2", L"SoundLoss"},
        {L"RoraRevirDlg_Alarm2", L"TakeProfit"},
        {L"RoraRevirDlg_Alarm2", L"StopLoss"},
        {L"RoraRevirDlg_Alarm2", L"TrailingTakeProfit"},
        {L"RoraRevirDlg_Alarm2", L"TrailingStopLoss"},
        {L"RoraRevirDlg_Alarm3", L"Param"},
        {L"RoraRevirDlg_Alarm3", L"Sound"},
        {L"RoraRevirDlg_View", L"Opacity"},
        {L"RoraRevirDlg_Currency", L"Cur"},
        {L"RoraRevirDlg_Currency", L"USD_K"},
        {L"RoraRevirDlg_Currency", L"EUR_K"},
        {L"RoraRevirDlg_Currency", L"GBP_K"},
    };
    EXPECT_EQ(m_profile.writes, expected);

    auto str = [&](const wchar_t* section, const wchar_t* key) {
        return m_profile.GetProfileString(section, key, L"<none>");
    };
    EXPECT_EQ(str(L"RoraRevirDlg_Alarm", L"Param"), L"0:700");
    EXPECT_EQ(str(L"RoraRevirDlg_Alarm2", L"Param"), L"0:1000.00:-1000.00");
    EXPECT_EQ(str(L"RoraRevirDlg_Alarm3", L"Param"), L"0:60");
    EXPECT_EQ(str(L"RoraRevirDlg_View", L"FontText"),
              L"fffffff0,0,0,0,190,0,0,0,0,0,0,0,20,Times New Roman");
    EXPECT_EQ(m_profile.GetProfileInt(L"RoraRevirDlg_View", L"ColorBg", 0), 3617341);
    EXPECT_EQ(m_profile.GetProfileInt(L"RoraRevirDlg_View", L"ColorText3", 0), 49407);
    EXPECT_EQ(m_profile.GetProfileInt(L"RoraRevirDlg_View", L"Opacity", 0), 100);
    EXPECT_EQ(str(L"RoraRevirDlg_Currency", L"EUR_K"), L"1.12");
}

TEST_F(SettingsDialogTest, ChangedValuesReachTheTrackerAndTheProfile)
{
    Child<QCheckBox>("handsAlarm")->setChecked(true);
    Child<QSpinBox>("hands")->setValue(250);
    Child<QCheckBox>("moneyAlarm")->setChecked(true);
    Child<QCheckBox>("takeProfitOn")->setChecked(true);
    Child<QSpinBox>("takeProfit")->setValue(300);
    Child<QSpinBox>("stopLoss")->setValue(-150);
    Child<QCheckBox>("trailingStopLoss")->setChecked(true);
    Child<QCheckBox>("timeAlarm")->setChecked(true);
    Child<QLineEdit>("alarmTime")->setText(QStringLiteral("01:30"));
    Child<QSlider>("opacity")->setValue(70);
    Child<QCheckBox>("autoPause")->setChecked(true);
    Child<QSpinBox>("autoPauseMin")->setValue(7);
    Child<QLineEdit>("lossSound")->setText(QStringLiteral("  /tmp/lost.wav "));
    EXPECT_EQ(Child<QLabel>("opacityLabel")->text(), QStringLiteral("70%"));
    ClickOk();

    const CTrackerSettings& s = m_tracker->Settings();
    EXPECT_EQ(s.handsCount, 250);
    EXPECT_EQ(s.timeMinutes, 90);
    EXPECT_EQ(s.opacity, 70);
    EXPECT_EQ(s.lossSound, L"/tmp/lost.wav");
    EXPECT_EQ(m_profile.GetProfileString(L"RoraRevirDlg_Alarm", L"Param", L""), L"1:250");
    EXPECT_EQ(m_profile.GetProfileString(L"RoraRevirDlg_Alarm2", L"Param", L""),
              L"1:300.00:-150.00");
    EXPECT_EQ(m_profile.GetProfileInt(L"RoraRevirDlg_Alarm2", L"TakeProfit", 0), 1);
    EXPECT_EQ(m_profile.GetProfileInt(L"RoraRevirDlg_Alarm2", L"TrailingStopLoss", 0), 1);
    EXPECT_EQ(m_profile.GetProfileString(L"RoraRevirDlg_Alarm3", L"Param", L""), L"1:90");
    EXPECT_EQ(m_profile.GetProfileInt(L"RoraRevirDlg_BaseInfo", L"AutoPauseMin", 0), 7);
    // The icons follow the alarm switches.
    m_tracker->ApplyAfterSettings();
    for (const char* icon : {"handsAlarmIcon", "moneyAlarmIcon", "timeAlarmIcon"}) {
        EXPECT_FALSE(m_tracker->findChild<QLabel*>(QLatin1String(icon))->isHidden()) << icon;
    }
    m_tracker->Settings().moneyAlarm = 0;
    m_tracker->ApplyAlarmIcons();
    EXPECT_TRUE(m_tracker->findChild<QLabel*>(QStringLiteral("moneyAlarmIcon"))->isHidden());

    // Opened again, it shows what was stored: 90 minutes as 01:30.
    Open();
    EXPECT_EQ(Child<QLineEdit>("alarmTime")->displayText(), QStringLiteral("01:30"));
    EXPECT_EQ(Child<QSpinBox>("stopLoss")->value(), -150);
}

TEST_F(SettingsDialogTest, AnAlarmTimeOfFewerThanFourDigitsIsRefusedAndChangesNothing)
{
    m_dialog->show();
    Child<QCheckBox>("handsAlarm")->setChecked(true);
    Child<QCheckBox>("timeAlarm")->setChecked(true);
    auto* time = Child<QLineEdit>("alarmTime");
    time->setFocus();
    time->clear();
    QTest::keyClicks(time, QStringLiteral("13"));
    EXPECT_EQ(time->displayText(), QStringLiteral("13:__"));
    ClickOk();
    ASSERT_EQ(m_messages.size(), 1u);
    EXPECT_EQ(m_messages[0], QStringLiteral("Alarm time format 00:00 !"));
    EXPECT_TRUE(m_dialog->isVisible());
    EXPECT_NE(m_dialog->result(), QDialog::Accepted);
    EXPECT_TRUE(m_profile.writes.empty());
    // A refused OK leaves the tracker as it was.
    EXPECT_EQ(m_tracker->Settings().handsAlarm, 0);
    EXPECT_EQ(m_tracker->Settings().timeAlarm, 0);

    QTest::keyClicks(time, QStringLiteral("05"));
    ClickOk();
    EXPECT_EQ(m_dialog->result(), QDialog::Accepted);
    EXPECT_EQ(m_tracker->Settings().timeMinutes, 13 * 60 + 5);
}

TEST_F(SettingsDialogTest, EnterInAnyFieldKeepsTheDialogOpen)
{
    m_dialog->show();
    for (const char* name : {"hands", "takeProfit", "autoPauseMin"}) {
        auto* spin = Child<QSpinBox>(name);
        spin->setEnabled(true);
        spin->setFocus();
        QTest::keyClick(spin, Qt::Key_Return);
        QTest::keyClick(spin, Qt::Key_Enter);
        EXPECT_TRUE(m_dialog->isVisible()) << name;
    }
    for (const char* name : {"alarmTime", "rateEUR", "handsSound"}) {
        auto* edit = Child<QLineEdit>(name);
        edit->setEnabled(true);
        edit->setFocus();
        QTest::keyClick(edit, Qt::Key_Return);
        EXPECT_TRUE(m_dialog->isVisible()) << name;
    }
    QTest::keyClick(m_dialog.get(), Qt::Key_Return);
    EXPECT_TRUE(m_dialog->isVisible());
    EXPECT_NE(m_dialog->result(), QDialog::Accepted);
    EXPECT_TRUE(m_profile.writes.empty());
}

TEST_F(SettingsDialogTest, CancelWritesNothingButAChosenFontStaysWithTheTracker)
{
    m_dialog->SetFontChooser([](QFont& font, QColor& color) {
        font = QFont(QStringLiteral("DejaVu Sans"));
        font.setPixelSize(30);
        color = QColor(0, 200, 255);
        return true;
    });
    m_dialog->show();
    QTest::mouseClick(Child<QPushButton>("fontMoney"), Qt::LeftButton);
    Child<QSpinBox>("hands")->setValue(42);
    QTest::mouseClick(Child<QPushButton>("cancel"), Qt::LeftButton);
    EXPECT_EQ(m_dialog->result(), QDialog::Rejected);
    EXPECT_TRUE(m_profile.writes.empty());
    const CTrackerSettings& s = m_tracker->Settings();
    EXPECT_EQ(s.handsCount, 700);
    EXPECT_EQ(s.fonts[2].faceName, L"DejaVu Sans");
    EXPECT_EQ(s.fonts[2].height, -30);
    EXPECT_EQ(s.colors[2], RefFromColor(QColor(0, 200, 255)));
    auto* money = m_tracker->findChild<QLabel*>(QStringLiteral("moneyValue"));
    EXPECT_EQ(money->font().pixelSize(), 30);
}

TEST_F(SettingsDialogTest, TheBackgroundColourOffersDefaultAndOtherInFiveColumns)
{
    auto* button = Child<CColorPopupButton>("background");
    EXPECT_EQ(button->Color(), QColor(61, 50, 55));
    EXPECT_EQ(CColorPopupButton::PaletteColors().size() % 5, 0);
    auto* other = button->Popup()->findChild<QPushButton*>(QStringLiteral("otherColor"));
    ASSERT_NE(other, nullptr);
    EXPECT_EQ(other->text(), QStringLiteral("Other..."));
    auto* automatic = button->Popup()->findChild<QPushButton*>(QStringLiteral("automaticColor"));
    ASSERT_NE(automatic, nullptr);
    EXPECT_EQ(automatic->text(), QStringLiteral("Default"));

    button->Choose(QColor(20, 60, 35));
    EXPECT_EQ(m_tracker->Settings().background, RefFromColor(QColor(20, 60, 35)));
    EXPECT_EQ(m_tracker->palette().color(QPalette::Window), QColor(20, 60, 35));
    QTest::mouseClick(automatic, Qt::LeftButton);
    EXPECT_EQ(m_tracker->Settings().background, 3617341);
    ClickOk();
    EXPECT_EQ(m_profile.GetProfileInt(L"RoraRevirDlg_View", L"ColorBg", 0), 3617341);
}

TEST_F(SettingsDialogTest, ChoosingADisplayCurrencyShowsItsDefaultRates)
{
    m_profile.WriteProfileString(L"RoraRevirDlg_Currency", L"EUR_K", L"1.05");
    m_tracker = std::make_unique<CRoraRevirTimerDlg>(m_profile, m_sound);
    Open();
    // Opening shows the stored rates.
    EXPECT_EQ(Child<QLineEdit>("rateEUR")->text(), QStringLiteral("1.05"));
    EXPECT_TRUE(Child<QRadioButton>("curUSD")->isChecked());
    EXPECT_FALSE(Child<QLineEdit>("rateUSD")->isEnabled());

    QTest::mouseClick(Child<QRadioButton>("curEUR"), Qt::LeftButton);
    EXPECT_EQ(Child<QLineEdit>("rateUSD")->text(), QStringLiteral("0.89"));
    EXPECT_EQ(Child<QLineEdit>("rateEUR")->text(), QStringLiteral("1.00"));
    EXPECT_EQ(Child<QLineEdit>("rateGBP")->text(), QStringLiteral("1.27"));
    EXPECT_FALSE(Child<QLineEdit>("rateEUR")->isEnabled());
    EXPECT_TRUE(Child<QLineEdit>("rateUSD")->isEnabled());
    ClickOk();
    EXPECT_EQ(m_profile.GetProfileInt(L"RoraRevirDlg_Currency", L"Cur", -1), 1);
    EXPECT_EQ(m_profile.GetProfileString(L"RoraRevirDlg_Currency", L"USD_K", L""), L"0.89");
    EXPECT_EQ(m_tracker->DisplayCurrency(), 1);
    EXPECT_DOUBLE_EQ(m_tracker->CurrencyRate(0), 0.89);
}

TEST_F(SettingsDialogTest, EachAlarmSwitchEnablesItsOwnFields)
{
    EXPECT_FALSE(Child<QSpinBox>("hands")->isEnabled());
    EXPECT_FALSE(Child<QLineEdit>("alarmTime")->isEnabled());
    EXPECT_FALSE(Child<QSpinBox>("autoPauseMin")->isEnabled());
    EXPECT_FALSE(Child<QSpinBox>("takeProfit")->isEnabled());
    // The take-profit and stop-loss switches stay usable.
    EXPECT_TRUE(Child<QCheckBox>("takeProfitOn")->isEnabled());
    EXPECT_TRUE(Child<QCheckBox>("stopLossOn")->isEnabled());
    Child<QCheckBox>("moneyAlarm")->setChecked(true);
    EXPECT_TRUE(Child<QSpinBox>("takeProfit")->isEnabled());
    EXPECT_TRUE(Child<QCheckBox>("trailingStopLoss")->isEnabled());
    EXPECT_TRUE(Child<CxSkinButton>("lossSoundPlay")->isEnabled());
    EXPECT_FALSE(Child<QSpinBox>("hands")->isEnabled());
    Child<QCheckBox>("handsAlarm")->setChecked(true);
    EXPECT_TRUE(Child<QSpinBox>("hands")->isEnabled());
    // Limits of the counts.
    EXPECT_EQ(Child<QSpinBox>("hands")->minimum(), 1);
    EXPECT_EQ(Child<QSpinBox>("hands")->maximum(), 9999);
    EXPECT_EQ(Child<QSpinBox>("stopLoss")->maximum(), -1);
    EXPECT_EQ(Child<QSlider>("opacity")->minimum(), 1);
}

TEST_F(SettingsDialogTest, PlayButtonsPlayTheFieldOrTheBuiltInSound)
{
    Child<QCheckBox>("handsAlarm")->setChecked(true);
    Child<QCheckBox>("timeAlarm")->setChecked(true);
    m_dialog->show();
    QTest::mouseClick(Child<CxSkinButton>("handsSoundPlay"), Qt::LeftButton, Qt::NoModifier,
                      QPoint(11, 11));
    Child<QLineEdit>("timeSound")->setText(QStringLiteral("/home/me/gong.wav"));
    QTest::mouseClick(Child<CxSkinButton>("timeSoundPlay"), Qt::LeftButton, Qt::NoModifier,
                      QPoint(11, 11));
    ASSERT_EQ(m_sound.played.size(), 2u);
    EXPECT_EQ(m_sound.played[0], std::make_pair(TrackerAlarm::Hands, QString()));
    EXPECT_EQ(m_sound.played[1],
              std::make_pair(TrackerAlarm::Time, QStringLiteral("/home/me/gong.wav")));
    EXPECT_EQ(CDlgSettingsRoraRevir::WaveFilter(), QStringLiteral("Wave Files(*.wav)"));
    // The browser fills the field with the chosen file.
    m_dialog->SetFileChooser([](const QString&) { return QStringLiteral("/home/me/chips.wav"); });
    QTest::mouseClick(Child<QToolButton>("handsSoundBrowse"), Qt::LeftButton);
    EXPECT_EQ(Child<QLineEdit>("handsSound")->text(), QStringLiteral("/home/me/chips.wav"));
}

}  // namespace
