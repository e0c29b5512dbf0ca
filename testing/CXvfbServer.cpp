#include "testing/CXvfbServer.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>
#include <xcb/xcb.h>

extern char** environ;

namespace vxtest {

namespace {

using Clock = std::chrono::steady_clock;

pid_t Spawn(const std::vector<std::string>& args,
            const std::vector<std::string>& extraEnvironment,
            const posix_spawn_file_actions_t* actions)
{
    std::vector<char*> argv;
    for (const auto& a : args) {
        argv.push_back(const_cast<char*>(a.c_str()));
    }
    argv.push_back(nullptr);
    std::vector<std::string> environment;
    for (char** e = environ; *e != nullptr; ++e) {
        bool replaced = false;
        for (const auto& extra : extraEnvironment) {
            const size_t keyLength = extra.find('=') + 1;
            replaced |= std::strncmp(*e, extra.c_str(), keyLength) == 0;
        }
        if (!replaced) {
            environment.emplace_back(*e);
        }
    }
    environment.insert(environment.end(), extraEnvironment.begin(), extraEnvironment.end());
    std::vector<char*> envp;
    for (auto& e : environment) {
        envp.push_back(e.data());
    }
    envp.push_back(nullptr);
    pid_t pid = -1;
    if (::posix_spawnp(&pid, argv[0], actions, nullptr, argv.data(), envp.data()) != 0) {
        return -1;
    }
    return pid;
}

void Terminate(pid_t& pid)
{
    if (pid <= 0) {
        return;
    }
    ::kill(pid, SIGTERM);
    const auto end = Clock::now() + std::chrono::seconds(3);
    int status = 0;
    while (::waitpid(pid, &status, WNOHANG) == 0) {
        if (Clock::now() > end) {
            ::kill(pid, SIGKILL);
            ::waitpid(pid, &status, 0);
            break;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    pid = -1;
}

}  // namespace

bool X11Required()
{
    const char* value = std::getenv("VX_REQUIRE_X11");
    return value != nullptr && *value != '\0' && std::strcmp(value, "0") != 0;
}

CXvfbServer::CXvfbServer(const COptions& options)
{
    if (!options.start) {
        m_problem = "not started";
        return;
    }
    if (!StartServer(options)) {
        Stop();
        return;
    }
    if (options.windowManager && !StartWindowManager()) {
        Stop();
    }
}

CXvfbServer::~CXvfbServer()
{
    Stop();
}

bool CXvfbServer::StartServer(const COptions& options)
{
    int fds[2];
    if (::pipe2(fds, O_CLOEXEC) != 0) {
        m_problem = "pipe failed";
        return false;
    }
    // The server writes its display number to the pipe once it is ready.
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, fds[1], 3);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    const std::string screen =
        std::to_string(options.width) + "x" + std::to_string(options.height) + "x24";
    m_server = Spawn({"Xvfb", "-displayfd", "3", "-screen", "0", screen, "-nolisten", "tcp",
                      "-extension", "GLX", "-noreset"},
                     {}, &actions);
    posix_spawn_file_actions_destroy(&actions);
    ::close(fds[1]);
    if (m_server <= 0) {
        ::close(fds[0]);
        m_problem = "Xvfb cannot be started (is the xvfb package installed?)";
        return false;
    }
    std::string number;
    const auto end = Clock::now() + std::chrono::seconds(20);
    while (number.find('\n') == std::string::npos && Clock::now() < end) {
        pollfd p{fds[0], POLLIN, 0};
        if (::poll(&p, 1, 100) > 0) {
            char buffer[32];
            const ssize_t n = ::read(fds[0], buffer, sizeof(buffer));
            if (n <= 0) {
                break;
            }
            number.append(buffer, static_cast<size_t>(n));
        }
    }
    ::close(fds[0]);
    if (number.empty() || number.find('\n') == std::string::npos) {
        m_problem = "Xvfb did not start";
        return false;
    }
    char display[32];
    std::snprintf(display, sizeof(display), ":%d", std::atoi(number.c_str()));
    m_display = std::string(display);
    return true;
}

bool CXvfbServer::StartWindowManager()
{
    const std::string home = m_dir.Path();
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    m_windowManager =
        Spawn({"openbox", "--sm-disable"},
              {"DISPLAY=" + m_display, "HOME=" + home, "XDG_CONFIG_HOME=" + home + "/config",
               "XDG_CACHE_HOME=" + home + "/cache"},
              &actions);
    posix_spawn_file_actions_destroy(&actions);
    if (m_windowManager <= 0) {
        m_problem = "openbox cannot be started (is the openbox package installed?)";
        return false;
    }
    // Ready once it manages a window: it names its check window on the
    // root early, but map requests made before it finished starting are lost.
    xcb_connection_t* c = xcb_connect(m_display.c_str(), nullptr);
    if (xcb_connection_has_error(c) != 0) {
        xcb_disconnect(c);
        m_problem = "cannot connect to Xvfb";
        return false;
    }
    xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(c)).data;
    bool ready = false;
    const auto end = Clock::now() + std::chrono::seconds(20);
    while (!ready && Clock::now() < end) {
        const xcb_window_t probe = xcb_generate_id(c);
        xcb_create_window(c, XCB_COPY_FROM_PARENT, probe, screen->root, 0, 0, 10, 10, 0,
                          XCB_WINDOW_CLASS_INPUT_OUTPUT, screen->root_visual, 0, nullptr);
        xcb_map_window(c, probe);
        const auto tryEnd = Clock::now() + std::chrono::milliseconds(500);
        while (!ready && Clock::now() < tryEnd) {
            xcb_query_tree_reply_t* tree =
                xcb_query_tree_reply(c, xcb_query_tree(c, probe), nullptr);
            ready = tree != nullptr && tree->parent != screen->root;
            std::free(tree);
            if (!ready) {
                std::this_thread::sleep_for(std::chrono::milliseconds(20));
            }
        }
        xcb_destroy_window(c, probe);
        std::free(xcb_get_input_focus_reply(c, xcb_get_input_focus(c), nullptr));
    }
    // Kept open: the server would give a later client this one's window ids,
    // and the window manager may not yet have forgotten the probes.
    m_probeConnection = c;
    if (!ready) {
        m_problem = "openbox did not start";
    }
    return ready;
}

void CXvfbServer::Stop()
{
    if (m_probeConnection != nullptr) {
        xcb_disconnect(m_probeConnection);
        m_probeConnection = nullptr;
    }
    Terminate(m_windowManager);
    Terminate(m_server);
    m_display.clear();
}

}  // namespace vxtest
