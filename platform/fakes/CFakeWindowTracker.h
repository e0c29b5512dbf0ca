// A window tracker whose windows the test moves, hides and destroys by hand.
// Changes are reported at once. Not thread-safe.
#pragma once

#include "platform/IWindowTracker.h"

#include <map>
#include <utility>
#include <vector>

class CFakeWindowTracker : public IWindowTracker
{
public:
    void SetListener(Listener listener) override { m_listener = std::move(listener); }
    void SetTopLevelListener(std::function<void()> listener) override
    {
        m_topLevelListener = std::move(listener);
    }

    CTrackedWindow Watch(uint64_t window) override
    {
        const auto found = windows.find(window);
        if (found == windows.end() || !found->second.exists) {
            return {};
        }
        watched[window] = true;
        return found->second;
    }
    void Unwatch(uint64_t window) override { watched.erase(window); }
    void StackAbove(uint64_t ours, uint64_t window) override
    {
        stackedAbove.emplace_back(ours, window);
    }
    int EventFd() const override { return -1; }
    void ProcessEvents() override {}
    void Poll() override { ++polls; }

    // Sets the state of `window` and tells the listener when it is watched.
    void Set(uint64_t window, const CTrackedWindow& state)
    {
        windows[window] = state;
        if (watched.count(window) != 0) {
            if (!state.exists) {
                watched.erase(window);
            }
            if (m_listener) {
                m_listener(window, state);
            }
        }
    }
    void AnnounceTopLevelChange()
    {
        if (m_topLevelListener) {
            m_topLevelListener();
        }
    }

    std::map<uint64_t, CTrackedWindow> windows;
    std::map<uint64_t, bool> watched;
    std::vector<std::pair<uint64_t, uint64_t>> stackedAbove;
    int polls = 0;

private:
    Listener m_listener;
    std::function<void()> m_topLevelListener;
};
