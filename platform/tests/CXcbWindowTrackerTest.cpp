#include "platform/linux/CXcbWindowTracker.h"

#include "testing/CX11TestWindow.h"
#include "testing/CXvfbServer.h"

#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <map>
#include <poll.h>
#include <thread>
#include <xcb/xcb.h>

using vxtest::CX11TestWindow;
using vxtest::CXvfbServer;

namespace {

class CTrackerProbe
{
public:
    explicit CTrackerProbe(CXcbWindowTracker& tracker)
        : m_tracker(tracker)
    {
        tracker.SetListener([this](uint64_t window, const CTrackedWindow& state) {
            last[window] = state;
            ++reports;
        });
        tracker.SetTopLevelListener([this] { ++topLevelChanges; });
    }

    // Runs the tracker's events until `done` holds, at most five seconds.
    bool RunUntil(const std::function<bool()>& done)
    {
        const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(5);
        while (!done()) {
            if (std::chrono::steady_clock::now() > end) {
                return false;
            }
            pollfd p{m_tracker.EventFd(), POLLIN, 0};
            ::poll(&p, 1, 50);
            m_tracker.ProcessEvents();
        }
        return true;
    }

    std::map<uint64_t, CTrackedWindow> last;
    int reports = 0;
    int topLevelChanges = 0;

private:
    CXcbWindowTracker& m_tracker;
};

void ExpectFollowsATable(CXvfbServer& server)
{
    CX11TestWindow table(server.Display(), 100, 80, 640, 460);
    table.SetTitle("Halley - $0.01/$0.02 USD - Pot Limit Omaha");
    table.Map();
    table.Sync();

    CXcbWindowTracker tracker(server.Display());
    ASSERT_TRUE(tracker.IsConnected());
    ASSERT_GE(tracker.EventFd(), 0);
    CTrackerProbe probe(tracker);
    int x = 0, y = 0, w = 0, h = 0;
    // The window manager frames and places the window in its own time.
    ASSERT_TRUE(probe.RunUntil([&] {
        const CTrackedWindow s = tracker.Watch(table.Id());
        return s.viewable && table.Geometry(x, y, w, h) && s.x == x && s.y == y;
    }));
    const CTrackedWindow first = tracker.Watch(table.Id());
    EXPECT_TRUE(first.exists);
    EXPECT_EQ(first.width, 640);
    EXPECT_EQ(first.height, 460);

    table.Move(300, 200);
    ASSERT_TRUE(probe.RunUntil([&] {
        return table.Geometry(x, y, w, h) && probe.last[table.Id()].x == x &&
               probe.last[table.Id()].y == y && x != first.x;
    }));
    table.Resize(800, 560);
    ASSERT_TRUE(probe.RunUntil([&] { return probe.last[table.Id()].width == 800; }));
    EXPECT_EQ(probe.last[table.Id()].height, 560);

    table.Unmap();
    ASSERT_TRUE(probe.RunUntil([&] { return !probe.last[table.Id()].viewable; }));
    EXPECT_TRUE(probe.last[table.Id()].exists);
    table.Map();
    ASSERT_TRUE(probe.RunUntil([&] { return probe.last[table.Id()].viewable; }));

    table.Destroy();
    ASSERT_TRUE(probe.RunUntil([&] { return !probe.last[table.Id()].exists; }));
    // Gone means no longer watched; polling reports nothing more.
    const int reports = probe.reports;
    tracker.Poll();
    EXPECT_EQ(probe.reports, reports);
    EXPECT_FALSE(tracker.Watch(table.Id()).exists);
}

// The children of the root, bottom to top.
std::vector<uint32_t> Stacking(const std::string& display)
{
    std::vector<uint32_t> order;
    xcb_connection_t* c = xcb_connect(display.c_str(), nullptr);
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(c)).data->root;
    xcb_query_tree_reply_t* tree = xcb_query_tree_reply(c, xcb_query_tree(c, root), nullptr);
    if (tree != nullptr) {
        const xcb_window_t* children = xcb_query_tree_children(tree);
        order.assign(children, children + xcb_query_tree_children_length(tree));
        std::free(tree);
    }
    xcb_disconnect(c);
    return order;
}

