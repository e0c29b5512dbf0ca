// Follows windows of other programs through X events: StructureNotify on the
// window and on its frame (the window manager's parent, where there is one)
// gives ConfigureNotify (moved, resized, restacked), MapNotify, UnmapNotify
// (minimised, other desktop), ReparentNotify (framed anew) and DestroyNotify.
// The root window's property and structure events tell when top-level windows
// appear or go. Every report re-reads the window's state from the server, so
// a missed or merged event costs nothing but a late update.
// Thread-compatible.
#pragma once

#include "platform/IWindowTracker.h"

#include <map>
#include <memory>
#include <set>
#include <string>

class CXcbSession;

class CXcbWindowTracker : public IWindowTracker
{
public:
    // `display` as in $DISPLAY; empty for $DISPLAY itself.
    explicit CXcbWindowTracker(std::string display = {});
    ~CXcbWindowTracker() override;

    // Whether the X server could be reached (else nothing is ever watched).
    bool IsConnected() const;

    void SetListener(Listener listener) override { m_listener = std::move(listener); }
    void SetTopLevelListener(std::function<void()> listener) override
    {
        m_topLevelListener = std::move(listener);
    }
    CTrackedWindow Watch(uint64_t window) override;
    void Unwatch(uint64_t window) override;
    void StackAbove(uint64_t ours, uint64_t window) override;
    int EventFd() const override;
    void ProcessEvents() override;
    void Poll() override;

private:
    struct CWatched
    {
        uint32_t frame = 0;
        CTrackedWindow last;
    };

    // Reads the window's state; exists == false when it is gone.
    CTrackedWindow ReadState(uint32_t window, uint64_t restacks);
    void SelectEvents(uint32_t window, uint32_t mask);
    // Follows the window's current frame; true when it changed.
    bool UpdateFrame(uint32_t window, CWatched& watched);
    // Reports the windows in `dirty` whose state changed (all when `always`).
    void Report(const std::set<uint32_t>& dirty, bool always);
    uint32_t WatchedOf(uint32_t eventWindow) const;

    std::unique_ptr<CXcbSession> m_session;
    Listener m_listener;
    std::function<void()> m_topLevelListener;
    std::map<uint32_t, CWatched> m_watched;
    std::set<uint32_t> m_restacked;
};
