// A private X server (Xvfb) for one test program, optionally with a window
// manager (openbox), removed with everything it started when it goes. The
// display number is the first free one, chosen by the server itself.
#pragma once

#include "testing/CTempDir.h"

#include <string>
#include <sys/types.h>

struct xcb_connection_t;

namespace vxtest {

class CXvfbServer
{
public:
    struct COptions
    {
        bool windowManager = false;
        int width = 1280;
        int height = 800;
        // False makes a server that is not running (for test listings).
        bool start = true;
    };

    explicit CXvfbServer(const COptions& options);
    CXvfbServer()
        : CXvfbServer(COptions{})
    {}
    ~CXvfbServer();
    CXvfbServer(const CXvfbServer&) = delete;
    CXvfbServer& operator=(const CXvfbServer&) = delete;

    bool IsRunning() const { return !m_display.empty(); }
    // ":N" while running.
    const std::string& Display() const { return m_display; }
    // Why the server is not running.
    const std::string& Problem() const { return m_problem; }
    // A folder the test may use for its files (settings, sockets).
    const CTempDir& Dir() const { return m_dir; }

private:
    bool StartServer(const COptions& options);
    bool StartWindowManager();
    void Stop();

    CTempDir m_dir;
    pid_t m_server = -1;
    pid_t m_windowManager = -1;
    xcb_connection_t* m_probeConnection = nullptr;
    std::string m_display;
    std::string m_problem;
};

// Whether tests that need an X server must fail rather than skip without
// one ($VX_REQUIRE_X11 set, as ./test does).
bool X11Required();

// Skips (or, where X11 is required, fails) the calling test when `server`
// is not running.
#define VX_REQUIRE_XVFB(server)                                    \
    do {                                                           \
        if (!(server).IsRunning()) {                               \
            if (::vxtest::X11Required()) {                         \
                FAIL() << "no X server: " << (server).Problem();   \
            }                                                      \
            GTEST_SKIP() << "no X server: " << (server).Problem(); \
        }                                                          \
    } while (0)

}  // namespace vxtest
