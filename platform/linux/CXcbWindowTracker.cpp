#include "platform/linux/CXcbWindowTracker.h"

#include "platform/linux/CXcbSession.h"

#include <cstdlib>
#include <vector>

CXcbWindowTracker::CXcbWindowTracker(std::string display)
    : m_session(std::make_unique<CXcbSession>(std::move(display)))
{
    if (m_session->Ensure()) {
        m_session->PrefetchAtoms({"_NET_CLIENT_LIST", "_NET_CLIENT_LIST_STACKING"});
        SelectEvents(m_session->Root(),
                     XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY | XCB_EVENT_MASK_PROPERTY_CHANGE);
        xcb_flush(m_session->Connection());
    }
}

CXcbWindowTracker::~CXcbWindowTracker() = default;

bool CXcbWindowTracker::IsConnected() const
{
    return m_session->IsUsable();
}

void CXcbWindowTracker::SelectEvents(uint32_t window, uint32_t mask)
{
    const uint32_t values[] = {mask};
    xcb_change_window_attributes(m_session->Connection(), window, XCB_CW_EVENT_MASK, values);
}

CTrackedWindow CXcbWindowTracker::ReadState(uint32_t window, uint64_t restacks)
{
    CTrackedWindow state;
    state.restacks = restacks;
    if (!m_session->IsUsable()) {
        return state;
    }
    xcb_connection_t* c = m_session->Connection();
    const auto attributesCookie = xcb_get_window_attributes(c, window);
    const auto geometryCookie = xcb_get_geometry(c, window);
    const auto placeCookie = xcb_translate_coordinates(c, window, m_session->Root(), 0, 0);
    xcb_get_window_attributes_reply_t* attributes =
        xcb_get_window_attributes_reply(c, attributesCookie, nullptr);
    xcb_get_geometry_reply_t* geometry = xcb_get_geometry_reply(c, geometryCookie, nullptr);
    xcb_translate_coordinates_reply_t* place =
        xcb_translate_coordinates_reply(c, placeCookie, nullptr);
    if (attributes != nullptr && geometry != nullptr && place != nullptr) {
        state.exists = true;
        state.viewable = attributes->map_state == XCB_MAP_STATE_VIEWABLE;
        state.x = place->dst_x;
        state.y = place->dst_y;
        state.width = geometry->width;
        state.height = geometry->height;
    }
    std::free(attributes);
    std::free(geometry);
    std::free(place);
    return state;
}

bool CXcbWindowTracker::UpdateFrame(uint32_t window, CWatched& watched)
{
    const uint32_t frame = m_session->TopLevelAncestor(window);
    if (frame == watched.frame) {
        return false;
    }
    // Our interest in the old frame ends; the window's own mask stays.
    if (watched.frame != 0 && watched.frame != window) {
        SelectEvents(watched.frame, XCB_EVENT_MASK_NO_EVENT);
    }
    if (frame != 0 && frame != window) {
        SelectEvents(frame, XCB_EVENT_MASK_STRUCTURE_NOTIFY);
    }
    watched.frame = frame;
    return true;
}

CTrackedWindow CXcbWindowTracker::Watch(uint64_t window)
{
    if (window == 0 || window > UINT32_MAX || !m_session->Ensure()) {
        return {};
    }
    const auto id = static_cast<uint32_t>(window);
    const auto known = m_watched.find(id);
    if (known != m_watched.end()) {
        return known->second.last;
    }
    // Select first, then read: a change between the two is not lost.
    SelectEvents(id, XCB_EVENT_MASK_STRUCTURE_NOTIFY);
    CWatched watched;
    const CTrackedWindow state = ReadState(id, 0);
    if (!state.exists) {
        return state;
    }
    UpdateFrame(id, watched);
    watched.last = state;
    m_watched[id] = watched;
    xcb_flush(m_session->Connection());
    return state;
}

void CXcbWindowTracker::Unwatch(uint64_t window)
{
    const auto found = m_watched.find(static_cast<uint32_t>(window));
    if (found == m_watched.end()) {
        return;
    }
    if (m_session->IsUsable()) {
        SelectEvents(found->first, XCB_EVENT_MASK_NO_EVENT);
        if (found->second.frame != 0 && found->second.frame != found->first) {
            SelectEvents(found->second.frame, XCB_EVENT_MASK_NO_EVENT);
        }
        xcb_flush(m_session->Connection());
    }
    m_watched.erase(found);
}

void CXcbWindowTracker::StackAbove(uint64_t ours, uint64_t window)
{
    if (!m_session->IsUsable() || ours == 0 || ours > UINT32_MAX) {
        return;
    }
    const auto found = m_watched.find(static_cast<uint32_t>(window));
    const uint32_t sibling = found != m_watched.end() && found->second.frame != 0
                                 ? found->second.frame
                                 : m_session->TopLevelAncestor(static_cast<uint32_t>(window));
    if (sibling == 0) {
        return;
    }
    const uint32_t values[] = {sibling, XCB_STACK_MODE_ABOVE};
    // Unchecked: an error (a window that just went) arrives as an event and
    // is dropped there.
    xcb_configure_window(m_session->Connection(), static_cast<uint32_t>(ours),
                         XCB_CONFIG_WINDOW_SIBLING | XCB_CONFIG_WINDOW_STACK_MODE, values);
    xcb_flush(m_session->Connection());
}

