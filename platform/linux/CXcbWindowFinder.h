// The top-level windows of an X display through libxcb. With a window
// manager that keeps the EWMH lists, the windows are those of
// _NET_CLIENT_LIST_STACKING (else _NET_CLIENT_LIST, in mapping order); where
// no such window manager runs, the mapped children of the root window that
// are not override-redirect, bottom to top, each replaced by the client
// window inside it (the one with WM_STATE) when it is a frame. Titles come
// from _NET_WM_NAME, else WM_NAME; classes from WM_CLASS; the process from
// _NET_WM_PID. Windows that vanish while they are read are left out.
// Connects on first use and again after the server went away.
// Thread-compatible.
#pragma once

#include "platform/IWindowFinder.h"

#include <memory>
#include <string>

class CXcbSession;

class CXcbWindowFinder : public IWindowFinder
{
public:
    // `display` as in $DISPLAY; empty for $DISPLAY itself.
    explicit CXcbWindowFinder(std::string display = {});
    ~CXcbWindowFinder() override;

    std::vector<CWindowInfo> TopLevelWindows() override;
    std::optional<std::wstring> Title(uint64_t window) override;

private:
    std::vector<uint32_t> ClientWindows();
    std::unique_ptr<CXcbSession> m_session;
};
