// The session tracker window as the main frame sees it: the frame owns it,
// shows and hides it with the "RoraRevir" switch, brings it back every two
// seconds while the switch is on, and closes it when the program ends. It is
// also where live import sends the session figures. Main thread only.
#pragma once

#include "live/ISessionSink.h"

#include <functional>
#include <memory>

class IProfile;
class QWidget;

class ITrackerWindow : public ISessionSink
{
public:
    virtual void Show() = 0;
    virtual void Hide() = 0;
    virtual bool IsVisible() const = 0;
    // Shows the window above all others without moving or resizing it.
    virtual void ShowTopmost() = 0;
    // The window closes for good: it saves its place in the profile.
    virtual void Close() = 0;
    virtual QWidget* Widget() = 0;
};

// Makes the tracker window, owned by the frame, with `owner` as its owning
// window. Requires: `profile` outlives the window.
using TrackerWindowFactory =
    std::function<std::unique_ptr<ITrackerWindow>(QWidget* owner, IProfile& profile)>;