int CXcbWindowTracker::EventFd() const
{
    return m_session->IsUsable() ? xcb_get_file_descriptor(m_session->Connection()) : -1;
}

uint32_t CXcbWindowTracker::WatchedOf(uint32_t eventWindow) const
{
    if (m_watched.count(eventWindow) != 0) {
        return eventWindow;
    }
    for (const auto& [id, watched] : m_watched) {
        if (watched.frame == eventWindow) {
            return id;
        }
    }
    return 0;
}

void CXcbWindowTracker::ProcessEvents()
{
    if (!m_session->IsUsable()) {
        return;
    }
    xcb_connection_t* c = m_session->Connection();
    std::set<uint32_t> dirty;
    std::set<uint32_t> reframed;
    bool topLevelChanged = false;
    const xcb_atom_t clientList = m_session->Atom("_NET_CLIENT_LIST");
    const xcb_atom_t stackingList = m_session->Atom("_NET_CLIENT_LIST_STACKING");
    while (xcb_generic_event_t* event = xcb_poll_for_event(c)) {
        const uint8_t type = event->response_type & 0x7f;
        const xcb_window_t root = m_session->Root();
        switch (type) {
        case XCB_CONFIGURE_NOTIFY: {
            const auto* e = reinterpret_cast<xcb_configure_notify_event_t*>(event);
            if (const uint32_t id = WatchedOf(e->window)) {
                dirty.insert(id);
                // Any ConfigureNotify may be a restack; a state equal in
                // every other way must still reach the listener then.
                m_restacked.insert(id);
            }
            break;
        }
        case XCB_MAP_NOTIFY: {
            const auto* e = reinterpret_cast<xcb_map_notify_event_t*>(event);
            if (const uint32_t id = WatchedOf(e->window)) {
                dirty.insert(id);
                m_restacked.insert(id);
            }
            topLevelChanged |= e->event == root && e->override_redirect == 0;
            break;
        }
        case XCB_UNMAP_NOTIFY: {
            const auto* e = reinterpret_cast<xcb_unmap_notify_event_t*>(event);
            if (const uint32_t id = WatchedOf(e->window)) {
                dirty.insert(id);
            }
            topLevelChanged |= e->event == root;
            break;
        }
        case XCB_DESTROY_NOTIFY: {
            const auto* e = reinterpret_cast<xcb_destroy_notify_event_t*>(event);
            if (const uint32_t id = WatchedOf(e->window)) {
                dirty.insert(id);
            }
            topLevelChanged |= e->event == root;
            break;
        }
        case XCB_REPARENT_NOTIFY: {
            const auto* e = reinterpret_cast<xcb_reparent_notify_event_t*>(event);
            if (m_watched.count(e->window) != 0) {
                reframed.insert(e->window);
                dirty.insert(e->window);
            }
            topLevelChanged |= e->event == root;
            break;
        }
        case XCB_CREATE_NOTIFY: {
            const auto* e = reinterpret_cast<xcb_create_notify_event_t*>(event);
            topLevelChanged |= e->parent == root && e->override_redirect == 0;
            break;
        }
        case XCB_PROPERTY_NOTIFY: {
            const auto* e = reinterpret_cast<xcb_property_notify_event_t*>(event);
            topLevelChanged |=
                e->window == root && (e->atom == clientList || e->atom == stackingList);
            break;
        }
        default:
            // Errors of requests on windows that went, and events of no interest.
            break;
        }
        std::free(event);
    }
    for (const uint32_t id : reframed) {
        const auto found = m_watched.find(id);
        if (found != m_watched.end()) {
            UpdateFrame(id, found->second);
        }
    }
    if (!reframed.empty()) {
        xcb_flush(c);
    }
    Report(dirty, false);
    if (topLevelChanged && m_topLevelListener) {
        m_topLevelListener();
    }
}

void CXcbWindowTracker::Poll()
{
    std::set<uint32_t> all;
    for (auto& [id, watched] : m_watched) {
        all.insert(id);
        UpdateFrame(id, watched);
    }
    Report(all, false);
}

void CXcbWindowTracker::Report(const std::set<uint32_t>& dirty, bool always)
{
    // Read every state first: the listener may change what is watched.
    std::vector<std::pair<uint32_t, CTrackedWindow>> changes;
    for (const uint32_t id : dirty) {
        const auto found = m_watched.find(id);
        if (found == m_watched.end()) {
            continue;
        }
        uint64_t restacks = found->second.last.restacks;
        if (m_restacked.erase(id) != 0) {
            ++restacks;
        }
        const CTrackedWindow state = ReadState(id, restacks);
        if (!always && state == found->second.last) {
            continue;
        }
        found->second.last = state;
        changes.emplace_back(id, state);
        if (!state.exists) {
            m_watched.erase(found);
        }
    }
    for (const auto& [id, state] : changes) {
        if (m_listener) {
            m_listener(id, state);
        }
    }
}
