// Everything the session tracker keeps in the profile: start and pause
// options, the look of the five figures, the opacity, the three alarms with
// their sounds, and the currency table. Loaded when the tracker window is
// made, written as a whole when its settings dialog closes with OK. Qt-free;
// main thread only.
#pragma once

#include "tracker/CCurrencyTable.h"
#include "tracker/CLogFont.h"

#include <array>
#include <cstdint>
#include <functional>
#include <string>

class IProfile;

// The five figures, in the order of their colour and font keys.
enum class TrackerFigure : int
{
    Time = 0,
    Hands = 1,
    Money = 2,
    Ev = 3,
    Diff = 4,
};
inline constexpr int kTrackerFigures = 5;

// Colours are stored as Windows colour values: red in the low byte, then
// green, then blue.
inline constexpr int32_t kDefaultBackground = 3617341;

struct CTrackerSettings
{
    // Start and pause.
    int runOnStart = 0;
    int autoPause = 0;
    int autoPauseMin = 3;

    // Look.
    int32_t background = kDefaultBackground;
    std::array<int32_t, kTrackerFigures> colors{16777215, 49939, 49407, 16777215, 16777215};
    std::array<CLogFont, kTrackerFigures> fonts{};
    int opacity = 100;

    // Hands alarm.
    int handsAlarm = 0;
    int handsCount = 700;
    std::wstring handsSound;

    // Money alarm: amounts in units of the display currency.
    int moneyAlarm = 0;
    double takeProfit = 1000;
    double stopLoss = -1000;
    std::wstring profitSound;
    std::wstring lossSound;
    int takeProfitOn = 0;
    int stopLossOn = 0;
    int trailingTakeProfit = 0;
    int trailingStopLoss = 0;

    // Time alarm, in minutes of session time.
    int timeAlarm = 0;
    int timeMinutes = 60;
    std::wstring timeSound;

    CCurrencyTable currency;

    // Reads every key, with the defaults for missing ones. A sound file that
    // `fileExists` does not find is emptied. Font records that cannot be read
    // give the default font; an opacity outside 0 to 100 is clamped.
    void Load(IProfile& profile, const std::function<bool(const std::wstring&)>& fileExists);

    // Writes what the settings dialog's OK writes: start and pause options,
    // colours, fonts, the three alarms with their sounds and switches, the
    // opacity and the currency table.
    void Save(IProfile& profile) const;

    // The alarm time as "%02d:%02d".
    std::wstring TimeAlarmText() const;
};
