// Lets any thread make the UI thread call OnWake. Wakes coalesce: however many arrive before
// the UI thread gets round to it, OnWake runs once, and a wake during OnWake runs it again.
#pragma once

#include <glib.h>

#include <atomic>

#include "EventRouter.h"

namespace platform {

class WakeSource {
public:
    explicit WakeSource(EventRouter& router) : m_router(router) {}
    ~WakeSource();
    WakeSource(const WakeSource&) = delete;
    WakeSource& operator=(const WakeSource&) = delete;

    void Wake();  // any thread

private:
    static gboolean Dispatch(gpointer self);

    EventRouter& m_router;
    std::atomic<bool> m_pending{false};
};

}  // namespace platform
