#include "PrivateBus.h"

namespace systemtest {

PrivateBus::~PrivateBus() {
    if (m_bus) g_test_dbus_down(m_bus.get());
}

bool PrivateBus::Up(ScopedEnv& env) {
    if (!GCharPtr(g_find_program_in_path("dbus-daemon"))) {
        ADD_FAILURE() << "dbus-daemon is missing (tools/packages.sh installs it)";
        return false;
    }
    // Set before the daemon overwrites it, so the test's environment puts the old value back.
    env.Set("DBUS_SESSION_BUS_ADDRESS", "");
    // The daemon's start unsets DISPLAY (against X11 autolaunch); the tests after this one need it.
    if (const char* display = g_getenv("DISPLAY")) env.Set("DISPLAY", display);
    m_bus = GRefPtr<GTestDBus>::Adopt(g_test_dbus_new(G_TEST_DBUS_NONE));
    g_test_dbus_up(m_bus.get());
    m_address = g_test_dbus_get_bus_address(m_bus.get());
    env.Unset("DBUS_SESSION_BUS_ADDRESS");
    return true;
}

GDBusConnection* PrivateBus::Connect() const {
    return g_dbus_connection_new_for_address_sync(
        m_address.c_str(),
        static_cast<GDBusConnectionFlags>(G_DBUS_CONNECTION_FLAGS_AUTHENTICATION_CLIENT |
                                          G_DBUS_CONNECTION_FLAGS_MESSAGE_BUS_CONNECTION),
        nullptr, nullptr, nullptr);
}

bool OwnName(GDBusConnection* connection, const char* name) {
    GVariant* reply = g_dbus_connection_call_sync(connection, "org.freedesktop.DBus", "/org/freedesktop/DBus",
                                                  "org.freedesktop.DBus", "RequestName", g_variant_new("(su)", name, 4u),
                                                  G_VARIANT_TYPE("(u)"), G_DBUS_CALL_FLAGS_NONE, 5000, nullptr, nullptr);
    if (!reply) return false;
    guint32 result = 0;
    g_variant_get(reply, "(u)", &result);
    g_variant_unref(reply);
    return result == 1;  // primary owner
}

}  // namespace systemtest
