#include "SimSession.h"

#include <algorithm>

namespace platform::sim {

bool SimSession::RegisterSessionNotification(WindowHandle window, bool allSessions) {
    if (!window) return false;
    for (auto& r : m_registrations)
        if (r.window == window) {
            r.allSessions = allSessions;
            return true;
        }
    m_registrations.push_back({window, allSessions});
    return true;
}

bool SimSession::UnregisterSessionNotification(WindowHandle window) {
    auto it = std::find_if(m_registrations.begin(), m_registrations.end(),
                           [&](const Registration& r) { return r.window == window; });
    if (it == m_registrations.end()) return false;
    m_registrations.erase(it);
    m_unregistrations.push_back(window);
    return true;
}

void SimSession::InjectSessionChange(SessionChange change, uint32_t sessionId) {
    // Copies: a handler may unregister or replace itself while it runs.
    const auto registrations = m_registrations;
    for (const auto& r : registrations) {
        auto handler = m_sessionHandler;
        if (handler) handler({r.window, change, sessionId});
    }
}

void SimSession::InjectDisplayChange(const DisplayChange& change) {
    auto handler = m_displayHandler;
    if (handler) handler(change);
}

}  // namespace platform::sim
