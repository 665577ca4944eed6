#include "FakeLocale1.h"

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
    if (!m_bus.Up(env)) return;
    env.Set("DBUS_SYSTEM_BUS_ADDRESS", m_bus.Address());
    if (!m_locale) {
        m_ready = true;
        return;
    }
    m_serving.emplace([this] { return Serve(); },
                      [this] {
                          if (m_connection) g_dbus_connection_close_sync(m_connection, nullptr, nullptr);
                      });
    m_ready = m_serving->Ready();
    EXPECT_TRUE(m_ready) << "the fake locale1 could not be set up";
}

FakeLocale1::~FakeLocale1() {
    m_serving.reset();  // the connection is the serving thread's until it has ended
    if (m_connection) g_object_unref(m_connection);
}

bool FakeLocale1::Serve() {
    m_connection = m_bus.Connect();
    if (!m_connection) return false;
    static const GDBusInterfaceVTable vtable{nullptr, &FakeLocale1::OnGetProperty, nullptr, {}};
    GDBusNodeInfo* node = g_dbus_node_info_new_for_xml(kLocale1Xml, nullptr);
    const bool registered = g_dbus_connection_register_object(m_connection, "/org/freedesktop/locale1",
                                                              node->interfaces[0], &vtable, this, nullptr, nullptr);
    g_dbus_node_info_unref(node);
    return registered && OwnName(m_connection, "org.freedesktop.locale1");
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
