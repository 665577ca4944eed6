// Window timers on GLib timeouts: each expiry calls OnTimer until the timer is killed or its
// window destroyed.
#pragma once

#include <glib.h>

#include <cstdint>
#include <map>
#include <utility>

#include "EventRouter.h"

namespace platform {

class TimerTable {
public:
    explicit TimerTable(EventRouter& router) : m_router(router) {}
    ~TimerTable();
    TimerTable(const TimerTable&) = delete;
    TimerTable& operator=(const TimerTable&) = delete;

    void Set(WindowHandle window, uintptr_t id, uint32_t periodMs);  // restarts one of the same id
    bool Kill(WindowHandle window, uintptr_t id);
    void KillAll(WindowHandle window);

private:
    struct Timer {
        EventRouter* router;
        WindowHandle window;
        uintptr_t id;
    };
    static gboolean Fire(gpointer timer);

    EventRouter& m_router;
    std::map<std::pair<WindowHandle, uintptr_t>, guint> m_sources;
};

}  // namespace platform
