// A dbus-daemon of the test's own for a fake to serve on, playing the system or the session bus.
#pragma once

#include <gio/gio.h>

#include <string>

#include "GRefPtr.h"
#include "SystemTestSupport.h"

namespace systemtest {

class PrivateBus {
public:
    PrivateBus() = default;
    ~PrivateBus();  // takes the daemon down
    PrivateBus(const PrivateBus&) = delete;
    PrivateBus& operator=(const PrivateBus&) = delete;

    // Starts the daemon. GLib announces every test bus as the session bus, which the test must
    // not see: the fake decides what its bus plays. False, and a failed test, without dbus-daemon.
    [[nodiscard]] bool Up(ScopedEnv& env);
    const std::string& Address() const { return m_address; }
    // A new connection of the fake's own; nullptr when the daemon cannot be reached.
    GDBusConnection* Connect() const;

private:
    GRefPtr<GTestDBus> m_bus;
    std::string m_address;
};

// True when the connection became the primary owner of the name.
bool OwnName(GDBusConnection* connection, const char* name);

}  // namespace systemtest
