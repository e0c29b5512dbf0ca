#include "platform/linux/CXcbWindowFinder.h"

#include "testing/CX11TestWindow.h"
#include "testing/CXvfbServer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <functional>
#include <thread>

using vxtest::CX11TestWindow;
using vxtest::CXvfbServer;

namespace {

// Asks until `done` holds for what the finder lists (window managers work
// at their own pace), at most five seconds.
bool ListUntil(CXcbWindowFinder& finder,
               const std::function<bool(const std::vector<CWindowInfo>&)>& done,
               std::vector<CWindowInfo>& windows)
{
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    for (;;) {
        windows = finder.TopLevelWindows();
        if (done(windows)) {
            return true;
        }
        if (std::chrono::steady_clock::now() > end) {
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
}

size_t IndexOf(const std::vector<CWindowInfo>& windows, uint64_t id)
{
    for (size_t i = 0; i < windows.size(); ++i) {
        if (windows[i].id == id) {
            return i;
        }
    }
    return std::string::npos;
}

bool HasAll(const std::vector<CWindowInfo>& windows, std::initializer_list<uint64_t> ids)
{
    return std::all_of(ids.begin(), ids.end(),
                       [&](uint64_t id) { return IndexOf(windows, id) != std::string::npos; });
}

void ExpectDescribesTheTestWindows(CXvfbServer& server)
{
    CX11TestWindow table(server.Display(), 40, 40, 400, 300);
    table.SetTitle("Halley - $0.01/$0.02 USD - Pot Limit Omaha");
    table.SetClass("pokerstars.exe", "pokerstars.exe");
    table.SetPid(4242);
    table.Map();
    CX11TestWindow chinese(server.Display(), 100, 100, 300, 200);
    chinese.SetTitle("\xe7\x8e\x8b\xe5\xb0\x8f\xe6\x98\x8e \xf0\x9f\x98\x80 - 1/2");
    chinese.Map();
    CX11TestWindow legacy(server.Display(), 150, 150, 300, 200);
    legacy.SetLegacyTitle("Caf\xe9");
    legacy.Map();
    CX11TestWindow hidden(server.Display(), 10, 10, 50, 50);
    hidden.SetTitle("never mapped");
    CX11TestWindow popup(server.Display(), 10, 10, 50, 50);
    popup.SetOverrideRedirect();
    popup.SetTitle("a menu");
    popup.Map();

    CXcbWindowFinder finder(server.Display());
    std::vector<CWindowInfo> windows;
    ASSERT_TRUE(ListUntil(
        finder,
        [&](const auto& w) {
            return HasAll(w, {table.Id(), chinese.Id(), legacy.Id()});
        },
        windows));
    const CWindowInfo& t = windows[IndexOf(windows, table.Id())];
    EXPECT_EQ(t.title, L"Halley - $0.01/$0.02 USD - Pot Limit Omaha");
    EXPECT_EQ(t.instanceName, L"pokerstars.exe");
    EXPECT_EQ(t.className, L"pokerstars.exe");
    EXPECT_EQ(t.pid, 4242);
    EXPECT_EQ(windows[IndexOf(windows, chinese.Id())].title,
              L"\u738b\u5c0f\u660e \U0001F600 - 1/2");
    EXPECT_EQ(windows[IndexOf(windows, legacy.Id())].title, L"Caf\u00e9");
    EXPECT_EQ(windows[IndexOf(windows, legacy.Id())].pid, 0);
    EXPECT_EQ(IndexOf(windows, hidden.Id()), std::string::npos);
    EXPECT_EQ(IndexOf(windows, popup.Id()), std::string::npos);

    // Bottom to top: the last mapped is on top until another is raised.
    EXPECT_LT(IndexOf(windows, table.Id()), IndexOf(windows, legacy.Id()));
    table.Raise();
    ASSERT_TRUE(ListUntil(
        finder,
        [&](const auto& w) {
            return HasAll(w, {table.Id(), legacy.Id()}) &&
                   IndexOf(w, table.Id()) > IndexOf(w, legacy.Id());
        },
        windows));

    EXPECT_EQ(finder.Title(table.Id()), L"Halley - $0.01/$0.02 USD - Pot Limit Omaha");
    table.Destroy();
    table.Sync();
    EXPECT_EQ(finder.Title(table.Id()), std::nullopt);
    ASSERT_TRUE(ListUntil(
        finder, [&](const auto& w) { return IndexOf(w, table.Id()) == std::string::npos; },
        windows));
}

}  // namespace

TEST(CXcbWindowFinderTest, ListsClientWindowsOfAWindowManagerInStackingOrder)
{
    CXvfbServer server({.windowManager = true});
    VX_REQUIRE_XVFB(server);
    ExpectDescribesTheTestWindows(server);
}

TEST(CXcbWindowFinderTest, ListsTheRootsChildrenWhereNoWindowManagerRuns)
{
    CXvfbServer server;
    VX_REQUIRE_XVFB(server);
    ExpectDescribesTheTestWindows(server);
}

TEST(CXcbWindowFinderTest, AServerThatCannotBeReachedGivesNoWindows)
{
    CXcbWindowFinder finder(":59999");
    EXPECT_TRUE(finder.TopLevelWindows().empty());
    EXPECT_EQ(finder.Title(0x200001), std::nullopt);
    EXPECT_TRUE(finder.TopLevelWindows().empty());
}
