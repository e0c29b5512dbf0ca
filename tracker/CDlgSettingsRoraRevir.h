// The session tracker's settings dialog: the three alarms with their sounds,
// the start and pause options, the colours and fonts of the five figures, the
// opacity and the display currency with its rates. It works on the tracker
// itself: colours and fonts change the tracker at once; OK copies the rest
// back and writes every setting to the profile; Cancel writes nothing. Enter
// never closes it. GUI thread only; modal.
#pragma once

#include "tracker/CSessionAlarms.h"
#include "tracker/CTrackerSettings.h"

#include <QDialog>

#include <array>
#include <functional>

class CRoraRevirTimerDlg;
class CColorPopupButton;
class CxSkinButton;
class IProfile;
class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QSlider;
class QSpinBox;
class QToolButton;

class CDlgSettingsRoraRevir : public QDialog
{
    Q_OBJECT

public:
    // Copies the tracker's settings into the controls.
    // Requires: `tracker` and `profile` outlive the dialog.
    CDlgSettingsRoraRevir(CRoraRevirTimerDlg& tracker,
                          IProfile& profile,
                          QWidget* parent = nullptr);

    // Message boxes go here instead of on the screen (tests read them).
    void SetMessageHandler(std::function<void(const QString&)> handler)
    {
        m_message = std::move(handler);
    }
    // Replaces the font dialog: given the figure's font and colour, returns
    // true with the chosen ones (tests answer it themselves).
    using FontChooser = std::function<bool(QFont& font, QColor& color)>;
    void SetFontChooser(FontChooser chooser) { m_fontChooser = std::move(chooser); }
    // Replaces the file dialog of the sound browsers.
    void SetFileChooser(std::function<QString(const QString& current)> chooser)
    {
        m_fileChooser = std::move(chooser);
    }

    // The sound file filter of the browsers.
    static QString WaveFilter();

    // OK: checks the alarm time, copies the values into the tracker, writes
    // them to the profile and closes; stays open with the message "Alarm time
    // format 00:00 !" when the time is not four digits.
    void accept() override;

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    struct SoundRow
    {
        QLineEdit* file = nullptr;
        QToolButton* browse = nullptr;
        CxSkinButton* play = nullptr;
    };

    void BuildControls();
    SoundRow MakeSoundRow(const QString& name, TrackerAlarm alarm);
    void EnableGroups();
    void ShowDefaultRates(int display);
    void ChooseFont(TrackerFigure figure);
    void UpdateFontButton(TrackerFigure figure);
    void ShowMessage(const QString& text);
    int SelectedCurrency() const;

    CRoraRevirTimerDlg& m_tracker;
    IProfile& m_profile;
    std::function<void(const QString&)> m_message;
    FontChooser m_fontChooser;
    std::function<QString(const QString&)> m_fileChooser;

    QCheckBox* m_timeOn = nullptr;
    QLineEdit* m_time = nullptr;
    SoundRow m_timeSound;
    QCheckBox* m_handsOn = nullptr;
    QSpinBox* m_hands = nullptr;
    SoundRow m_handsSound;
    QCheckBox* m_moneyOn = nullptr;
    QCheckBox* m_takeProfitOn = nullptr;
    QSpinBox* m_takeProfit = nullptr;
    QCheckBox* m_trailingProfit = nullptr;
    SoundRow m_profitSound;
    QCheckBox* m_stopLossOn = nullptr;
    QSpinBox* m_stopLoss = nullptr;
    QCheckBox* m_trailingLoss = nullptr;
    SoundRow m_lossSound;
    QCheckBox* m_runOnStart = nullptr;
    QCheckBox* m_autoPause = nullptr;
    QSpinBox* m_autoPauseMin = nullptr;
    CColorPopupButton* m_background = nullptr;
    std::array<QPushButton*, kTrackerFigures> m_fontButtons{};
    QSlider* m_opacity = nullptr;
    QLabel* m_opacityLabel = nullptr;
    std::array<QRadioButton*, 3> m_currencies{};
    std::array<QLineEdit*, 3> m_rates{};
    QPushButton* m_test = nullptr;
};
