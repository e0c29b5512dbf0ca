// Alarm sounds through Qt Multimedia where the machine has an audio output,
// the system beep otherwise (or when a file cannot be played). The program's
// own sounds are built into the program. GUI thread only.
#pragma once

#include "tracker/ITrackerSound.h"

#include <QObject>

#include <memory>

class QSoundEffect;

class CTrackerSound : public QObject, public ITrackerSound
{
    Q_OBJECT

public:
    explicit CTrackerSound(QObject* parent = nullptr);
    ~CTrackerSound() override;

    void Play(TrackerAlarm alarm, const QString& file) override;

    // The built-in sound of `alarm` ("qrc:" URL).
    static QString BuiltInSound(TrackerAlarm alarm);
    // Whether an audio output exists; without one every sound is a beep.
    static bool CanPlay();

private:
    // One effect at a time: a new alarm cuts the one still sounding.
    std::unique_ptr<QSoundEffect> m_effect;
};
