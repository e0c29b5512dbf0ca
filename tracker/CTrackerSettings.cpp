#include "tracker/CTrackerSettings.h"

#include "foundation/IProfile.h"
#include "tracker/TrackerCodecs.h"

#include <algorithm>

namespace {

const wchar_t* const kBase = L"RoraRevirDlg_BaseInfo";
const wchar_t* const kView = L"RoraRevirDlg_View";
const wchar_t* const kAlarm = L"RoraRevirDlg_Alarm";
const wchar_t* const kAlarm2 = L"RoraRevirDlg_Alarm2";
const wchar_t* const kAlarm3 = L"RoraRevirDlg_Alarm3";

const wchar_t* const kColorKeys[] = {L"ColorText", L"ColorText2", L"ColorText3", L"ColorText4",
                                     L"ColorText5"};
const wchar_t* const kFontKeys[] = {L"FontText", L"FontText2", L"FontText3", L"FontText4",
                                    L"FontText5"};

}  // namespace

void CTrackerSettings::Load(IProfile& profile,
                            const std::function<bool(const std::wstring&)>& fileExists)
{
    runOnStart = profile.GetProfileInt(kBase, L"RunOnStart", 0);
    autoPause = profile.GetProfileInt(kBase, L"AutoPause", 0);
    autoPauseMin = profile.GetProfileInt(kBase, L"AutoPauseMin", 3);

    const CTrackerSettings defaults;
    for (int i = 0; i < kTrackerFigures; ++i) {
        colors[i] = profile.GetProfileInt(kView, kColorKeys[i], defaults.colors[i]);
        fonts[i] =
            CLogFont::FromRecordOrDefault(profile.GetProfileString(kView, kFontKeys[i], L""));
    }
    background = profile.GetProfileInt(kView, L"ColorBg", kDefaultBackground);
    opacity = std::clamp(profile.GetProfileInt(kView, L"Opacity", 100), 0, 100);

    auto sound = [&](const wchar_t* section, const wchar_t* key) {
        std::wstring file = profile.GetProfileString(section, key, L"");
        return !file.empty() && fileExists && !fileExists(file) ? std::wstring() : file;
    };

    handsAlarm = 0;
    handsCount = 700;
    ParseIntPair(profile.GetProfileString(kAlarm, L"Param", L"0:700"), handsAlarm, handsCount);
    handsSound = sound(kAlarm, L"Sound");

    moneyAlarm = 0;
    takeProfit = 1000;
    stopLoss = -1000;
    ParseMoneyParam(profile.GetProfileString(kAlarm2, L"Param", L"0:1000:-1000"), moneyAlarm,
                    takeProfit, stopLoss);
    profitSound = sound(kAlarm2, L"Sound");
    lossSound = sound(kAlarm2, L"SoundLoss");
    takeProfitOn = profile.GetProfileInt(kAlarm2, L"TakeProfit", 0);
    stopLossOn = profile.GetProfileInt(kAlarm2, L"StopLoss", 0);
    trailingTakeProfit = profile.GetProfileInt(kAlarm2, L"TrailingTakeProfit", 0);
    trailingStopLoss = profile.GetProfileInt(kAlarm2, L"TrailingStopLoss", 0);

    timeAlarm = 0;
    timeMinutes = 60;
    ParseIntPair(profile.GetProfileString(kAlarm3, L"Param", L"0:60"), timeAlarm, timeMinutes);
    timeSound = sound(kAlarm3, L"Sound");

    currency.Load(profile);
}

void CTrackerSettings::Save(IProfile& profile) const
{
    (void)profile.WriteProfileInt(kBase, L"RunOnStart", runOnStart);
    (void)profile.WriteProfileInt(kBase, L"AutoPause", autoPause);
    (void)profile.WriteProfileInt(kBase, L"AutoPauseMin", autoPauseMin);

    (void)profile.WriteProfileInt(kView, L"ColorBg", background);
    for (int i = 0; i < kTrackerFigures; ++i) {
        (void)profile.WriteProfileInt(kView, kColorKeys[i], colors[i]);
    }
    for (int i = 0; i < kTrackerFigures; ++i) {
        (void)profile.WriteProfileString(kView, kFontKeys[i], fonts[i].ToRecord());
    }

    (void)profile.WriteProfileString(kAlarm, L"Param", FormatIntPair(handsAlarm, handsCount));
    (void)profile.WriteProfileString(kAlarm, L"Sound", handsSound);

    (void)profile.WriteProfileString(kAlarm2, L"Param",
                                     FormatMoneyParam(moneyAlarm, takeProfit, stopLoss));
    (void)profile.WriteProfileString(kAlarm2, L"Sound", profitSound);
    (void)profile.WriteProfileString(kAlarm2, L"SoundLoss", lossSound);
    (void)profile.WriteProfileInt(kAlarm2, L"TakeProfit", takeProfitOn);
    (void)profile.WriteProfileInt(kAlarm2, L"StopLoss", stopLossOn);
    (void)profile.WriteProfileInt(kAlarm2, L"TrailingTakeProfit", trailingTakeProfit);
    (void)profile.WriteProfileInt(kAlarm2, L"TrailingStopLoss", trailingStopLoss);

    (void)profile.WriteProfileString(kAlarm3, L"Param", FormatIntPair(timeAlarm, timeMinutes));
    (void)profile.WriteProfileString(kAlarm3, L"Sound", timeSound);

    (void)profile.WriteProfileInt(kView, L"Opacity", opacity);
    currency.Save(profile);
}

std::wstring CTrackerSettings::TimeAlarmText() const
{
    return FormatAlarmTime(timeMinutes);
}
