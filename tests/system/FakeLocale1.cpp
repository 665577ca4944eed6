#include "FakeLocale1.h"

#include <condition_variable>
#include <mutex>
#include <utility>

namespace systemtest {
namespace {

constexpr const char* kLocale1Xml = R"(
<node>
  <interface name="org.freedesktop.locale1">
    <property name="Locale" type="as" access="read"/>
  </interface>
</node>)";

}  // namespace

FakeLocale1::FakeLocale1(ScopedEnv& env, std::optional<std::vector<std::string>> locale)
    : m_locale(std::move(locale)) {
    gchar* daemon = g_find_program_in_path("dbus-daemon");
    if (!daemon) {
        ADD_FAILURE() << "dbus-daemon is missing (tools/packages.sh installs it)";
        return;
    }
    g_free(daemon);
    // Bringing the bus up sets DBUS_SESSION_BUS_ADDRESS; the test must not see a session bus.
    env.Set("DBUS_SESSION_BUS_ADDRESS", "");
    m_bus = g_test_dbus_new(G_TEST_DBUS_NONE);
    g_test_dbus_up(m_bus);
    m_address = g_test_dbus_get_bus_address(m_bus);
    env.Unset("DBUS_SESSION_BUS_ADDRESS");
    env.Set("DBUS_SYSTEM_BUS_ADDRESS", m_address);
    if (!m_locale) {
        m_ready = true;
        return;
    }

    m_context = g_main_context_new();
    std::mutex started;
    std::condition_variable cv;
    bool done = false;
    m_thread = std::thread([&] {
        g_main_context_push_thread_default(m_context);
        Serve();
        {
            std::lock_guard lock(started);
            done = true;
            cv.notify_all();  // under the lock: the waiter's locals live until it is released
        }
        while (m_ready && !m_stop) g_main_context_iteration(m_context, TRUE);
        if (m_connection) g_dbus_connection_close_sync(m_connection, nullptr, nullptr);
        g_main_context_pop_thread_default(m_context);
    });
    std::unique_lock lock(started);
    cv.wait(lock, [&] { return done; });
    EXPECT_TRUE(m_ready) << "the fake locale1 could not be set up";
}

FakeLocale1::~FakeLocale1() {
    if (m_thread.joinable()) {
        m_stop = true;
        g_main_context_wakeup(m_context);
        m_thread.join();
    }
    if (m_connection) g_object_unref(m_connection);
    if (m_context) g_main_context_unref(m_context);
    if (m_bus) {
        g_test_dbus_down(m_bus);
        g_object_unref(m_bus);
    }
}

void FakeLocale1::Serve() {
    m_connection = g_dbus_connection_new_for_address_sync(
        m_address.c_str(),
        static_cast<GDBusConnectionFlags>(G_DBUS_CONNECTION_FLAGS_AUTHENTICATION_CLIENT |
                                          G_DBUS_CONNECTION_FLAGS_MESSAGE_BUS_CONNECTION),
        nullptr, nullptr, nullptr);
    if (!m_connection) return;
    static const GDBusInterfaceVTable vtable{nullptr, &FakeLocale1::OnGetProperty, nullptr, {}};
    GDBusNodeInfo* node = g_dbus_node_info_new_for_xml(kLocale1Xml, nullptr);
    const bool registered = g_dbus_connection_register_object(m_connection, "/org/freedesktop/locale1",
                                                              node->interfaces[0], &vtable, this, nullptr, nullptr);
    g_dbus_node_info_unref(node);
    if (!registered) return;
    GVariant* reply = g_dbus_connection_call_sync(
        m_connection, "org.freedesktop.DBus", "/org/freedesktop/DBus", "org.freedesktop.DBus", "RequestName",
        g_variant_new("(su)", "org.freedesktop.locale1", 4u), G_VARIANT_TYPE("(u)"), G_DBUS_CALL_FLAGS_NONE, 5000,
        nullptr, nullptr);
    if (!reply) return;
    guint32 result = 0;
    g_variant_get(reply, "(u)", &result);
    g_variant_unref(reply);
    m_ready = result == 1;  // primary owner
}

GVariant* FakeLocale1::OnGetProperty(GDBusConnection*, const gchar*, const gchar*, const gchar*, const gchar* name,
                                     GError**, gpointer self) {
    auto* fake = static_cast<FakeLocale1*>(self);
    if (!g_str_equal(name, "Locale")) return nullptr;
    ++fake->m_reads;
    GVariantBuilder builder;
    g_variant_builder_init(&builder, G_VARIANT_TYPE_STRING_ARRAY);
    for (const std::string& setting : *fake->m_locale) g_variant_builder_add(&builder, "s", setting.c_str());
    return g_variant_builder_end(&builder);
}

}  // namespace systemtest
