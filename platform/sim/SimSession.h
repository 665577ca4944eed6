// Sessions under the sim: registrations are records; session and display changes are injected
// by the test and reach the handlers at once.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include "platform/Session.h"

namespace platform::sim {

class SimSession final : public ISession {
public:
    bool RegisterSessionNotification(WindowHandle, bool allSessions) override;
    bool UnregisterSessionNotification(WindowHandle) override;
    void SetSessionHandler(std::function<void(const SessionEvent&)> handler) override {
        m_sessionHandler = std::move(handler);
    }
    void SetDisplayChangeHandler(std::function<void(const DisplayChange&)> handler) override {
        m_displayHandler = std::move(handler);
    }

    void SetTerminationHandler(std::function<void()> handler) override { m_terminationHandler = std::move(handler); }
    // A termination request (a signal on the real system); false when nobody handles it.
    bool InjectTermination() {
        if (!m_terminationHandler) return false;
        auto handler = m_terminationHandler;
        handler();
        return true;
    }

    // Reaches every registered window, oldest registration first; nobody when none is registered.
    void InjectSessionChange(SessionChange change, uint32_t sessionId = 1);
    void InjectDisplayChange(const DisplayChange& change);

    struct Registration {
        WindowHandle window;
        bool allSessions = false;
    };
    const std::vector<Registration>& Registrations() const { return m_registrations; }
    const std::vector<WindowHandle>& Unregistrations() const { return m_unregistrations; }

private:
    std::function<void(const SessionEvent&)> m_sessionHandler;
    std::function<void(const DisplayChange&)> m_displayHandler;
    std::function<void()> m_terminationHandler;
    std::vector<Registration> m_registrations;
    std::vector<WindowHandle> m_unregistrations;
};

}  // namespace platform::sim