// The window's ancestor among the root's children (its frame, if any).
uint32_t TopLevelOf(const std::string& display, uint32_t window)
{
    xcb_connection_t* c = xcb_connect(display.c_str(), nullptr);
    uint32_t current = window;
    for (;;) {
        xcb_query_tree_reply_t* tree = xcb_query_tree_reply(c, xcb_query_tree(c, current), nullptr);
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
    return current;
}

size_t Position(const std::vector<uint32_t>& order, uint32_t window)
{
    return static_cast<size_t>(std::find(order.begin(), order.end(), window) - order.begin());
}

}  // namespace

TEST(CXcbWindowTrackerTest, FollowsATableMovedResizedHiddenShownAndDestroyedUnderAWindowManager)
{
    CXvfbServer server({.windowManager = true});
    VX_REQUIRE_XVFB(server);
    ExpectFollowsATable(server);
}

TEST(CXcbWindowTrackerTest, FollowsATableWhereNoWindowManagerRuns)
{
    CXvfbServer server;
    VX_REQUIRE_XVFB(server);
    ExpectFollowsATable(server);
}

TEST(CXcbWindowTrackerTest, KeepsOurWindowDirectlyAboveTheTableWhenItIsRaised)
{
    CXvfbServer server({.windowManager = true});
    VX_REQUIRE_XVFB(server);
    CX11TestWindow table(server.Display(), 50, 50, 500, 400);
    table.Map();
    CX11TestWindow other(server.Display(), 80, 80, 500, 400);
    other.Map();
    CX11TestWindow box(server.Display(), 60, 60, 80, 20);
    box.SetOverrideRedirect();
    box.Map();
    box.Sync();

    CXcbWindowTracker tracker(server.Display());
    CTrackerProbe probe(tracker);
    // Both windows framed and shown before anything is compared.
    ASSERT_TRUE(probe.RunUntil([&] {
        return tracker.Watch(table.Id()).viewable && tracker.Watch(other.Id()).viewable &&
               TopLevelOf(server.Display(), table.Id()) != table.Id() &&
               TopLevelOf(server.Display(), other.Id()) != other.Id();
    }));

    // The box goes right above the table's frame, below the other window.
    tracker.StackAbove(box.Id(), table.Id());
    table.Sync();
    const uint32_t frame = TopLevelOf(server.Display(), table.Id());
    const uint32_t otherFrame = TopLevelOf(server.Display(), other.Id());
    std::vector<uint32_t> order = Stacking(server.Display());
    EXPECT_EQ(Position(order, box.Id()), Position(order, frame) + 1);
    EXPECT_LT(Position(order, box.Id()), Position(order, otherFrame));

    // Raising the table is heard, and the box, put back above the table on
    // every report as the HUD program does, follows it to the top.
    tracker.SetListener(
        [&](uint64_t, const CTrackedWindow&) { tracker.StackAbove(box.Id(), table.Id()); });
    table.Raise();
    EXPECT_TRUE(probe.RunUntil([&] {
        order = Stacking(server.Display());
        return Position(order, box.Id()) == Position(order, frame) + 1 &&
               Position(order, box.Id()) > Position(order, otherFrame);
    }));
}

TEST(CXcbWindowTrackerTest, TellsWhenTopLevelWindowsAppear)
{
    for (const bool managed : {true, false}) {
        CXvfbServer server({.windowManager = managed});
        VX_REQUIRE_XVFB(server);
        CXcbWindowTracker tracker(server.Display());
        CTrackerProbe probe(tracker);
        CX11TestWindow table(server.Display(), 50, 50, 300, 200);
        table.Map();
        EXPECT_TRUE(probe.RunUntil([&] { return probe.topLevelChanges > 0; })) << managed;
    }
}

TEST(CXcbWindowTrackerTest, WithoutAServerNothingIsWatchedAndNothingBreaks)
{
    CXcbWindowTracker tracker(":59999");
    EXPECT_FALSE(tracker.IsConnected());
    EXPECT_EQ(tracker.EventFd(), -1);
    EXPECT_FALSE(tracker.Watch(0x400001).exists);
    tracker.StackAbove(1, 0x400001);
    tracker.ProcessEvents();
    tracker.Poll();
}
