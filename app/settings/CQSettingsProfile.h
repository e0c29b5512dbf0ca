// The application profile kept by QSettings under "Quendal"/"Veltrix"
// (~/.config/Quendal/Veltrix.conf): one group per section. Safe to use from one
// thread at a time.
#pragma once

#include "foundation/IProfile.h"

#include <memory>

class QSettings;

class CQSettingsProfile : public IProfile
{
public:
    CQSettingsProfile();
    ~CQSettingsProfile() override;

    int GetProfileInt(const std::wstring& section,
                      const std::wstring& key,
                      int defaultValue) override;
    std::wstring GetProfileString(const std::wstring& section,
                                  const std::wstring& key,
                                  const std::wstring& defaultValue) override;
    bool WriteProfileInt(const std::wstring& section, const std::wstring& key, int value) override;
    bool WriteProfileString(const std::wstring& section,
                            const std::wstring& key,
                            const std::wstring& value) override;

private:
    std::unique_ptr<QSettings> m_settings;
};
