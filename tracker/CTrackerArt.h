// The tracker's own images, painted at run time: the round timer and sound
// buttons in their four looks with a round mask, and the three alarm icons.
// GUI thread only (QPixmap).
#pragma once

#include "tracker/CSessionAlarms.h"

#include <QBitmap>
#include <QPixmap>

namespace TrackerArt {

enum class Glyph
{
    Start,
    Stop,
    Pause,
    Sound,
};

struct CSkin
{
    QPixmap normal;
    QPixmap pressed;
    QPixmap hover;
    QPixmap disabled;
    QBitmap mask;
};

// A round button of `size` pixels with the glyph.
CSkin ButtonSkin(Glyph glyph, int size);

// The icon of an alarm (cards for hands, a coin for money, a clock for time);
// `lit` draws it as sounding.
QPixmap AlarmIcon(TrackerAlarm alarm, bool lit, int size);

// The program's icon for the tracker and graph windows.
QPixmap WindowIcon(int size);

}  // namespace TrackerArt
