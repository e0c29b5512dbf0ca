// Follows chosen top-level windows of other programs (poker tables): where
// they are, whether they can be seen, when they go, and keeps windows of our
// own stacked directly above them. The stand-in for hooking another
// program's window. Events come through EventFd()/ProcessEvents(); where no
// events can come (EventFd() is -1), the owner calls Poll() now and then.
// Thread-compatible; the listeners run inside ProcessEvents() and Poll() and
// may call every method.
#pragma once

#include <cstdint>
#include <functional>

struct CTrackedWindow
{
    // False once the window is destroyed (or when it never existed).
    bool exists = false;
    // Mapped with all its ancestors: false while it is minimised, withdrawn or
    // on another desktop.
    bool viewable = false;
    // The window's own area (inside any frame), in screen pixels.
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    // Grows each time the window moved in the stacking order.
    uint64_t restacks = 0;

    bool operator==(const CTrackedWindow&) const = default;
};

class IWindowTracker
{
public:
    virtual ~IWindowTracker() = default;

    // Called with the new state of a watched window whenever it may have
    // changed (moved, resized, restacked, shown, hidden, destroyed). After a
    // state with exists == false the window is no longer watched.
    using Listener = std::function<void(uint64_t window, const CTrackedWindow& state)>;
    virtual void SetListener(Listener listener) = 0;
    // Called when top-level windows may have appeared or gone.
    virtual void SetTopLevelListener(std::function<void()> listener) = 0;

    // Starts following `window` and returns its state now; a window that
    // does not exist is not followed (exists == false).
    virtual CTrackedWindow Watch(uint64_t window) = 0;
    virtual void Unwatch(uint64_t window) = 0;

    // Puts our own top-level window `ours` directly above `window` (above its
    // frame when a window manager framed it). Quietly does nothing when
    // either is gone.
    virtual void StackAbove(uint64_t ours, uint64_t window) = 0;

    // The descriptor that becomes readable when events wait; -1 when there is
    // no event source and Poll() must be used.
    virtual int EventFd() const = 0;
    // Handles what has arrived; never blocks.
    virtual void ProcessEvents() = 0;
    // Reads every watched window again and reports those that changed.
    virtual void Poll() = 0;
};
