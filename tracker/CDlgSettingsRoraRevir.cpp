#include "tracker/CDlgSettingsRoraRevir.h"

#include "app/widgets/CxSkinButton.h"
#include "tracker/CColorPopupButton.h"
#include "tracker/CFontColorDialog.h"
#include "tracker/CRoraRevirTimerDlg.h"
#include "tracker/CTrackerArt.h"
#include "tracker/ITrackerSound.h"
#include "tracker/TrackerCodecs.h"
#include "tracker/TrackerQtConversions.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpressionValidator>
#include <QSlider>
#include <QSpinBox>
#include <QToolButton>
#include <QVBoxLayout>

#include <cmath>

namespace {

QString Q(const std::wstring& text)
{
    return QString::fromStdWString(text);
}

QGroupBox* Group(QWidget* parent)
{
    auto* box = new QGroupBox(parent);
    return box;
}

QCheckBox* Switch(const QString& text, const char* name, QWidget* parent)
{
    auto* box = new QCheckBox(text, parent);
    box->setObjectName(QLatin1String(name));
    QFont bold = box->font();
    bold.setBold(true);
    box->setFont(bold);
    return box;
}

QSpinBox* Spin(int low, int high, int value, const char* name, QWidget* parent)
{
    auto* spin = new QSpinBox(parent);
    spin->setRange(low, high);
    spin->setValue(value);
    spin->setObjectName(QLatin1String(name));
    spin->setAlignment(Qt::AlignRight);
    spin->setMinimumWidth(80);
    return spin;
}

// Amounts are edited as whole units: the stored amount is cut toward zero.
int Truncated(double value)
{
    if (!std::isfinite(value)) {
        return 0;
    }
    return static_cast<int>(std::clamp(std::trunc(value), -2147483647.0, 2147483647.0));
}

const char* const kFigureNames[] = {"fontTime", "fontHands", "fontMoney", "fontEv", "fontDiff"};

}  // namespace

CDlgSettingsRoraRevir::CDlgSettingsRoraRevir(CRoraRevirTimerDlg& tracker,
                                             IProfile& profile,
                                             QWidget* parent)
    : QDialog(parent)
    , m_tracker(tracker)
    , m_profile(profile)
{
    setObjectName(QStringLiteral("DlgSettingsRoraRevir"));
    setWindowTitle(tr("Session tracker settings"));
    BuildControls();

    const CTrackerSettings& s = m_tracker.Settings();
    m_moneyOn->setChecked(s.moneyAlarm != 0);
    m_takeProfitOn->setChecked(s.takeProfitOn != 0);
    m_takeProfit->setValue(Truncated(s.takeProfit));
    m_trailingProfit->setChecked(s.trailingTakeProfit != 0);
    m_stopLossOn->setChecked(s.stopLossOn != 0);
    m_stopLoss->setValue(Truncated(s.stopLoss));
    m_trailingLoss->setChecked(s.trailingStopLoss != 0);
    m_handsOn->setChecked(s.handsAlarm != 0);
    m_hands->setValue(s.handsCount);
    m_timeOn->setChecked(s.timeAlarm != 0);
    m_time->setText(Q(s.TimeAlarmText()));
    m_handsSound.file->setText(Q(s.handsSound));
    m_profitSound.file->setText(Q(s.profitSound));
    m_lossSound.file->setText(Q(s.lossSound));
    m_timeSound.file->setText(Q(s.timeSound));
    m_opacity->setValue(std::clamp(s.opacity, 1, 100));
    m_opacityLabel->setText(QString::number(m_opacity->value()) + QLatin1Char('%'));
    m_runOnStart->setChecked(s.runOnStart != 0);
    m_autoPause->setChecked(s.autoPause != 0);
    m_autoPauseMin->setValue(s.autoPauseMin);
    m_background->SetColor(ColorFromRef(s.background));
    for (int i = 0; i < kTrackerFigures; ++i) {
        UpdateFontButton(static_cast<TrackerFigure>(i));
    }

    CCurrencyTable& currency = m_tracker.Settings().currency;
    const int display = currency.DisplayCurrency();
    m_currencies[display]->setChecked(true);
    ShowDefaultRates(display);
    for (int i = 0; i < 3; ++i) {
        m_rates[i]->setText(Q(currency.At(i).text));
    }
    EnableGroups();
}

