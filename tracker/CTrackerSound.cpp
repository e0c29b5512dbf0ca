#include "tracker/CTrackerSound.h"

#include <QApplication>
#include <QAudioDevice>
#include <QFileInfo>
#include <QMediaDevices>
#include <QSoundEffect>
#include <QUrl>

// The sounds are built into the tracker's static library; the linker keeps
// them only when something asks for them by name.
static void InitTrackerResources()
{
    Q_INIT_RESOURCE(tracker);
}

CTrackerSound::CTrackerSound(QObject* parent)
    : QObject(parent)
{}

CTrackerSound::~CTrackerSound() = default;

QString CTrackerSound::BuiltInSound(TrackerAlarm alarm)
{
    static const bool initialised = [] {
        InitTrackerResources();
        return true;
    }();
    (void)initialised;
    switch (alarm) {
    case TrackerAlarm::Hands:
        return QStringLiteral("qrc:/tracker/sounds/hands.wav");
    case TrackerAlarm::TakeProfit:
        return QStringLiteral("qrc:/tracker/sounds/takeprofit.wav");
    case TrackerAlarm::StopLoss:
        return QStringLiteral("qrc:/tracker/sounds/stoploss.wav");
    case TrackerAlarm::Time:
        return QStringLiteral("qrc:/tracker/sounds/time.wav");
    }
    return QString();
}

bool CTrackerSound::CanPlay()
{
    return !QMediaDevices::audioOutputs().isEmpty();
}

void CTrackerSound::Play(TrackerAlarm alarm, const QString& file)
{
    QUrl source;
    if (file.isEmpty()) {
        source = QUrl(BuiltInSound(alarm));
    } else if (QFileInfo::exists(file)) {
        source = QUrl::fromLocalFile(file);
    }
    if (source.isEmpty() || !CanPlay()) {
        QApplication::beep();
        return;
    }
    m_effect = std::make_unique<QSoundEffect>();
    QSoundEffect* effect = m_effect.get();
    connect(effect, &QSoundEffect::statusChanged, this, [effect] {
        if (effect->status() == QSoundEffect::Error) {
            QApplication::beep();
        }
    });
    effect->setSource(source);
    effect->setVolume(0.9f);
    effect->play();
}
