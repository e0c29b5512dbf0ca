#include "platform/linux/CXcbSession.h"

#include "foundation/WideText.h"

#include <cstdlib>
#include <cstring>

CXcbSession::CXcbSession(std::string display)
    : m_display(std::move(display))
{}

CXcbSession::~CXcbSession()
{
    Disconnect();
}

void CXcbSession::Disconnect()
{
    if (m_connection != nullptr) {
        xcb_disconnect(m_connection);
        m_connection = nullptr;
    }
    m_root = 0;
    m_atoms.clear();
}

bool CXcbSession::IsUsable() const
{
    return m_connection != nullptr && xcb_connection_has_error(m_connection) == 0;
}

bool CXcbSession::Ensure()
{
    if (IsUsable()) {
        return true;
    }
    Disconnect();
    int screenNumber = 0;
    xcb_connection_t* connection =
        xcb_connect(m_display.empty() ? nullptr : m_display.c_str(), &screenNumber);
    if (connection == nullptr || xcb_connection_has_error(connection) != 0) {
        // xcb hands out an error object that still needs freeing.
        if (connection != nullptr) {
            xcb_disconnect(connection);
        }
        return false;
    }
    xcb_screen_iterator_t it = xcb_setup_roots_iterator(xcb_get_setup(connection));
    for (int i = 0; i < screenNumber && it.rem > 0; ++i) {
        xcb_screen_next(&it);
    }
    if (it.rem == 0) {
        xcb_disconnect(connection);
        return false;
    }
    m_connection = connection;
    m_root = it.data->root;
    return true;
}

xcb_atom_t CXcbSession::Atom(const char* name)
{
    const auto found = m_atoms.find(name);
    if (found != m_atoms.end()) {
        return found->second;
    }
    if (!Ensure()) {
        return XCB_ATOM_NONE;
    }
    const xcb_intern_atom_cookie_t cookie =
        xcb_intern_atom(m_connection, 0, static_cast<uint16_t>(std::strlen(name)), name);
    xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(m_connection, cookie, nullptr);
    xcb_atom_t atom = XCB_ATOM_NONE;
    if (reply != nullptr) {
        atom = reply->atom;
    }
    std::free(reply);
    if (atom != XCB_ATOM_NONE) {
        m_atoms.emplace(name, atom);
    }
    return atom;
}

void CXcbSession::PrefetchAtoms(const std::vector<const char*>& names)
{
    if (!Ensure()) {
        return;
    }
    std::vector<std::pair<const char*, xcb_intern_atom_cookie_t>> cookies;
    for (const char* name : names) {
        if (m_atoms.count(name) == 0) {
            cookies.emplace_back(
                name,
                xcb_intern_atom(m_connection, 0, static_cast<uint16_t>(std::strlen(name)), name));
        }
    }
    for (const auto& [name, cookie] : cookies) {
        xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(m_connection, cookie, nullptr);
        if (reply != nullptr && reply->atom != XCB_ATOM_NONE) {
            m_atoms.emplace(name, reply->atom);
        }
        std::free(reply);
    }
}

xcb_get_property_cookie_t CXcbSession::AskProperty(xcb_window_t window,
                                                   xcb_atom_t property,
                                                   uint32_t maxBytes)
{
    return xcb_get_property(m_connection, 0, window, property, XCB_GET_PROPERTY_TYPE_ANY, 0,
                            (maxBytes + 3) / 4);
}

std::optional<CXcbSession::CProperty> CXcbSession::TakeProperty(xcb_get_property_cookie_t cookie)
{
    xcb_generic_error_t* error = nullptr;
    xcb_get_property_reply_t* reply = xcb_get_property_reply(m_connection, cookie, &error);
    if (reply == nullptr) {
        std::free(error);
        return std::nullopt;
    }
    CProperty property;
    property.type = reply->type;
    property.format = reply->format;
    const int length = xcb_get_property_value_length(reply);
    if (length > 0) {
        const auto* data = static_cast<const uint8_t*>(xcb_get_property_value(reply));
        property.bytes.assign(data, data + length);
    }
    std::free(reply);
    return property;
}

std::vector<uint32_t> CXcbSession::Values32(const CProperty& property)
{
    std::vector<uint32_t> values;
    if (property.format != 32) {
        return values;
    }
    values.resize(property.bytes.size() / 4);
    std::memcpy(values.data(), property.bytes.data(), values.size() * 4);
    return values;
}

std::wstring CXcbSession::Text(const CProperty& property)
{
    if (property.format != 8) {
        return {};
    }
    std::string bytes(property.bytes.begin(), property.bytes.end());
    while (!bytes.empty() && bytes.back() == '\0') {
        bytes.pop_back();
    }
    if (property.type == Atom("UTF8_STRING")) {
        return FromUtf8(bytes);
    }
    std::wstring text;
    text.reserve(bytes.size());
    for (const char c : bytes) {
        text.push_back(static_cast<wchar_t>(static_cast<unsigned char>(c)));
    }
    return text;
}

xcb_window_t CXcbSession::TopLevelAncestor(xcb_window_t window)
{
    if (!Ensure()) {
        return 0;
    }
    xcb_window_t current = window;
    // Window managers nest clients a few levels deep at most.
    for (int depth = 0; depth < 16; ++depth) {
        xcb_query_tree_reply_t* tree =
            xcb_query_tree_reply(m_connection, xcb_query_tree(m_connection, current), nullptr);
        if (tree == nullptr) {
            return 0;
        }
        const xcb_window_t parent = tree->parent;
        const xcb_window_t root = tree->root;
        std::free(tree);
        if (parent == root || parent == XCB_WINDOW_NONE) {
            return current;
        }
        current = parent;
    }
    return current;
}