QString CDlgSettingsRoraRevir::WaveFilter()
{
    return QStringLiteral("Wave Files(*.wav)");
}

void CDlgSettingsRoraRevir::BuildControls()
{
    auto* columns = new QHBoxLayout();
    auto* left = new QVBoxLayout();
    auto* right = new QVBoxLayout();
    columns->addLayout(left, 3);
    columns->addLayout(right, 2);

    // Alarm time.
    {
        QGroupBox* box = Group(this);
        auto* grid = new QGridLayout(box);
        m_timeOn = Switch(tr("Alarm time"), "timeAlarm", box);
        grid->addWidget(m_timeOn, 0, 0, 1, 3);
        grid->addWidget(new QLabel(tr("Time"), box), 1, 0);
        m_time = new QLineEdit(box);
        m_time->setObjectName(QStringLiteral("alarmTime"));
        m_time->setInputMask(QStringLiteral("99:99;_"));
        m_time->setMaximumWidth(70);
        m_time->setToolTip(tr("Session time of the alarm, hours:minutes"));
        grid->addWidget(m_time, 1, 1);
        grid->setColumnStretch(2, 1);
        m_timeSound = MakeSoundRow(QStringLiteral("timeSound"), TrackerAlarm::Time);
        auto* row = new QHBoxLayout();
        row->addWidget(new QLabel(tr("Sound"), box));
        row->addWidget(m_timeSound.file, 1);
        row->addWidget(m_timeSound.browse);
        row->addWidget(m_timeSound.play);
        grid->addLayout(row, 2, 0, 1, 3);
        left->addWidget(box);
        connect(m_timeOn, &QCheckBox::toggled, this, &CDlgSettingsRoraRevir::EnableGroups);
    }
    // Alarm hands.
    {
        QGroupBox* box = Group(this);
        auto* grid = new QGridLayout(box);
        m_handsOn = Switch(tr("Alarm hands"), "handsAlarm", box);
        grid->addWidget(m_handsOn, 0, 0, 1, 3);
        grid->addWidget(new QLabel(tr("Hands"), box), 1, 0);
        m_hands = Spin(1, 9999, 700, "hands", box);
        grid->addWidget(m_hands, 1, 1);
        grid->setColumnStretch(2, 1);
        m_handsSound = MakeSoundRow(QStringLiteral("handsSound"), TrackerAlarm::Hands);
        auto* row = new QHBoxLayout();
        row->addWidget(new QLabel(tr("Sound"), box));
        row->addWidget(m_handsSound.file, 1);
        row->addWidget(m_handsSound.browse);
        row->addWidget(m_handsSound.play);
        grid->addLayout(row, 2, 0, 1, 3);
        left->addWidget(box);
        connect(m_handsOn, &QCheckBox::toggled, this, &CDlgSettingsRoraRevir::EnableGroups);
    }
    // Alarm money.
    {
        QGroupBox* box = Group(this);
        auto* grid = new QGridLayout(box);
        m_moneyOn = Switch(tr("Alarm money"), "moneyAlarm", box);
        grid->addWidget(m_moneyOn, 0, 0, 1, 4);

        m_takeProfitOn = new QCheckBox(tr("Take profit"), box);
        m_takeProfitOn->setObjectName(QStringLiteral("takeProfitOn"));
        m_takeProfit = Spin(1, 16959, 1000, "takeProfit", box);
        m_takeProfit->setToolTip(tr("Money won in the session, in the display currency"));
        m_trailingProfit = new QCheckBox(tr("Trailing"), box);
        m_trailingProfit->setObjectName(QStringLiteral("trailingTakeProfit"));
        m_trailingProfit->setToolTip(tr("After the alarm the target moves up by the same amount"));
        grid->addWidget(m_takeProfitOn, 1, 0);
        grid->addWidget(m_takeProfit, 1, 1);
        grid->addWidget(m_trailingProfit, 1, 2);
        m_profitSound = MakeSoundRow(QStringLiteral("profitSound"), TrackerAlarm::TakeProfit);
        auto* profitRow = new QHBoxLayout();
        profitRow->addWidget(new QLabel(tr("Sound"), box));
        profitRow->addWidget(m_profitSound.file, 1);
        profitRow->addWidget(m_profitSound.browse);
        profitRow->addWidget(m_profitSound.play);
        grid->addLayout(profitRow, 2, 0, 1, 4);

        m_stopLossOn = new QCheckBox(tr("Stop loss"), box);
        m_stopLossOn->setObjectName(QStringLiteral("stopLossOn"));
        m_stopLoss = Spin(-16959, -1, -1000, "stopLoss", box);
        m_stopLoss->setToolTip(tr("Money lost in the session, in the display currency"));
        m_trailingLoss = new QCheckBox(tr("Trailing"), box);
        m_trailingLoss->setObjectName(QStringLiteral("trailingStopLoss"));
        m_trailingLoss->setToolTip(
            tr("The stop follows the session's best money at the same distance"));
        grid->addWidget(m_stopLossOn, 3, 0);
        grid->addWidget(m_stopLoss, 3, 1);
        grid->addWidget(m_trailingLoss, 3, 2);
        m_lossSound = MakeSoundRow(QStringLiteral("lossSound"), TrackerAlarm::StopLoss);
        auto* lossRow = new QHBoxLayout();
        lossRow->addWidget(new QLabel(tr("Sound"), box));
        lossRow->addWidget(m_lossSound.file, 1);
        lossRow->addWidget(m_lossSound.browse);
        lossRow->addWidget(m_lossSound.play);
        grid->addLayout(lossRow, 4, 0, 1, 4);
        grid->setColumnStretch(3, 1);
        left->addWidget(box);
        connect(m_moneyOn, &QCheckBox::toggled, this, &CDlgSettingsRoraRevir::EnableGroups);
    }
    // Start and pause.
    {
        auto* row = new QHBoxLayout();
        m_runOnStart = new QCheckBox(tr(" Start at program startup"), this);
        m_runOnStart->setObjectName(QStringLiteral("runOnStart"));
        row->addWidget(m_runOnStart);
        row->addStretch(1);
        m_autoPause = new QCheckBox(tr("Auto Pause"), this);
        m_autoPause->setObjectName(QStringLiteral("autoPause"));
        m_autoPause->setToolTip(tr("Pause the timer after these minutes without a hand"));
        row->addWidget(m_autoPause);
        m_autoPauseMin = Spin(1, 999999, 3, "autoPauseMin", this);
        row->addWidget(m_autoPauseMin);
        row->addWidget(new QLabel(tr("mins"), this));
        left->addLayout(row);
        left->addStretch(1);
        connect(m_autoPause, &QCheckBox::toggled, this, &CDlgSettingsRoraRevir::EnableGroups);
    }

    // Appearance.
    {
        auto* box = new QGroupBox(tr("Appearance"), this);
        auto* grid = new QGridLayout(box);
        grid->addWidget(new QLabel(tr("Background"), box), 0, 0);
        m_background = new CColorPopupButton(ColorFromRef(kDefaultBackground), box);
        m_background->setObjectName(QStringLiteral("background"));
        grid->addWidget(m_background, 0, 1);
        connect(m_background, &CColorPopupButton::ColorChosen, this,
                [this](const QColor& color, bool automatic) {
                    m_tracker.Settings().background =
                        automatic ? kDefaultBackground : RefFromColor(color);
                    m_tracker.ApplyLook();
                    for (int i = 0; i < kTrackerFigures; ++i) {
                        UpdateFontButton(static_cast<TrackerFigure>(i));
                    }
                });
        const QString names[] = {tr("Time"), tr("Hand"), tr("Money"), tr("EV"), tr("Diff")};
        for (int i = 0; i < kTrackerFigures; ++i) {
            grid->addWidget(new QLabel(names[i], box), i + 1, 0);
            auto* button = new QPushButton(tr("Font"), box);
            button->setObjectName(QLatin1String(kFigureNames[i]));
            button->setAutoDefault(false);
            button->setToolTip(tr("Font and colour of this figure"));
            connect(button, &QPushButton::clicked, this,
                    [this, i] { ChooseFont(static_cast<TrackerFigure>(i)); });
            grid->addWidget(button, i + 1, 1);
            m_fontButtons[i] = button;
        }
        grid->addWidget(new QLabel(tr("Opacity"), box), 6, 0);
        auto* opacityRow = new QHBoxLayout();
        m_opacity = new QSlider(Qt::Horizontal, box);
        m_opacity->setObjectName(QStringLiteral("opacity"));
        m_opacity->setRange(1, 100);
        m_opacityLabel = new QLabel(box);
        m_opacityLabel->setObjectName(QStringLiteral("opacityLabel"));
        m_opacityLabel->setMinimumWidth(40);
        opacityRow->addWidget(m_opacity, 1);
        opacityRow->addWidget(m_opacityLabel);
        grid->addLayout(opacityRow, 6, 1);
        connect(m_opacity, &QSlider::valueChanged, this, [this](int value) {
            m_opacityLabel->setText(QString::number(value) + QLatin1Char('%'));
        });
        right->addWidget(box);
    }
    // Currency.
    {
        auto* box = new QGroupBox(tr("Curency"), this);
        auto* grid = new QGridLayout(box);
        const QString names[] = {tr(" USD"), tr(" EUR"), tr(" GBP")};
        const char* radioNames[] = {"curUSD", "curEUR", "curGBP"};
        const char* rateNames[] = {"rateUSD", "rateEUR", "rateGBP"};
        auto* validator = new QRegularExpressionValidator(
            QRegularExpression(QStringLiteral("\\s*\\d{0,6}([.,]\\d{0,6})?\\s*")), this);
        for (int i = 0; i < 3; ++i) {
            m_currencies[i] = new QRadioButton(names[i], box);
            m_currencies[i]->setObjectName(QLatin1String(radioNames[i]));
            m_rates[i] = new QLineEdit(box);
            m_rates[i]->setObjectName(QLatin1String(rateNames[i]));
            m_rates[i]->setValidator(validator);
            m_rates[i]->setMaximumWidth(90);
            m_rates[i]->setToolTip(
                tr("Value of one unit of this currency in the display currency"));
            grid->addWidget(m_currencies[i], i, 0);
            grid->addWidget(m_rates[i], i, 1);
            connect(m_currencies[i], &QRadioButton::clicked, this,
                    [this, i] { ShowDefaultRates(i); });
        }
        grid->setColumnStretch(2, 1);
        right->addWidget(box);
    }
    right->addStretch(1);

    auto* buttons = new QHBoxLayout();
    m_test = new QPushButton(tr("Test"), this);
    m_test->setObjectName(QStringLiteral("test"));
    m_test->setAutoDefault(false);
    m_test->setToolTip(tr("Show the chosen fonts and colours on the tracker"));
    connect(m_test, &QPushButton::clicked, this, [this] { m_tracker.ApplyLook(); });
    buttons->addWidget(m_test);
    buttons->addStretch(1);
    auto* box = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    box->button(QDialogButtonBox::Ok)->setObjectName(QStringLiteral("ok"));
    box->button(QDialogButtonBox::Cancel)->setObjectName(QStringLiteral("cancel"));
    for (QAbstractButton* b : box->buttons()) {
        if (auto* push = qobject_cast<QPushButton*>(b)) {
            push->setAutoDefault(false);
            push->setDefault(false);
        }
    }
    connect(box, &QDialogButtonBox::accepted, this, &CDlgSettingsRoraRevir::accept);
    connect(box, &QDialogButtonBox::rejected, this, &QDialog::reject);
    buttons->addWidget(box);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(columns);
    layout->addLayout(buttons);
}

