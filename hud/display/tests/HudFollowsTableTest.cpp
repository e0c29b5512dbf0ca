#include "hud/display/CHudDisplay.h"
#include "hud/display/HudLayout.h"
#include "hud/display/tests/X11TestEnvironment.h"
#include "platform/linux/CXcbWindowTracker.h"
#include "testing/CTempDir.h"
#include "testing/CX11TestWindow.h"

#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QProcess>

#include <algorithm>
#include <cstdlib>
#include <vector>
#include <xcb/xcb.h>

using vxtest::CX11TestWindow;
using vxtest::PumpUntil;
using vxtest::TestServer;

namespace {

const QString kMarkup = QStringLiteral("[style=Stats;sizeToContent=Width]");

// What the X server itself says about a window of ours.
struct CServerView
{
    bool exists = false;
    bool viewable = false;
    QRect geometry;
};

CServerView ServerView(uint64_t window)
{
    CServerView view;
    xcb_connection_t* c = xcb_connect(TestServer().Display().c_str(), nullptr);
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(c)).data->root;
    const auto w = static_cast<xcb_window_t>(window);
    auto* attributes = xcb_get_window_attributes_reply(c, xcb_get_window_attributes(c, w), nullptr);
    auto* geometry = xcb_get_geometry_reply(c, xcb_get_geometry(c, w), nullptr);
    auto* place =
        xcb_translate_coordinates_reply(c, xcb_translate_coordinates(c, w, root, 0, 0), nullptr);
    if (attributes != nullptr && geometry != nullptr && place != nullptr) {
        view.exists = true;
        view.viewable = attributes->map_state == XCB_MAP_STATE_VIEWABLE;
        view.geometry = QRect(place->dst_x, place->dst_y, geometry->width, geometry->height);
    }
    std::free(attributes);
    std::free(geometry);
    std::free(place);
    xcb_disconnect(c);
    return view;
}

uint32_t InputFocus()
{
    xcb_connection_t* c = xcb_connect(TestServer().Display().c_str(), nullptr);
    auto* reply = xcb_get_input_focus_reply(c, xcb_get_input_focus(c), nullptr);
    const uint32_t focus = reply != nullptr ? reply->focus : 0;
    std::free(reply);
    xcb_disconnect(c);
    return focus;
}

// The root's children bottom to top, and the child holding `window`.
std::vector<uint32_t> Stacking()
{
    std::vector<uint32_t> order;
    xcb_connection_t* c = xcb_connect(TestServer().Display().c_str(), nullptr);
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(c)).data->root;
    if (auto* tree = xcb_query_tree_reply(c, xcb_query_tree(c, root), nullptr)) {
        const xcb_window_t* children = xcb_query_tree_children(tree);
        order.assign(children, children + xcb_query_tree_children_length(tree));
        std::free(tree);
    }
    xcb_disconnect(c);
    return order;
}

size_t StackIndex(uint32_t window)
{
    xcb_connection_t* c = xcb_connect(TestServer().Display().c_str(), nullptr);
    uint32_t current = window;
    for (int depth = 0; depth < 16; ++depth) {
        auto* tree = xcb_query_tree_reply(c, xcb_query_tree(c, current), nullptr);
        if (tree == nullptr) {
            break;
        }
        const bool top = tree->parent == tree->root;
        const uint32_t parent = tree->parent;
        std::free(tree);
        if (top) {
            break;
        }
        current = parent;
    }
    xcb_disconnect(c);
    const std::vector<uint32_t> order = Stacking();
    return static_cast<size_t>(std::find(order.begin(), order.end(), current) - order.begin());
}

// The display as pelmora runs it, on the test's X server.
class CLiveHud
{
public:
    CLiveHud()
        : m_tracker(TestServer().Display())
        , m_settings(QString::fromStdString(m_dir.File("Pelmora.conf")))
        , m_display(m_tracker, m_settings, nullptr)
    {
        m_display.SetDisplaySync([] {
            auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
            xcb_connection_t* c = x11->connection();
            std::free(xcb_get_input_focus_reply(c, xcb_get_input_focus(c), nullptr));
        });
    }

    bool Pump(const std::function<bool()>& done, double seconds = 5.0)
    {
        return PumpUntil(
            done, [this] { m_tracker.ProcessEvents(); }, seconds);
    }

    vxtest::CTempDir m_dir;
    CXcbWindowTracker m_tracker;
    CHudSettings m_settings;
    CHudDisplay m_display;
};

