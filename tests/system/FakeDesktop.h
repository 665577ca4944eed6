// logind and a screen-saver service, faked on two private buses (one playing the system bus)
// and served from a thread of their own, so the code under test can call them synchronously
// from the test's thread. Every call is recorded; inhibitors are pipes whose far end shows
// when the code under test lets go of them.
#pragma once

#include <gio/gio.h>

#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "PrivateBus.h"
#include "ServingThread.h"
#include "SystemTestSupport.h"

namespace systemtest {

struct InhibitCall {
    std::string what, who, why, mode;
    int readEnd = -1;  // EOF here once every copy of the handed-out descriptor is closed
};

class FakeDesktop {
public:
    static constexpr const char* kSessionPath = "/org/freedesktop/login1/session/_33";

    // Starts both buses and points DBUS_SYSTEM_BUS_ADDRESS and DBUS_SESSION_BUS_ADDRESS at them;
    // with serve false nobody answers there (a bus without the desktop's services).
    explicit FakeDesktop(ScopedEnv& env, bool serve = true);
    ~FakeDesktop();
    FakeDesktop(const FakeDesktop&) = delete;
    FakeDesktop& operator=(const FakeDesktop&) = delete;

    bool Running() const { return m_ready; }

    std::vector<InhibitCall> Inhibits();
    std::vector<std::string> ScreenSaverCalls();  // "Inhibit <app> <reason> -> <cookie>", "UnInhibit <cookie>"
    std::vector<std::string> SessionLookups();
    // The far end saw the descriptor closed. The fake's own copy goes with its reply message,
    // a moment after the reply was sent, so a positive answer may take a little waiting.
    static bool Released(const InhibitCall& call, int waitMs = 0);

    // The screen-saver service ends (its name leaves the bus) or starts again, as a desktop's
    // saver does when it crashes or is replaced; a new instance knows no earlier inhibit.
    void SetScreenSaverRunning(bool running);

    // Signals as logind sends them.
    void EmitPrepareForSleep(bool start);
    void EmitPrepareForShutdown(bool start);
    void EmitSessionSignal(const char* path, const char* name);  // Lock, Unlock
    void EmitActive(const char* path, bool active);

private:
    bool Serve();
    static void OnMethod(GDBusConnection*, const gchar* sender, const gchar* path, const gchar* interface,
                         const gchar* method, GVariant* parameters, GDBusMethodInvocation* invocation,
                         gpointer self);
    static GVariant* OnGetProperty(GDBusConnection*, const gchar*, const gchar*, const gchar*, const gchar* name,
                                   GError**, gpointer self);

    PrivateBus m_systemBus;
    PrivateBus m_sessionBus;
    GDBusConnection* m_system = nullptr;  // the fake's own connections
    GDBusConnection* m_session = nullptr;
    std::optional<ServingThread> m_serving;
    bool m_ready = false;

    std::mutex m_mutex;
    std::vector<InhibitCall> m_inhibits;
    std::vector<std::string> m_screenSaverCalls;
    std::vector<std::string> m_sessionLookups;
    uint32_t m_nextCookie = 41;
};

}  // namespace systemtest
