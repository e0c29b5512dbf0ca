#include "hud/display/CHudDisplay.h"

#include "hud/display/HudLayout.h"

#include <QAction>
#include <QGuiApplication>
#include <QMenu>

#include <algorithm>
#include <cmath>

namespace {

// The width at which the text has the size the settings give.
constexpr double kReferenceTableWidth = 800.0;

QString Hex(uint64_t window)
{
    return QStringLiteral("0x%1").arg(window, 8, 16, QLatin1Char('0'));
}

}  // namespace

CHudDisplay::CHudDisplay(IWindowTracker& tracker, CHudSettings& settings, LogFunction log)
    : m_tracker(tracker)
    , m_settings(settings)
    , m_log(std::move(log))
    , m_colors(settings.ColorsEnabled())
{
    m_tracker.SetListener(
        [this](uint64_t window, const CTrackedWindow& state) { OnTableChanged(window, state); });
}

CHudDisplay::~CHudDisplay()
{
    delete m_menu;
    m_tracker.SetListener(nullptr);
    for (const auto& [window, table] : m_tables) {
        m_tracker.Unwatch(window);
    }
}

void CHudDisplay::Log(const QString& line) const
{
    if (m_log) {
        m_log(line);
    }
}

CHudDisplay::Outcome CHudDisplay::HandlePacket(std::span<const uint8_t> payload)
{
    const std::optional<CHudMessage> message = DecodeHudMessage(payload);
    if (!message) {
        Log(QStringLiteral("ignored a malformed message of %1 bytes").arg(payload.size()));
        return Outcome::Ignored;
    }
    return Handle(*message);
}

CHudDisplay::Outcome CHudDisplay::Handle(const CHudMessage& message)
{
    switch (message.command) {
    case HudCommand::Show:
        Show(message.tableWindow, message.hudNumber,
             QString::fromUtf16(message.text.data(), static_cast<qsizetype>(message.text.size())));
        return Outcome::Handled;
    case HudCommand::Hide:
        Hide(message.tableWindow, message.hudNumber);
        return Outcome::Handled;
    case HudCommand::Reset:
        Reset();
        return Outcome::Handled;
    case HudCommand::Shutdown:
        return Outcome::Shutdown;
    }
    return Outcome::Ignored;
}

void CHudDisplay::Show(uint64_t tableWindow, int hudNumber, const QString& text)
{
    int tableSize = 0;
    int position = 0;
    if (tableWindow == 0) {
        Log(QStringLiteral("ignored a show for box %1 without a table window").arg(hudNumber));
        return;
    }
    if (!HudNumberSeat(hudNumber, tableSize, position)) {
        Log(QStringLiteral("ignored a show for box %1, which belongs to no table size")
                .arg(hudNumber));
        return;
    }
    auto found = m_tables.find(tableWindow);
    if (found == m_tables.end()) {
        const CTrackedWindow state = m_tracker.Watch(tableWindow);
        if (!state.exists) {
            Log(QStringLiteral("ignored a show for box %1: table window %2 does not exist")
                    .arg(hudNumber)
                    .arg(Hex(tableWindow)));
            return;
        }
        found = m_tables.emplace(tableWindow, CTable{state, {}}).first;
    }
    CTable& table = found->second;
    auto& slot = table.boxes[hudNumber];
    if (!slot) {
        slot = std::make_unique<CHudBox>(tableWindow, hudNumber, tableSize, position);
        slot->SetColorsEnabled(m_colors);
        slot->SetDraggable(m_draggable);
        slot->onMoved = [this](CHudBox& box) { OnBoxMoved(box); };
        slot->onMenu = [this](CHudBox& box, const QPoint& at) { OnBoxMenu(box, at); };
    }
    slot->SetText(text);
    // The markup alone means nothing is known of the player: no box.
    slot->SetWanted(!slot->Content().IsEmpty());
    Place(table, *slot);
    UpdateVisibility(tableWindow, table);
}

void CHudDisplay::Hide(uint64_t tableWindow, int hudNumber)
{
    const auto found = m_tables.find(tableWindow);
    if (found == m_tables.end()) {
        return;
    }
    found->second.boxes.erase(hudNumber);
    if (found->second.boxes.empty()) {
        m_tracker.Unwatch(tableWindow);
        m_tables.erase(found);
    }
}

void CHudDisplay::Reset()
{
    for (const auto& [window, table] : m_tables) {
        m_tracker.Unwatch(window);
    }
    m_tables.clear();
}

void CHudDisplay::SetDraggable(bool draggable)
{
    m_draggable = draggable;
    for (CHudBox* box : Boxes()) {
        box->SetDraggable(draggable);
    }
}

void CHudDisplay::SetColorsEnabled(bool enabled)
{
    m_colors = enabled;
    for (CHudBox* box : Boxes()) {
        box->SetColorsEnabled(enabled);
    }
}

CHudBox* CHudDisplay::Box(uint64_t tableWindow, int hudNumber) const
{
    const auto table = m_tables.find(tableWindow);
    if (table == m_tables.end()) {
        return nullptr;
    }
    const auto box = table->second.boxes.find(hudNumber);
    return box == table->second.boxes.end() ? nullptr : box->second.get();
}

std::vector<CHudBox*> CHudDisplay::Boxes() const
{
    std::vector<CHudBox*> boxes;
    for (const auto& [window, table] : m_tables) {
        for (const auto& [number, box] : table.boxes) {
            boxes.push_back(box.get());
        }
    }
    return boxes;
}