// The table's area as the X server has it (after the window manager framed
// and placed it).
QRect TableArea(CX11TestWindow& table)
{
    int x = 0, y = 0, w = 0, h = 0;
    table.Geometry(x, y, w, h);
    return QRect(x, y, w, h);
}

bool ShownAt(CHudBox* box, const QRect& where)
{
    const CServerView view = ServerView(box->winId());
    return box->isVisible() && view.viewable && view.geometry == where && box->geometry() == where;
}

}  // namespace

TEST(HudFollowsTableTest, BoxesFollowATableThatMovesIsMinimisedAndRestoredAndGoWhenItCloses)
{
    VX_REQUIRE_XVFB(TestServer());
    CX11TestWindow table(TestServer().Display(), 100, 80, 792, 546);
    table.SetTitle("Halley - $0.01/$0.02 USD - Pot Limit Omaha");
    table.Map();
    CLiveHud hud;
    ASSERT_TRUE(hud.Pump([&] { return hud.m_tracker.Watch(table.Id()).viewable; }));
    hud.m_tracker.Unwatch(table.Id());

    hud.m_display.Show(table.Id(), HudNumber(6, 0),
                       kMarkup + QStringLiteral("Blue 42 30.0 20.0 5.0 0.0\n"));
    hud.m_display.Show(table.Id(), HudNumber(6, 4),
                       kMarkup + QStringLiteral("Ann 1204 24.1 18.0 6.2 1.5\n"));
    CHudBox* box = hud.m_display.Box(table.Id(), HudNumber(6, 0));
    ASSERT_NE(box, nullptr);
    auto expected = [&] {
        return HudLayout::DefaultBox(TableArea(table), 6, 0, box->ContentSize());
    };
    ASSERT_TRUE(hud.Pump([&] { return ShownAt(box, expected()); }));

    table.Move(420, 230);
    ASSERT_TRUE(hud.Pump([&] { return TableArea(table).x() > 300 && ShownAt(box, expected()); }));
    table.Resize(640, 441);
    ASSERT_TRUE(
        hud.Pump([&] { return TableArea(table).width() == 640 && ShownAt(box, expected()); }));

    // Minimised (the window leaves the screen) and restored.
    table.Unmap();
    ASSERT_TRUE(hud.Pump([&] { return !box->isVisible() && !ServerView(box->winId()).viewable; }));
    table.Map();
    ASSERT_TRUE(hud.Pump([&] { return ShownAt(box, expected()); }));

    table.Destroy();
    ASSERT_TRUE(hud.Pump([&] { return hud.m_display.Boxes().empty(); }));
    EXPECT_EQ(hud.m_display.TableCount(), 0u);
    // A late show for the closed table is ignored.
    hud.m_display.Show(table.Id(), HudNumber(6, 0),
                       kMarkup + QStringLiteral("Blue 42 30.0 20.0 5.0 0.0\n"));
    EXPECT_TRUE(hud.m_display.Boxes().empty());
}

