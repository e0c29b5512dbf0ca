// The top-level windows of the desktop as the window system lists them: the
// stand-in for enumerating windows and reading their titles and classes. Window
// ids are X11 window ids. Thread-compatible.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

struct CWindowInfo
{
    uint64_t id = 0;
    // The owning process (_NET_WM_PID); 0 when the window does not say.
    int pid = 0;
    // WM_CLASS: instance name and class name; empty when not set.
    std::wstring instanceName;
    std::wstring className;
    // _NET_WM_NAME, else WM_NAME; empty when not set.
    std::wstring title;
};

class IWindowFinder
{
public:
    virtual ~IWindowFinder() = default;

    // Every top-level client window, bottom to top in stacking order (the
    // window manager's stacking list, or the root window's children where no
    // window manager runs). Empty when the window system cannot be reached.
    virtual std::vector<CWindowInfo> TopLevelWindows() = 0;

    // The title of `window`; nothing when the window no longer exists.
    virtual std::optional<std::wstring> Title(uint64_t window) = 0;
};