QRect CHudDisplay::TableRect(uint64_t tableWindow) const
{
    const auto found = m_tables.find(tableWindow);
    return found == m_tables.end() ? QRect() : ToGui(found->second.state);
}

QRect CHudDisplay::ToGui(const CTrackedWindow& state)
{
    // The window system counts device pixels; a scaled GUI does not.
    const qreal ratio = qGuiApp != nullptr ? qGuiApp->devicePixelRatio() : 1.0;
    const auto scale = [ratio](int v) { return static_cast<int>(std::lround(v / ratio)); };
    return QRect(scale(state.x), scale(state.y), scale(state.width), scale(state.height));
}

int CHudDisplay::FontPixelsFor(const QRect& table) const
{
    const double scaled = m_settings.FontPixelSize() * table.width() / kReferenceTableWidth;
    return std::clamp(static_cast<int>(std::lround(scaled)), 8, 24);
}

void CHudDisplay::Place(const CTable& table, CHudBox& box)
{
    const QRect rect = ToGui(table.state);
    if (rect.isEmpty()) {
        return;
    }
    box.SetFontPixelSize(FontPixelsFor(rect));
    const QSize size = box.ContentSize();
    const std::optional<QPointF> placed = m_settings.Placement(box.TableSize(), box.Position());
    const QRect where = placed ? HudLayout::PlacedBox(rect, *placed, size)
                               : HudLayout::DefaultBox(rect, box.TableSize(), box.Position(), size);
    box.setGeometry(where);
}

bool CHudDisplay::UpdateVisibility(uint64_t window, CTable& table)
{
    bool shownAny = false;
    for (auto& [number, box] : table.boxes) {
        const bool visible = box->IsWanted() && table.state.viewable;
        if (visible && !box->isVisible()) {
            box->show();
            shownAny = true;
        } else if (!visible && box->isVisible()) {
            box->hide();
        }
    }
    if (shownAny) {
        Restack(window, table);
    }
    return shownAny;
}

void CHudDisplay::Restack(uint64_t window, CTable& table)
{
    if (m_sync) {
        m_sync();
    }
    for (auto& [number, box] : table.boxes) {
        if (box->isVisible()) {
            m_tracker.StackAbove(static_cast<uint64_t>(box->winId()), window);
        }
    }
}

void CHudDisplay::OnTableChanged(uint64_t window, const CTrackedWindow& state)
{
    const auto found = m_tables.find(window);
    if (found == m_tables.end()) {
        return;
    }
    if (!state.exists) {
        Log(QStringLiteral("table window %1 closed; its boxes go").arg(Hex(window)));
        RemoveTable(window);
        return;
    }
    CTable& table = found->second;
    table.state = state;
    for (auto& [number, box] : table.boxes) {
        Place(table, *box);
    }
    // Any change may be a restack of the table: its boxes go back above it.
    if (!UpdateVisibility(window, table) && state.viewable) {
        Restack(window, table);
    }
}

void CHudDisplay::RemoveTable(uint64_t window)
{
    const auto found = m_tables.find(window);
    if (found != m_tables.end()) {
        m_tracker.Unwatch(window);
        m_tables.erase(found);
    }
}

void CHudDisplay::ApplyPlacement(int tableSize, int position)
{
    for (auto& [window, table] : m_tables) {
        for (auto& [number, box] : table.boxes) {
            if (box->TableSize() == tableSize && box->Position() == position) {
                Place(table, *box);
            }
        }
    }
}

void CHudDisplay::ApplyAllPlacements()
{
    for (auto& [window, table] : m_tables) {
        for (auto& [number, box] : table.boxes) {
            Place(table, *box);
        }
    }
}

void CHudDisplay::OnBoxMoved(CHudBox& box)
{
    const auto found = m_tables.find(box.TableWindow());
    if (found == m_tables.end()) {
        return;
    }
    const QRect rect = ToGui(found->second.state);
    m_settings.SetPlacement(box.TableSize(), box.Position(),
                            HudLayout::TopLeftFraction(rect, box.pos()));
    m_settings.Sync();
    // The same seat at every table of this size goes to the same place.
    ApplyPlacement(box.TableSize(), box.Position());
}

void CHudDisplay::OnBoxMenu(CHudBox& box, const QPoint& at)
{
    // Not exec(): a nested event loop could delete the box (a hide, a closed
    // table) while its mouse handler still waits for the menu.
    delete m_menu;
    m_menu = new QMenu();
    m_menu->setAttribute(Qt::WA_DeleteOnClose);
    const int tableSize = box.TableSize();
    const int position = box.Position();
    QAction* colors = m_menu->addAction(QStringLiteral("Colour the numbers by range"));
    colors->setCheckable(true);
    colors->setChecked(m_colors);
    QObject::connect(colors, &QAction::triggered, [this](bool checked) {
        SetColorsEnabled(checked);
        m_settings.SetColorsEnabled(checked);
        m_settings.Sync();
    });
    QObject::connect(m_menu->addAction(QStringLiteral("Put this box back beside its seat")),
                     &QAction::triggered, [this, tableSize, position] {
                         m_settings.ClearPlacement(tableSize, position);
                         m_settings.Sync();
                         ApplyPlacement(tableSize, position);
                     });
    QObject::connect(m_menu->addAction(QStringLiteral("Put every box back beside its seat")),
                     &QAction::triggered, [this] {
                         m_settings.ClearAllPlacements();
                         m_settings.Sync();
                         ApplyAllPlacements();
                     });
    m_menu->popup(at);
}