CDlgSettingsRoraRevir::SoundRow CDlgSettingsRoraRevir::MakeSoundRow(const QString& name,
                                                                    TrackerAlarm alarm)
{
    SoundRow row;
    row.file = new QLineEdit(this);
    row.file->setObjectName(name);
    row.file->setPlaceholderText(tr("(built-in sound)"));
    row.file->setMinimumWidth(180);
    row.browse = new QToolButton(this);
    row.browse->setText(QStringLiteral("..."));
    row.browse->setObjectName(name + QStringLiteral("Browse"));
    row.browse->setToolTip(tr("Choose a sound file"));
    row.play = new CxSkinButton(this);
    const auto skin = TrackerArt::ButtonSkin(TrackerArt::Glyph::Sound, 22);
    row.play->SetSkin(skin.normal, skin.pressed, skin.hover, skin.disabled, skin.mask);
    row.play->SetToolTipText(tr("Play"));
    row.play->setObjectName(name + QStringLiteral("Play"));
    QLineEdit* file = row.file;
    connect(row.browse, &QToolButton::clicked, this, [this, file] {
        const QString chosen =
            m_fileChooser
                ? m_fileChooser(file->text())
                : QFileDialog::getOpenFileName(this, tr("Sound file"), file->text(), WaveFilter());
        if (!chosen.isEmpty()) {
            file->setText(chosen);
        }
    });
    connect(row.play, &QAbstractButton::clicked, this,
            [this, file, alarm] { m_tracker.Sound().Play(alarm, file->text().trimmed()); });
    return row;
}

