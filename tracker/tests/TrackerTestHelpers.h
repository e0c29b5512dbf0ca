// What the tracker's widget tests share: a profile that records every write,
// a sound player that records what it was asked to play, and a clock the
// test moves.
#pragma once

#include "foundation/CMemoryProfile.h"
#include "tracker/ITrackerSound.h"

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace vxtest {

class CRecordingProfile : public CMemoryProfile
{
public:
    bool WriteProfileInt(const std::wstring& section, const std::wstring& key, int value) override
    {
        writes.emplace_back(section, key);
        return CMemoryProfile::WriteProfileInt(section, key, value);
    }
    bool WriteProfileString(const std::wstring& section,
                            const std::wstring& key,
                            const std::wstring& value) override
    {
        writes.emplace_back(section, key);
        return CMemoryProfile::WriteProfileString(section, key, value);
    }

    std::vector<std::pair<std::wstring, std::wstring>> writes;
};

class CRecordingSound : public ITrackerSound
{
public:
    void Play(TrackerAlarm alarm, const QString& file) override
    {
        played.emplace_back(alarm, file);
    }
    std::vector<std::pair<TrackerAlarm, QString>> played;
};

struct CTestClock
{
    int64_t now = 1700000000;
    auto Function()
    {
        return [this] { return now; };
    }
};

}  // namespace vxtest
