#include "testing/CX11TestWindow.h"

#include <cstdlib>
#include <cstring>
#include <xcb/xcb.h>

namespace vxtest {

CX11TestWindow::CX11TestWindow(const std::string& display, int x, int y, int width, int height)
{
    m_connection = xcb_connect(display.c_str(), nullptr);
    if (xcb_connection_has_error(m_connection) != 0) {
        return;
    }
    xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(m_connection)).data;
    m_root = screen->root;
    m_window = xcb_generate_id(m_connection);
    const uint32_t values[] = {0x1e5b2eu,
                               XCB_EVENT_MASK_BUTTON_PRESS | XCB_EVENT_MASK_STRUCTURE_NOTIFY};
    xcb_create_window(m_connection, XCB_COPY_FROM_PARENT, m_window, m_root, static_cast<int16_t>(x),
                      static_cast<int16_t>(y), static_cast<uint16_t>(width),
                      static_cast<uint16_t>(height), 0, XCB_WINDOW_CLASS_INPUT_OUTPUT,
                      screen->root_visual, XCB_CW_BACK_PIXEL | XCB_CW_EVENT_MASK, values);
    // Window managers place windows where they like unless told otherwise.
    uint32_t hints[18] = {};
    hints[0] = 1 | 2 | 4 | 8;  // USPosition, USSize, PPosition, PSize
    hints[1] = static_cast<uint32_t>(x);
    hints[2] = static_cast<uint32_t>(y);
    hints[3] = static_cast<uint32_t>(width);
    hints[4] = static_cast<uint32_t>(height);
    xcb_change_property(m_connection, XCB_PROP_MODE_REPLACE, m_window, XCB_ATOM_WM_NORMAL_HINTS,
                        XCB_ATOM_WM_SIZE_HINTS, 32, 18, hints);
    xcb_flush(m_connection);
}

CX11TestWindow::~CX11TestWindow()
{
    if (m_connection != nullptr) {
        xcb_disconnect(m_connection);
    }
}

uint32_t CX11TestWindow::Atom(const char* name)
{
    xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(
        m_connection,
        xcb_intern_atom(m_connection, 0, static_cast<uint16_t>(std::strlen(name)), name), nullptr);
    const uint32_t atom = reply != nullptr ? reply->atom : 0;
    std::free(reply);
    return atom;
}

void CX11TestWindow::SetTitle(const std::string& utf8)
{
    xcb_change_property(m_connection, XCB_PROP_MODE_REPLACE, m_window, Atom("_NET_WM_NAME"),
                        Atom("UTF8_STRING"), 8, static_cast<uint32_t>(utf8.size()), utf8.data());
    xcb_flush(m_connection);
}

void CX11TestWindow::SetLegacyTitle(const std::string& latin1)
{
    xcb_change_property(m_connection, XCB_PROP_MODE_REPLACE, m_window, XCB_ATOM_WM_NAME,
                        XCB_ATOM_STRING, 8, static_cast<uint32_t>(latin1.size()), latin1.data());
    xcb_flush(m_connection);
}

void CX11TestWindow::SetClass(const std::string& instance, const std::string& className)
{
    std::string value = instance;
    value.push_back('\0');
    value += className;
    value.push_back('\0');
    xcb_change_property(m_connection, XCB_PROP_MODE_REPLACE, m_window, XCB_ATOM_WM_CLASS,
                        XCB_ATOM_STRING, 8, static_cast<uint32_t>(value.size()), value.data());
    xcb_flush(m_connection);
}

void CX11TestWindow::SetPid(uint32_t pid)
{
    xcb_change_property(m_connection, XCB_PROP_MODE_REPLACE, m_window, Atom("_NET_WM_PID"),
                        XCB_ATOM_CARDINAL, 32, 1, &pid);
    xcb_flush(m_connection);
}

void CX11TestWindow::SetOverrideRedirect()
{
    const uint32_t values[] = {1};
    xcb_change_window_attributes(m_connection, m_window, XCB_CW_OVERRIDE_REDIRECT, values);
    xcb_flush(m_connection);
}

void CX11TestWindow::Map()
{
    xcb_map_window(m_connection, m_window);
    xcb_flush(m_connection);
}

void CX11TestWindow::Unmap()
{
    xcb_unmap_window(m_connection, m_window);
    // A managed window leaves the screen only with the synthetic unmap of
    // ICCCM (withdrawing).
    xcb_unmap_notify_event_t event{};
    event.response_type = XCB_UNMAP_NOTIFY;
    event.event = m_root;
    event.window = m_window;
    xcb_send_event(m_connection, 0, m_root,
                   XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
                   reinterpret_cast<const char*>(&event));
    xcb_flush(m_connection);
}

void CX11TestWindow::Move(int x, int y)
{
    const uint32_t values[] = {static_cast<uint32_t>(x), static_cast<uint32_t>(y)};
    xcb_configure_window(m_connection, m_window, XCB_CONFIG_WINDOW_X | XCB_CONFIG_WINDOW_Y, values);
    xcb_flush(m_connection);
}

void CX11TestWindow::Resize(int width, int height)
{
    const uint32_t values[] = {static_cast<uint32_t>(width), static_cast<uint32_t>(height)};
    xcb_configure_window(m_connection, m_window, XCB_CONFIG_WINDOW_WIDTH | XCB_CONFIG_WINDOW_HEIGHT,
                         values);
    xcb_flush(m_connection);
}

void CX11TestWindow::Raise()
{
    const uint32_t values[] = {XCB_STACK_MODE_ABOVE};
    xcb_configure_window(m_connection, m_window, XCB_CONFIG_WINDOW_STACK_MODE, values);
    // A window manager may refuse an application's own raise, but follows a
    // pager's request to activate the window.
    xcb_client_message_event_t event{};
    event.response_type = XCB_CLIENT_MESSAGE;
    event.format = 32;
    event.window = m_window;
    event.type = Atom("_NET_ACTIVE_WINDOW");
    event.data.data32[0] = 2;
    xcb_send_event(m_connection, 0, m_root,
                   XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
                   reinterpret_cast<const char*>(&event));
    xcb_flush(m_connection);
}

void CX11TestWindow::Destroy()
{
    if (m_window != 0) {
        xcb_destroy_window(m_connection, m_window);
        xcb_flush(m_connection);
    }
}

void CX11TestWindow::Sync()
{
    std::free(xcb_get_input_focus_reply(m_connection, xcb_get_input_focus(m_connection), nullptr));
}

bool CX11TestWindow::Geometry(int& x, int& y, int& width, int& height)
{
    xcb_get_geometry_reply_t* g =
        xcb_get_geometry_reply(m_connection, xcb_get_geometry(m_connection, m_window), nullptr);
    xcb_translate_coordinates_reply_t* t = xcb_translate_coordinates_reply(
        m_connection, xcb_translate_coordinates(m_connection, m_window, m_root, 0, 0), nullptr);
    const bool ok = g != nullptr && t != nullptr;
    if (ok) {
        x = t->dst_x;
        y = t->dst_y;
        width = g->width;
        height = g->height;
    }
    std::free(g);
    std::free(t);
    return ok;
}

bool CX11TestWindow::TakeButtonPress()
{
    bool pressed = false;
    while (xcb_generic_event_t* event = xcb_poll_for_event(m_connection)) {
        pressed |= (event->response_type & 0x7f) == XCB_BUTTON_PRESS;
        std::free(event);
    }
    return pressed;
}

}  // namespace vxtest