void CDlgSettingsRoraRevir::EnableGroups()
{
    const bool hands = m_handsOn->isChecked();
    for (QWidget* w :
         {static_cast<QWidget*>(m_hands), static_cast<QWidget*>(m_handsSound.file),
          static_cast<QWidget*>(m_handsSound.browse), static_cast<QWidget*>(m_handsSound.play)}) {
        w->setEnabled(hands);
    }
    const bool money = m_moneyOn->isChecked();
    for (QWidget* w :
         {static_cast<QWidget*>(m_takeProfit), static_cast<QWidget*>(m_stopLoss),
          static_cast<QWidget*>(m_trailingProfit), static_cast<QWidget*>(m_trailingLoss),
          static_cast<QWidget*>(m_profitSound.file), static_cast<QWidget*>(m_profitSound.browse),
          static_cast<QWidget*>(m_profitSound.play), static_cast<QWidget*>(m_lossSound.file),
          static_cast<QWidget*>(m_lossSound.browse), static_cast<QWidget*>(m_lossSound.play)}) {
        w->setEnabled(money);
    }
    const bool time = m_timeOn->isChecked();
    for (QWidget* w :
         {static_cast<QWidget*>(m_time), static_cast<QWidget*>(m_timeSound.file),
          static_cast<QWidget*>(m_timeSound.browse), static_cast<QWidget*>(m_timeSound.play)}) {
        w->setEnabled(time);
    }
    m_autoPauseMin->setEnabled(m_autoPause->isChecked());
}

