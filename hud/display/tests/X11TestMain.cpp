// Runs the display's x11 tests on a private Xvfb with openbox, with Qt on the
// xcb platform, as pelmora itself runs.
#include "hud/display/tests/X11TestEnvironment.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QThread>

#include <chrono>
#include <cstdlib>
#include <memory>

namespace vxtest {

namespace {

CXvfbServer* g_server = nullptr;

}  // namespace

CXvfbServer& TestServer()
{
    return *g_server;
}

bool PumpUntil(const std::function<bool()>& done, const std::function<void()>& also, double seconds)
{
    const auto end = std::chrono::steady_clock::now() +
                     std::chrono::milliseconds(static_cast<int>(seconds * 1000));
    while (!done()) {
        if (std::chrono::steady_clock::now() > end) {
            return false;
        }
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        if (also) {
            also();
        }
        QThread::msleep(5);
    }
    return true;
}

}  // namespace vxtest

int main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    // Listing the tests (CTest's discovery) needs no X server.
    std::unique_ptr<vxtest::CXvfbServer> server;
    if (GTEST_FLAG_GET(list_tests)) {
        server =
            std::make_unique<vxtest::CXvfbServer>(vxtest::CXvfbServer::COptions{.start = false});
    } else {
        server = std::make_unique<vxtest::CXvfbServer>(
            vxtest::CXvfbServer::COptions{.windowManager = true, .width = 1280, .height = 800});
    }
    vxtest::g_server = server.get();
    if (server->IsRunning()) {
        ::setenv("DISPLAY", server->Display().c_str(), 1);
        ::setenv("QT_QPA_PLATFORM", "xcb", 1);
    } else {
        // The tests skip (or fail where X11 is required) on their own.
        ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
    }
    QApplication application(argc, argv);
    return RUN_ALL_TESTS();
}
