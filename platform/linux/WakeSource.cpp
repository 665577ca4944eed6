#include "WakeSource.h"

namespace platform {

WakeSource::~WakeSource() {
    while (g_source_remove_by_user_data(this)) {
    }
}

void WakeSource::Wake() {
    if (m_pending.exchange(true)) return;
    // Default priority, like input and timers: a steady stream of those must not starve it.
    g_idle_add_full(G_PRIORITY_DEFAULT, &Dispatch, this, nullptr);
}

gboolean WakeSource::Dispatch(gpointer data) {
    auto* self = static_cast<WakeSource*>(data);
    // Cleared first: a wake posted while OnWake runs schedules another round.
    self->m_pending.store(false);
    if (IUiEvents* sink = self->m_router.Sink()) sink->OnWake();
    return G_SOURCE_REMOVE;
}

}  // namespace platform