void CDlgSettingsRoraRevir::ShowDefaultRates(int display)
{
    const wchar_t* const* rates = CCurrencyTable::DefaultRates(display);
    for (int i = 0; i < 3; ++i) {
        m_rates[i]->setText(QString::fromWCharArray(rates[i]));
        // The display currency is worth one of itself.
        m_rates[i]->setEnabled(i != display);
    }
}

void CDlgSettingsRoraRevir::ChooseFont(TrackerFigure figure)
{
    CTrackerSettings& s = m_tracker.Settings();
    const int i = static_cast<int>(figure);
    QFont font = FontFromLog(s.fonts[i]);
    QColor color = ColorFromRef(s.colors[i]);
    bool chosen = false;
    if (m_fontChooser) {
        chosen = m_fontChooser(font, color);
    } else {
        CFontColorDialog dialog(font, color, ColorFromRef(s.background), this);
        chosen = dialog.exec() == QDialog::Accepted;
        font = dialog.SelectedFont();
        color = dialog.SelectedColor();
    }
    if (!chosen) {
        return;
    }
    s.fonts[i] = LogFromFont(font, s.fonts[i]);
    s.colors[i] = RefFromColor(color);
    m_tracker.ApplyLook();
    UpdateFontButton(figure);
}

void CDlgSettingsRoraRevir::UpdateFontButton(TrackerFigure figure)
{
    const CTrackerSettings& s = m_tracker.Settings();
    const int i = static_cast<int>(figure);
    QPushButton* button = m_fontButtons[i];
    // The button previews the figure: its colour on the tracker's background.
    button->setStyleSheet(
        QStringLiteral("QPushButton { color: %1; background: %2; "
                       "border: 1px solid #777; padding: 3px 14px; }")
            .arg(ColorFromRef(s.colors[i]).name(), ColorFromRef(s.background).name()));
    QFont font = FontFromLog(s.fonts[i]);
    font.setPixelSize(std::min(font.pixelSize(), 18));
    button->setFont(font);
}

