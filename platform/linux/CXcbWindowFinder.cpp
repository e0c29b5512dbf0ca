#include "platform/linux/CXcbWindowFinder.h"

#include "platform/linux/CXcbSession.h"

#include <cstdlib>

namespace {

const std::vector<const char*> kAtoms = {"_NET_CLIENT_LIST_STACKING",
                                         "_NET_CLIENT_LIST",
                                         "_NET_SUPPORTING_WM_CHECK",
                                         "_NET_WM_NAME",
                                         "_NET_WM_PID",
                                         "UTF8_STRING",
                                         "WM_STATE"};

}  // namespace

CXcbWindowFinder::CXcbWindowFinder(std::string display)
    : m_session(std::make_unique<CXcbSession>(std::move(display)))
{}

CXcbWindowFinder::~CXcbWindowFinder() = default;

std::vector<uint32_t> CXcbWindowFinder::ClientWindows()
{
    CXcbSession& x = *m_session;
    xcb_connection_t* c = x.Connection();
    const xcb_window_t root = x.Root();

    // A window manager that died leaves its lists behind: trust them only
    // while its check window still names itself.
    bool managed = false;
    if (auto check = x.TakeProperty(x.AskProperty(root, x.Atom("_NET_SUPPORTING_WM_CHECK")))) {
        const auto ids = CXcbSession::Values32(*check);
        if (!ids.empty()) {
            if (auto self =
                    x.TakeProperty(x.AskProperty(ids[0], x.Atom("_NET_SUPPORTING_WM_CHECK")))) {
                const auto selfIds = CXcbSession::Values32(*self);
                managed = !selfIds.empty() && selfIds[0] == ids[0];
            }
        }
    }
    if (managed) {
        for (const char* list : {"_NET_CLIENT_LIST_STACKING", "_NET_CLIENT_LIST"}) {
            auto property = x.TakeProperty(x.AskProperty(root, x.Atom(list), 1 << 20));
            if (property && property->type != XCB_ATOM_NONE) {
                return CXcbSession::Values32(*property);
            }
        }
    }

    std::vector<uint32_t> windows;
    xcb_query_tree_reply_t* tree = xcb_query_tree_reply(c, xcb_query_tree(c, root), nullptr);
    if (tree == nullptr) {
        return windows;
    }
    const xcb_window_t* children = xcb_query_tree_children(tree);
    const int count = xcb_query_tree_children_length(tree);
    std::vector<xcb_get_window_attributes_cookie_t> attributes;
    std::vector<xcb_get_property_cookie_t> states;
    for (int i = 0; i < count; ++i) {
        attributes.push_back(xcb_get_window_attributes(c, children[i]));
        states.push_back(x.AskProperty(children[i], x.Atom("WM_STATE"), 8));
    }
    for (int i = 0; i < count; ++i) {
        xcb_get_window_attributes_reply_t* a =
            xcb_get_window_attributes_reply(c, attributes[static_cast<size_t>(i)], nullptr);
        const auto state = x.TakeProperty(states[static_cast<size_t>(i)]);
        const bool keep = a != nullptr && a->override_redirect == 0 &&
                          a->_class == XCB_WINDOW_CLASS_INPUT_OUTPUT &&
                          a->map_state == XCB_MAP_STATE_VIEWABLE;
        std::free(a);
        if (!keep || !state) {
            continue;
        }
        if (state->type != XCB_ATOM_NONE) {
            windows.push_back(children[i]);
            continue;
        }
        // A frame of a window manager without the EWMH lists: the client is
        // the child that carries WM_STATE; a plain window stands for itself.
        uint32_t client = children[i];
        if (xcb_query_tree_reply_t* inner =
                xcb_query_tree_reply(c, xcb_query_tree(c, children[i]), nullptr)) {
            const xcb_window_t* grand = xcb_query_tree_children(inner);
            const int grandCount = xcb_query_tree_children_length(inner);
            for (int j = 0; j < grandCount; ++j) {
                auto innerState = x.TakeProperty(x.AskProperty(grand[j], x.Atom("WM_STATE"), 8));
                if (innerState && innerState->type != XCB_ATOM_NONE) {
                    client = grand[j];
                    break;
                }
            }
            std::free(inner);
        }
        windows.push_back(client);
    }
    std::free(tree);
    return windows;
}

std::vector<CWindowInfo> CXcbWindowFinder::TopLevelWindows()
{
    std::vector<CWindowInfo> result;
    CXcbSession& x = *m_session;
    if (!x.Ensure()) {
        return result;
    }
    x.PrefetchAtoms(kAtoms);
    const std::vector<uint32_t> windows = ClientWindows();

    struct CAsked
    {
        xcb_get_property_cookie_t wmClass, netName, wmName, pid;
    };
    std::vector<CAsked> asked;
    asked.reserve(windows.size());
    for (const uint32_t w : windows) {
        asked.push_back({x.AskProperty(w, XCB_ATOM_WM_CLASS, 1024),
                         x.AskProperty(w, x.Atom("_NET_WM_NAME"), 4096),
                         x.AskProperty(w, XCB_ATOM_WM_NAME, 4096),
                         x.AskProperty(w, x.Atom("_NET_WM_PID"), 4)});
    }
    for (size_t i = 0; i < windows.size(); ++i) {
        // Take every reply, even of a window that is gone, so none is left over.
        const auto wmClass = x.TakeProperty(asked[i].wmClass);
        const auto netName = x.TakeProperty(asked[i].netName);
        const auto wmName = x.TakeProperty(asked[i].wmName);
        const auto pid = x.TakeProperty(asked[i].pid);
        if (!wmClass || !netName || !wmName || !pid) {
            continue;
        }
        CWindowInfo info;
        info.id = windows[i];
        const auto pids = CXcbSession::Values32(*pid);
        info.pid = pids.empty() ? 0 : static_cast<int>(pids[0]);
        if (wmClass->format == 8) {
            // Two NUL-terminated strings: the instance, then the class.
            const std::string bytes(wmClass->bytes.begin(), wmClass->bytes.end());
            const size_t end = bytes.find('\0');
            const std::string instance = bytes.substr(0, end);
            std::string className =
                end == std::string::npos ? std::string() : bytes.substr(end + 1);
            className = className.substr(0, className.find('\0'));
            CXcbSession::CProperty part;
            part.format = 8;
            part.type = XCB_ATOM_STRING;
            part.bytes.assign(instance.begin(), instance.end());
            info.instanceName = x.Text(part);
            part.bytes.assign(className.begin(), className.end());
            info.className = x.Text(part);
        }
        info.title = x.Text(*netName);
        if (info.title.empty()) {
            info.title = x.Text(*wmName);
        }
        result.push_back(std::move(info));
    }
    return result;
}

std::optional<std::wstring> CXcbWindowFinder::Title(uint64_t window)
{
    CXcbSession& x = *m_session;
    if (window == 0 || window > UINT32_MAX || !x.Ensure()) {
        return std::nullopt;
    }
    const auto w = static_cast<xcb_window_t>(window);
    const auto netCookie = x.AskProperty(w, x.Atom("_NET_WM_NAME"), 4096);
    const auto nameCookie = x.AskProperty(w, XCB_ATOM_WM_NAME, 4096);
    const auto netName = x.TakeProperty(netCookie);
    const auto wmName = x.TakeProperty(nameCookie);
    if (!netName || !wmName) {
        return std::nullopt;
    }
    std::wstring title = x.Text(*netName);
    return title.empty() ? x.Text(*wmName) : title;
}
