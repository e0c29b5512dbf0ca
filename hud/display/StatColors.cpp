#include "hud/display/StatColors.h"

#include <array>

namespace StatColors {

namespace {

// Lower bounds of the green, orange and red bands of each statistic.
constexpr std::array<std::array<double, 3>, 4> kBands = {{
    {22.0, 32.0, 45.0},
    {8.0, 18.0, 26.0},
    {3.0, 7.0, 11.0},
    {2.0, 6.0, 12.0},
}};

}  // namespace

QColor Background()
{
    return QColor(0x14, 0x17, 0x1c);
}

QColor Border()
{
    return QColor(0x4a, 0x52, 0x5e);
}

QColor NameText()
{
    return QColor(0xb8, 0xbe, 0xc8);
}

QColor PlainNumber()
{
    return QColor(0xf0, 0xf0, 0xf0);
}

QColor Hands(int hands)
{
    return hands < kReliableHands ? QColor(0x8c, 0x92, 0x9c) : QColor(0xff, 0xff, 0xff);
}

QColor ForValue(HudStat stat, double percent)
{
    const auto& bands = kBands[static_cast<size_t>(stat)];
    if (percent < bands[0]) {
        return QColor(0x5c, 0xb3, 0xff);
    }
    if (percent < bands[1]) {
        return QColor(0x5e, 0xd8, 0x6a);
    }
    if (percent < bands[2]) {
        return QColor(0xff, 0xa6, 0x3d);
    }
    return QColor(0xff, 0x5b, 0x5b);
}

}  // namespace StatColors
