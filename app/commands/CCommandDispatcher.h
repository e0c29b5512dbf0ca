// The one place where a command id finds its handler. Main thread only.
#pragma once

#include <functional>
#include <map>

class CCommandDispatcher
{
public:
    using Handler = std::function<void()>;

    // Registers the handler of `id`; a second registration replaces the first.
    void Add(int id, Handler handler) { m_handlers[id] = std::move(handler); }
    bool Has(int id) const { return m_handlers.count(id) != 0; }
    // Runs the handler of `id`; false when there is none.
    bool Dispatch(int id) const
    {
        const auto it = m_handlers.find(id);
        if (it == m_handlers.end()) {
            return false;
        }
        it->second();
        return true;
    }

private:
    std::map<int, Handler> m_handlers;
};
