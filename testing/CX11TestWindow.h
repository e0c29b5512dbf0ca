// An ordinary top-level X11 window made by a test: the stand-in for a poker
// client's table window. Each window has its own connection, as another
// program's window would.
#pragma once

#include <cstdint>
#include <string>

struct xcb_connection_t;

namespace vxtest {

class CX11TestWindow
{
public:
    CX11TestWindow(const std::string& display, int x, int y, int width, int height);
    ~CX11TestWindow();
    CX11TestWindow(const CX11TestWindow&) = delete;
    CX11TestWindow& operator=(const CX11TestWindow&) = delete;

    bool IsValid() const { return m_window != 0; }
    uint32_t Id() const { return m_window; }

    // _NET_WM_NAME in UTF-8.
    void SetTitle(const std::string& utf8);
    // Only WM_NAME, in Latin-1 (as older programs write it).
    void SetLegacyTitle(const std::string& latin1);
    void SetClass(const std::string& instance, const std::string& className);
    void SetPid(uint32_t pid);
    // Asks for override-redirect (before Map).
    void SetOverrideRedirect();
    void Map();
    void Unmap();
    void Move(int x, int y);
    void Resize(int width, int height);
    void Raise();
    void Destroy();
    // Waits until the server has handled every request so far.
    void Sync();
    // The window's position on the screen (inside any frame) and its size.
    bool Geometry(int& x, int& y, int& width, int& height);
    // Whether a button press reached the window since the last call.
    bool TakeButtonPress();

private:
    uint32_t Atom(const char* name);

    xcb_connection_t* m_connection = nullptr;
    uint32_t m_window = 0;
    uint32_t m_root = 0;
};

}  // namespace vxtest
