// Plays the tracker's alarm sounds. The tracker and its settings dialog take
// it by reference; the program gives them CTrackerSound, tests a recorder.
#pragma once

#include "tracker/CSessionAlarms.h"

#include <QString>

class ITrackerSound
{
public:
    virtual ~ITrackerSound() = default;
    // Starts playing `file` without waiting for it; an empty `file` plays the
    // program's own sound of `alarm`.
    virtual void Play(TrackerAlarm alarm, const QString& file) = 0;
};
