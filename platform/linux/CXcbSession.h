// One connection to the X server through libxcb, with the atoms and property
// reads the window layer needs. Requests are pipelined: ask for many
// properties first, then take the replies. Reconnects when the connection
// broke (the X server restarted). Private to platform/linux.
// Thread-compatible.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>
#include <xcb/xcb.h>

class CXcbSession
{
public:
    // `display` as in $DISPLAY (":0"); empty for $DISPLAY itself.
    explicit CXcbSession(std::string display = {});
    ~CXcbSession();
    CXcbSession(const CXcbSession&) = delete;
    CXcbSession& operator=(const CXcbSession&) = delete;

    // Connects when not connected or when the connection broke; false when
    // the server cannot be reached.
    bool Ensure();
    bool IsUsable() const;
    xcb_connection_t* Connection() const { return m_connection; }
    xcb_window_t Root() const { return m_root; }

    // The atom of `name`, interned once per connection.
    xcb_atom_t Atom(const char* name);
    // Interns several atoms with one round trip.
    void PrefetchAtoms(const std::vector<const char*>& names);

    struct CProperty
    {
        xcb_atom_t type = XCB_ATOM_NONE;
        uint8_t format = 0;
        std::vector<uint8_t> bytes;
    };
    xcb_get_property_cookie_t AskProperty(xcb_window_t window,
                                          xcb_atom_t property,
                                          uint32_t maxBytes = 16384);
    // Nothing when the window is gone; a property of type None when it is
    // not set.
    std::optional<CProperty> TakeProperty(xcb_get_property_cookie_t cookie);

    // The 32-bit values of a property of format 32 (windows, cardinals).
    static std::vector<uint32_t> Values32(const CProperty& property);
    // The text of a title property: UTF-8 for UTF8_STRING, Latin-1 otherwise.
    std::wstring Text(const CProperty& property);

    // The window's ancestor that is a child of the root (its frame under a
    // reparenting window manager, else the window itself); 0 when the
    // window is gone.
    xcb_window_t TopLevelAncestor(xcb_window_t window);

private:
    void Disconnect();

    std::string m_display;
    xcb_connection_t* m_connection = nullptr;
    xcb_window_t m_root = 0;
    std::map<std::string, xcb_atom_t> m_atoms;
};
