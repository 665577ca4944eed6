// Sessions on Linux, from logind: the session's Active property gives console connect and
// disconnect (another user's session took the seat, or ours got it back), its Lock and Unlock
// signals give lock and unlock, and PrepareForShutdown gives log-off, as do SIGTERM and SIGHUP,
// which is how a desktop session ends the programs in it. After a log-off by signal the process
// ends with status 0 once the handler has run, as it would have without one. Display changes
// come from the default GdkScreen.
#pragma once

#include <gio/gio.h>

#include "GRefPtr.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "DBusLink.h"
#include "UniqueFd.h"
#include "platform/Session.h"

typedef struct _GdkScreen GdkScreen;

namespace platform {

class LinuxSession final : public ISession {
public:
    // endProcess runs after a log-off by signal has been delivered.
    LinuxSession(DBusLink& systemBus, std::function<void()> endProcess)
        : m_systemBus(systemBus), m_endProcess(std::move(endProcess)) {}
    ~LinuxSession() override;
    LinuxSession(const LinuxSession&) = delete;
    LinuxSession& operator=(const LinuxSession&) = delete;

    bool RegisterSessionNotification(WindowHandle, bool allSessions) override;
    bool UnregisterSessionNotification(WindowHandle) override;
    void SetSessionHandler(std::function<void(const SessionEvent&)> handler) override {
        m_sessionHandler = std::move(handler);
    }
    void SetDisplayChangeHandler(std::function<void(const DisplayChange&)> handler) override;
    void SetTerminationHandler(std::function<void()> handler) override;

    // For tests: the logind session watched (empty when none), and whether a shutdown delay is held.
    const std::string& SessionPath() const { return m_sessionPath; }
    bool HoldsShutdownDelay() const { return static_cast<bool>(m_shutdownDelay); }

private:
    void StartWatching();
    void StopWatching();
    void Deliver(SessionChange change);
    static void OnSessionSignal(GDBusConnection*, const gchar*, const gchar*, const gchar*, const gchar* signal,
                                GVariant* parameters, gpointer self);
    static void OnPrepareForShutdown(GDBusConnection*, const gchar*, const gchar*, const gchar*, const gchar*,
                                     GVariant* parameters, gpointer self);
    static gboolean OnTerminate(gpointer self);
    void WatchTerminationSignals();
    static void OnScreenChanged(GdkScreen* screen, gpointer self);
    static gboolean DeliverDisplayChange(gpointer self);

    DBusLink& m_systemBus;
    std::function<void()> m_endProcess;
    std::function<void()> m_terminationHandler;
    std::vector<WindowHandle> m_windows;
    std::function<void(const SessionEvent&)> m_sessionHandler;
    std::function<void(const DisplayChange&)> m_displayHandler;
    std::string m_sessionPath;
    uint32_t m_sessionId = 0;
    bool m_active = true;
    guint m_propertiesSignal = 0;
    guint m_lockSignal = 0;
    guint m_unlockSignal = 0;
    guint m_shutdownSignal = 0;
    UniqueFd m_shutdownDelay;
    guint m_sigterm = 0;
    guint m_sighup = 0;
    guint m_sigint = 0;
    GRefPtr<GdkScreen> m_screen;
    gulong m_monitorsChanged = 0;
    gulong m_sizeChanged = 0;
    guint m_displayIdle = 0;  // both screen signals of one change become one event
};

}  // namespace platform