TEST(HudFollowsTableTest, ClicksGoThroughToTheTableUnlessTheModifierIsHeldToDragTheBox)
{
    VX_REQUIRE_XVFB(TestServer());
    if (QProcess::execute(QStringLiteral("xdotool"), {QStringLiteral("version")}) != 0) {
        if (vxtest::X11Required()) {
            FAIL() << "xdotool is not installed";
        }
        GTEST_SKIP() << "xdotool is not installed";
    }
    CX11TestWindow table(TestServer().Display(), 100, 80, 792, 546);
    table.SetTitle("Halley - $0.01/$0.02 USD - Pot Limit Omaha");
    table.Map();
    CLiveHud hud;
    ASSERT_TRUE(hud.Pump([&] { return hud.m_tracker.Watch(table.Id()).viewable; }));
    hud.m_tracker.Unwatch(table.Id());
    hud.m_display.Show(table.Id(), HudNumber(6, 4),
                       kMarkup + QStringLiteral("Ann 1204 24.1 18.0 6.2 1.5\n"));
    CHudBox* box = hud.m_display.Box(table.Id(), HudNumber(6, 4));
    ASSERT_TRUE(hud.Pump([&] { return box->isVisible() && ServerView(box->winId()).viewable; }));
    const QRect start = ServerView(box->winId()).geometry;
    const QString x = QString::number(start.center().x());
    const QString y = QString::number(start.center().y());
    table.TakeButtonPress();

    // A plain click on the box lands on the table.
    QProcess::execute(QStringLiteral("xdotool"), {QStringLiteral("mousemove"), x, y,
                                                  QStringLiteral("click"), QStringLiteral("1")});
    EXPECT_TRUE(hud.Pump([&] { return table.TakeButtonPress(); }));
    EXPECT_EQ(ServerView(box->winId()).geometry, start);

    // Ctrl held: the box takes the mouse and is dragged; the table gets nothing.
    QProcess::execute(QStringLiteral("xdotool"),
                      {QStringLiteral("keydown"), QStringLiteral("ctrl")});
    ASSERT_TRUE(hud.Pump([&] {
        return (QGuiApplication::queryKeyboardModifiers() & hud.m_settings.DragModifier()) != 0;
    }));
    hud.m_display.SetDraggable(true);
    hud.Pump([] { return false; }, 0.2);
    QProcess::execute(
        QStringLiteral("xdotool"),
        {QStringLiteral("mousemove"), x, y, QStringLiteral("mousedown"), QStringLiteral("1"),
         QStringLiteral("mousemove"), QString::number(start.center().x() + 40), y,
         QStringLiteral("mousemove"), QString::number(start.center().x() + 80),
         QString::number(start.center().y() - 30), QStringLiteral("mouseup"), QStringLiteral("1")});
    const bool dragged = hud.Pump([&] {
        return ServerView(box->winId()).geometry.topLeft() == start.topLeft() + QPoint(80, -30);
    });
    QProcess::execute(QStringLiteral("xdotool"), {QStringLiteral("keyup"), QStringLiteral("ctrl")});
    hud.m_display.SetDraggable(false);
    EXPECT_TRUE(dragged);
    EXPECT_FALSE(table.TakeButtonPress());
    // Kept for position 4 of six-seat tables.
    ASSERT_TRUE(hud.m_settings.Placement(6, 4).has_value());
    const QPointF kept = *hud.m_settings.Placement(6, 4);
    EXPECT_EQ(HudLayout::PlacedBox(TableArea(table), kept, box->size()).topLeft(),
              start.topLeft() + QPoint(80, -30));
    // The box never took the focus.
    EXPECT_NE(InputFocus(), static_cast<uint32_t>(box->winId()));
}

TEST(HudFollowsTableTest, BoxesStayWithTheirTableWhenAnotherTableIsRaisedOverItAndBack)
{
    VX_REQUIRE_XVFB(TestServer());
    CX11TestWindow table(TestServer().Display(), 60, 60, 792, 546);
    table.SetTitle("Halley - $0.01/$0.02 USD - Pot Limit Omaha");
    table.Map();
    CX11TestWindow other(TestServer().Display(), 300, 200, 792, 546);
    other.SetTitle("Vega - $0.02/$0.05 USD - Pot Limit Omaha");
    other.Map();
    CLiveHud hud;
    ASSERT_TRUE(hud.Pump([&] {
        return hud.m_tracker.Watch(table.Id()).viewable &&
               hud.m_tracker.Watch(other.Id()).viewable &&
               StackIndex(table.Id()) < StackIndex(other.Id());
    }));
    hud.m_tracker.Unwatch(table.Id());
    hud.m_tracker.Unwatch(other.Id());
    hud.m_display.Show(table.Id(), HudNumber(6, 1),
                       kMarkup + QStringLiteral("Ann 1204 24.1 18.0 6.2 1.5\n"));
    CHudBox* box = hud.m_display.Box(table.Id(), HudNumber(6, 1));
    const auto boxIndex = [&] { return StackIndex(static_cast<uint32_t>(box->winId())); };
    // Right above its own table, under the table in front.
    ASSERT_TRUE(hud.Pump([&] {
        return box->isVisible() && boxIndex() == StackIndex(table.Id()) + 1 &&
               boxIndex() < StackIndex(other.Id());
    }));

    table.Raise();
    ASSERT_TRUE(hud.Pump([&] {
        return StackIndex(table.Id()) > StackIndex(other.Id()) &&
               boxIndex() == StackIndex(table.Id()) + 1;
    }));
    other.Raise();
    ASSERT_TRUE(hud.Pump([&] {
        return StackIndex(other.Id()) > StackIndex(table.Id()) &&
               boxIndex() < StackIndex(other.Id()) && boxIndex() == StackIndex(table.Id()) + 1;
    }));
}
