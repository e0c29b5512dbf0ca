#include "app/settings/CQSettingsProfile.h"

#include <QSettings>
#include <QString>

namespace {

QString Key(const std::wstring& section, const std::wstring& key)
{
    return QString::fromStdWString(section) + QLatin1Char('/') + QString::fromStdWString(key);
}

}  // namespace

CQSettingsProfile::CQSettingsProfile()
    : m_settings(std::make_unique<QSettings>(QStringLiteral("Quendal"), QStringLiteral("Veltrix")))
{}

CQSettingsProfile::~CQSettingsProfile() = default;

int CQSettingsProfile::GetProfileInt(const std::wstring& section,
                                     const std::wstring& key,
                                     int defaultValue)
{
    bool ok = false;
    const int v = m_settings->value(Key(section, key), defaultValue).toInt(&ok);
    return ok ? v : defaultValue;
}

std::wstring CQSettingsProfile::GetProfileString(const std::wstring& section,
                                                 const std::wstring& key,
                                                 const std::wstring& defaultValue)
{
    const QVariant v = m_settings->value(Key(section, key));
    if (!v.isValid()) {
        return defaultValue;
    }
    return v.toString().toStdWString();
}

bool CQSettingsProfile::WriteProfileInt(const std::wstring& section,
                                        const std::wstring& key,
                                        int value)
{
    m_settings->setValue(Key(section, key), value);
    m_settings->sync();
    return m_settings->status() == QSettings::NoError;
}

bool CQSettingsProfile::WriteProfileString(const std::wstring& section,
                                           const std::wstring& key,
                                           const std::wstring& value)
{
    m_settings->setValue(Key(section, key), QString::fromStdWString(value));
    m_settings->sync();
    return m_settings->status() == QSettings::NoError;
}
