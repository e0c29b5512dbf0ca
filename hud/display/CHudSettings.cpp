#include "hud/display/CHudSettings.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr int kDefaultFontPixelSize = 12;

}  // namespace

CHudSettings::CHudSettings()
    : m_settings(QStringLiteral("Quendal"), QStringLiteral("Pelmora"))
{}

CHudSettings::CHudSettings(const QString& fileName)
    : m_settings(fileName, QSettings::IniFormat)
{}

bool CHudSettings::ColorsEnabled() const
{
    const QVariant value = m_settings.value(QStringLiteral("Display/ColorByRange"), true);
    return value.canConvert<bool>() ? value.toBool() : true;
}

void CHudSettings::SetColorsEnabled(bool enabled)
{
    m_settings.setValue(QStringLiteral("Display/ColorByRange"), enabled);
}

int CHudSettings::FontPixelSize() const
{
    bool ok = false;
    const int pixels =
        m_settings.value(QStringLiteral("Display/FontPixelSize"), kDefaultFontPixelSize).toInt(&ok);
    return ok && pixels >= 7 && pixels <= 40 ? pixels : kDefaultFontPixelSize;
}

void CHudSettings::SetFontPixelSize(int pixels)
{
    m_settings.setValue(QStringLiteral("Display/FontPixelSize"), std::clamp(pixels, 7, 40));
}

Qt::KeyboardModifier CHudSettings::DragModifier() const
{
    const QString name =
        m_settings.value(QStringLiteral("Display/DragModifier")).toString().trimmed().toLower();
    if (name == QLatin1String("shift")) {
        return Qt::ShiftModifier;
    }
    if (name == QLatin1String("alt")) {
        return Qt::AltModifier;
    }
    if (name == QLatin1String("meta")) {
        return Qt::MetaModifier;
    }
    return Qt::ControlModifier;
}

QString CHudSettings::PlacementKey(int tableSize, int position)
{
    return QStringLiteral("Placement/%1-%2").arg(tableSize).arg(position);
}

std::optional<QPointF> CHudSettings::Placement(int tableSize, int position) const
{
    const QVariant value = m_settings.value(PlacementKey(tableSize, position));
    if (!value.isValid()) {
        return std::nullopt;
    }
    // Stored as "x,y" so that the file stays readable by hand.
    const QStringList parts = value.toStringList().size() == 2
                                  ? value.toStringList()
                                  : value.toString().split(QLatin1Char(','));
    if (parts.size() != 2) {
        return std::nullopt;
    }
    bool okX = false;
    bool okY = false;
    const double x = parts[0].trimmed().toDouble(&okX);
    const double y = parts[1].trimmed().toDouble(&okY);
    // A place outside the window (or no number at all) is a damaged entry.
    if (!okX || !okY || !std::isfinite(x) || !std::isfinite(y) || x < -0.5 || x > 1.5 || y < -0.5 ||
        y > 1.5) {
        return std::nullopt;
    }
    return QPointF(x, y);
}

void CHudSettings::SetPlacement(int tableSize, int position, const QPointF& topLeftFraction)
{
    m_settings.setValue(PlacementKey(tableSize, position),
                        QStringList{QString::number(topLeftFraction.x(), 'f', 4),
                                    QString::number(topLeftFraction.y(), 'f', 4)});
}

void CHudSettings::ClearPlacement(int tableSize, int position)
{
    m_settings.remove(PlacementKey(tableSize, position));
}

void CHudSettings::ClearAllPlacements()
{
    m_settings.remove(QStringLiteral("Placement"));
}
