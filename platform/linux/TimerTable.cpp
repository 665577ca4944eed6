#include "TimerTable.h"

#include <algorithm>

namespace platform {
namespace {
// As the classic window system, which never runs a timer faster than this.
constexpr uint32_t kMinimumPeriodMs = 10;
}

TimerTable::~TimerTable() {
    for (const auto& [key, source] : m_sources) g_source_remove(source);
}

void TimerTable::Set(WindowHandle window, uintptr_t id, uint32_t periodMs) {
    (void)Kill(window, id);
    // GLib keeps the timer alive while it fires, so a timer killed from inside its own OnTimer
    // is freed only after the callback has returned.
    m_sources[{window, id}] = g_timeout_add_full(G_PRIORITY_DEFAULT, std::max(periodMs, kMinimumPeriodMs), &Fire,
                                                 new Timer{&m_router, window, id},
                                                 [](gpointer timer) { delete static_cast<Timer*>(timer); });
}

bool TimerTable::Kill(WindowHandle window, uintptr_t id) {
    auto it = m_sources.find({window, id});
    if (it == m_sources.end()) return false;
    g_source_remove(it->second);
    m_sources.erase(it);
    return true;
}

void TimerTable::KillAll(WindowHandle window) {
    for (auto it = m_sources.lower_bound({window, 0}); it != m_sources.end() && it->first.first == window;) {
        g_source_remove(it->second);
        it = m_sources.erase(it);
    }
}

gboolean TimerTable::Fire(gpointer data) {
    auto* timer = static_cast<Timer*>(data);
    if (IUiEvents* sink = timer->router->SinkFor(timer->window)) sink->OnTimer(timer->window, timer->id);
    return G_SOURCE_CONTINUE;
}

}  // namespace platform