void CDlgSettingsRoraRevir::ShowMessage(const QString& text)
{
    if (m_message) {
        m_message(text);
        return;
    }
    QMessageBox::information(this, windowTitle(), text);
}

int CDlgSettingsRoraRevir::SelectedCurrency() const
{
    for (int i = 0; i < 3; ++i) {
        if (m_currencies[i]->isChecked()) {
            return i;
        }
    }
    return 0;
}

void CDlgSettingsRoraRevir::accept()
{
    // The time is checked before anything is copied, so that a refused OK
    // leaves the tracker's settings as they were.
    const int minutes = ParseAlarmTime(m_time->displayText().toStdWString());
    if (minutes < 0) {
        ShowMessage(tr("Alarm time format 00:00 !"));
        m_time->setFocus();
        return;
    }

    CTrackerSettings& s = m_tracker.Settings();
    s.timeAlarm = m_timeOn->isChecked() ? 1 : 0;
    s.handsAlarm = m_handsOn->isChecked() ? 1 : 0;
    s.moneyAlarm = m_moneyOn->isChecked() ? 1 : 0;
    s.handsCount = m_hands->value();
    s.takeProfit = m_takeProfit->value();
    s.stopLoss = m_stopLoss->value();
    s.timeMinutes = minutes;

    s.handsSound = m_handsSound.file->text().trimmed().toStdWString();
    s.profitSound = m_profitSound.file->text().trimmed().toStdWString();
    s.lossSound = m_lossSound.file->text().trimmed().toStdWString();
    s.timeSound = m_timeSound.file->text().trimmed().toStdWString();
    s.opacity = m_opacity->value();
    s.runOnStart = m_runOnStart->isChecked() ? 1 : 0;
    s.autoPause = m_autoPause->isChecked() ? 1 : 0;
    s.autoPauseMin = m_autoPauseMin->value();
    s.currency.SetDisplayCurrency(SelectedCurrency());
    for (int i = 0; i < 3; ++i) {
        s.currency.SetRateText(i, m_rates[i]->text().toStdWString());
    }
    s.takeProfitOn = m_takeProfitOn->isChecked() ? 1 : 0;
    s.stopLossOn = m_stopLossOn->isChecked() ? 1 : 0;
    s.trailingTakeProfit = m_trailingProfit->isChecked() ? 1 : 0;
    s.trailingStopLoss = m_trailingLoss->isChecked() ? 1 : 0;

    m_tracker.ApplyLook();
    s.Save(m_profile);
    QDialog::accept();
}

void CDlgSettingsRoraRevir::keyPressEvent(QKeyEvent* event)
{
    // Enter confirms an edit, never the dialog.
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}
