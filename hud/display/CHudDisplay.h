// The HUD display: turns the tracker's messages into boxes over the table
// windows and keeps each box beside its seat while the table moves, changes
// size, is minimised or restored, is raised above other tables or closes.
//
// Show (1) makes or updates the box of a table window and HUD number (the
// number gives the table size and the position); hide (2) removes that box;
// reset (6) removes every box; shutdown (7) is left to the caller. Messages
// that cannot be decoded, name no table window, a window that does not exist
// or a HUD number of no table size from 2 to 10 are logged and ignored.
// Boxes are shown only while their table window can be seen, and are kept
// directly above it in the stacking order, so a table raised over another
// takes its boxes along and covers the other's.
// GUI thread only.
#pragma once

#include "hud/display/CHudBox.h"
#include "hud/display/CHudSettings.h"
#include "platform/HudMessages.h"
#include "platform/IWindowTracker.h"

#include <QMenu>
#include <QPointer>
#include <QRect>
#include <QString>

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <span>
#include <vector>

class CHudDisplay
{
public:
    using LogFunction = std::function<void(const QString& line)>;

    enum class Outcome
    {
        Handled,
        Ignored,
        Shutdown,
    };

    CHudDisplay(IWindowTracker& tracker, CHudSettings& settings, LogFunction log);
    ~CHudDisplay();
    CHudDisplay(const CHudDisplay&) = delete;
    CHudDisplay& operator=(const CHudDisplay&) = delete;

    // Makes sure the window system has carried out what the GUI asked so far,
    // before boxes are restacked through another connection.
    void SetDisplaySync(std::function<void()> sync) { m_sync = std::move(sync); }

    // One packet's payload from the tracker.
    Outcome HandlePacket(std::span<const uint8_t> payload);
    Outcome Handle(const CHudMessage& message);

    void Show(uint64_t tableWindow, int hudNumber, const QString& text);
    void Hide(uint64_t tableWindow, int hudNumber);
    void Reset();

    // Whether boxes take the mouse (the drag modifier is held).
    void SetDraggable(bool draggable);
    bool IsDraggable() const { return m_draggable; }
    void SetColorsEnabled(bool enabled);
    bool ColorsEnabled() const { return m_colors; }

    // Puts every box of `tableSize` and `position` where the settings say.
    void ApplyPlacement(int tableSize, int position);
    void ApplyAllPlacements();

    CHudBox* Box(uint64_t tableWindow, int hudNumber) const;
    std::vector<CHudBox*> Boxes() const;
    size_t TableCount() const { return m_tables.size(); }
    // The table window's area in the GUI's coordinates; empty when unknown.
    QRect TableRect(uint64_t tableWindow) const;

private:
    struct CTable
    {
        CTrackedWindow state;
        std::map<int, std::unique_ptr<CHudBox>> boxes;
    };

    void OnTableChanged(uint64_t window, const CTrackedWindow& state);
    void RemoveTable(uint64_t window);
    void Place(const CTable& table, CHudBox& box);
    // Shows and hides the boxes; true when it showed one (and restacked).
    bool UpdateVisibility(uint64_t window, CTable& table);
    void Restack(uint64_t window, CTable& table);
    void OnBoxMoved(CHudBox& box);
    void OnBoxMenu(CHudBox& box, const QPoint& at);
    static QRect ToGui(const CTrackedWindow& state);
    int FontPixelsFor(const QRect& table) const;
    void Log(const QString& line) const;

    IWindowTracker& m_tracker;
    CHudSettings& m_settings;
    LogFunction m_log;
    std::function<void()> m_sync;
    std::map<uint64_t, CTable> m_tables;
    bool m_draggable = false;
    bool m_colors = true;
    QPointer<QMenu> m_menu;
};
