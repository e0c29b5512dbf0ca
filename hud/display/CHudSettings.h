// The player's choices for the HUD display, kept with QSettings under
// "Quendal"/"Pelmora" (~/.config/Quendal/Pelmora.conf):
//
//   Display/ColorByRange   colour the numbers by range (true)
//   Display/FontPixelSize  text height at a table 800 pixels wide (12)
//   Display/DragModifier   the key that makes boxes draggable: Ctrl, Shift,
//                          Alt or Meta (Ctrl)
//   Placement/<n>-<p>      where the player put the box of position p at
//                          tables of n seats: its top-left corner as
//                          fractions of the table window
//
// Every value read is checked; a damaged file gives the defaults.
// GUI thread only.
#pragma once

#include <QPointF>
#include <QSettings>

#include <optional>

class CHudSettings
{
public:
    // The player's settings file.
    CHudSettings();
    // A settings file of its own, for tests.
    explicit CHudSettings(const QString& fileName);

    bool ColorsEnabled() const;
    void SetColorsEnabled(bool enabled);

    int FontPixelSize() const;
    void SetFontPixelSize(int pixels);

    Qt::KeyboardModifier DragModifier() const;

    std::optional<QPointF> Placement(int tableSize, int position) const;
    void SetPlacement(int tableSize, int position, const QPointF& topLeftFraction);
    void ClearPlacement(int tableSize, int position);
    void ClearAllPlacements();

    void Sync() { m_settings.sync(); }

private:
    static QString PlacementKey(int tableSize, int position);
    mutable QSettings m_settings;
};
