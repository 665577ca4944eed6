#include "FakeDesktop.h"

#include <fcntl.h>
#include <gio/gunixfdlist.h>
#include <poll.h>
#include <unistd.h>

namespace systemtest {
namespace {

constexpr const char* kLogindXml = R"(
<node>
  <interface name="org.freedesktop.login1.Manager">
    <method name="Inhibit">
      <arg type="s" direction="in"/><arg type="s" direction="in"/><arg type="s" direction="in"/>
      <arg type="s" direction="in"/><arg type="h" direction="out"/>
    </method>
    <method name="GetSessionByPID"><arg type="u" direction="in"/><arg type="o" direction="out"/></method>
    <method name="GetSession"><arg type="s" direction="in"/><arg type="o" direction="out"/></method>
    <signal name="PrepareForSleep"><arg type="b"/></signal>
    <signal name="PrepareForShutdown"><arg type="b"/></signal>
  </interface>
  <interface name="org.freedesktop.login1.Session">
    <property name="Id" type="s" access="read"/>
    <property name="Active" type="b" access="read"/>
    <signal name="Lock"/>
    <signal name="Unlock"/>
  </interface>
</node>)";

constexpr const char* kScreenSaverXml = R"(
<node>
  <interface name="org.freedesktop.ScreenSaver">
    <method name="Inhibit">
      <arg type="s" direction="in"/><arg type="s" direction="in"/><arg type="u" direction="out"/>
    </method>
    <method name="UnInhibit"><arg type="u" direction="in"/></method>
  </interface>
</node>)";

}  // namespace

FakeDesktop::FakeDesktop(ScopedEnv& env, bool serve) {
    if (!m_systemBus.Up(env) || !m_sessionBus.Up(env)) return;
    env.Set("DBUS_SYSTEM_BUS_ADDRESS", m_systemBus.Address());
    env.Set("DBUS_SESSION_BUS_ADDRESS", m_sessionBus.Address());

    if (!serve) {
        m_ready = true;
        return;
    }
    m_serving.emplace([this] { return Serve(); },
                      [this] {
                          if (m_system) g_dbus_connection_close_sync(m_system, nullptr, nullptr);
                          if (m_session) g_dbus_connection_close_sync(m_session, nullptr, nullptr);
                      });
    m_ready = m_serving->Ready();
    EXPECT_TRUE(m_ready) << "the fake services could not be set up";
}

FakeDesktop::~FakeDesktop() {
    m_serving.reset();  // the connections and the inhibitors are the serving thread's until it has ended
    if (m_system) g_object_unref(m_system);
    if (m_session) g_object_unref(m_session);
    for (auto& call : m_inhibits) ::close(call.readEnd);
}

bool FakeDesktop::Serve() {
    m_system = m_systemBus.Connect();
    m_session = m_sessionBus.Connect();
    if (!m_system || !m_session) return false;
    static const GDBusInterfaceVTable vtable{&FakeDesktop::OnMethod, &FakeDesktop::OnGetProperty, nullptr, {}};
    GDBusNodeInfo* logind = g_dbus_node_info_new_for_xml(kLogindXml, nullptr);
    GDBusNodeInfo* screenSaver = g_dbus_node_info_new_for_xml(kScreenSaverXml, nullptr);
    const bool registered =
        g_dbus_connection_register_object(m_system, "/org/freedesktop/login1", logind->interfaces[0], &vtable, this,
                                          nullptr, nullptr) &&
        g_dbus_connection_register_object(m_system, kSessionPath, logind->interfaces[1], &vtable, this, nullptr,
                                          nullptr) &&
        g_dbus_connection_register_object(m_session, "/org/freedesktop/ScreenSaver", screenSaver->interfaces[0],
                                          &vtable, this, nullptr, nullptr);
    g_dbus_node_info_unref(logind);
    g_dbus_node_info_unref(screenSaver);
    return registered && OwnName(m_system, "org.freedesktop.login1") &&
           OwnName(m_session, "org.freedesktop.ScreenSaver");
}

void FakeDesktop::OnMethod(GDBusConnection*, const gchar*, const gchar*, const gchar* interface, const gchar* method,
                           GVariant* parameters, GDBusMethodInvocation* invocation, gpointer self) {
    auto* fake = static_cast<FakeDesktop*>(self);
    std::lock_guard lock(fake->m_mutex);
    if (g_str_equal(interface, "org.freedesktop.login1.Manager") && g_str_equal(method, "Inhibit")) {
        InhibitCall call;
        const gchar *what, *who, *why, *mode;
        g_variant_get(parameters, "(&s&s&s&s)", &what, &who, &why, &mode);
        call.what = what;
        call.who = who;
        call.why = why;
        call.mode = mode;
        int ends[2];
        if (::pipe2(ends, O_CLOEXEC) != 0) {
            g_dbus_method_invocation_return_error(invocation, G_IO_ERROR, G_IO_ERROR_FAILED, "no pipe");
            return;
        }
        GUnixFDList* list = g_unix_fd_list_new();
        g_unix_fd_list_append(list, ends[1], nullptr);
        ::close(ends[1]);
        call.readEnd = ends[0];
        fake->m_inhibits.push_back(call);
        g_dbus_method_invocation_return_value_with_unix_fd_list(invocation, g_variant_new("(h)", 0), list);
        g_object_unref(list);
        return;
    }
    if (g_str_equal(method, "GetSessionByPID") || g_str_equal(method, "GetSession")) {
        gchar* printed = g_variant_print(parameters, FALSE);
        fake->m_sessionLookups.push_back(std::string(method) + " " + printed);
        g_free(printed);
        g_dbus_method_invocation_return_value(invocation, g_variant_new("(o)", kSessionPath));
        return;
    }
    if (g_str_equal(method, "Inhibit")) {
        const gchar *app, *reason;
        g_variant_get(parameters, "(&s&s)", &app, &reason);
        const uint32_t cookie = ++fake->m_nextCookie;
        fake->m_screenSaverCalls.push_back(std::string("Inhibit ") + app + " " + reason + " -> " +
                                           std::to_string(cookie));
        g_dbus_method_invocation_return_value(invocation, g_variant_new("(u)", cookie));
        return;
    }
    if (g_str_equal(method, "UnInhibit")) {
        guint32 cookie = 0;
        g_variant_get(parameters, "(u)", &cookie);
        fake->m_screenSaverCalls.push_back("UnInhibit " + std::to_string(cookie));
        g_dbus_method_invocation_return_value(invocation, nullptr);
        return;
    }
    g_dbus_method_invocation_return_error(invocation, G_DBUS_ERROR, G_DBUS_ERROR_UNKNOWN_METHOD, "not faked");
}

GVariant* FakeDesktop::OnGetProperty(GDBusConnection*, const gchar*, const gchar*, const gchar*, const gchar* name,
                                     GError**, gpointer) {
    if (g_str_equal(name, "Id")) return g_variant_new_string("33");
    if (g_str_equal(name, "Active")) return g_variant_new_boolean(TRUE);
    return nullptr;
}

std::vector<InhibitCall> FakeDesktop::Inhibits() {
    std::lock_guard lock(m_mutex);
    return m_inhibits;
}

std::vector<std::string> FakeDesktop::ScreenSaverCalls() {
    std::lock_guard lock(m_mutex);
    return m_screenSaverCalls;
}

std::vector<std::string> FakeDesktop::SessionLookups() {
    std::lock_guard lock(m_mutex);
    return m_sessionLookups;
}

bool FakeDesktop::Released(const InhibitCall& call, int waitMs) {
    pollfd p{call.readEnd, POLLIN, 0};
    if (::poll(&p, 1, waitMs) != 1) return false;
    char byte;
    return ::read(call.readEnd, &byte, 1) == 0;
}

void FakeDesktop::SetScreenSaverRunning(bool running) {
    if (running) {
        EXPECT_TRUE(OwnName(m_session, "org.freedesktop.ScreenSaver"));
        return;
    }
    GVariant* reply = g_dbus_connection_call_sync(m_session, "org.freedesktop.DBus", "/org/freedesktop/DBus",
                                                  "org.freedesktop.DBus", "ReleaseName",
                                                  g_variant_new("(s)", "org.freedesktop.ScreenSaver"),
                                                  G_VARIANT_TYPE("(u)"), G_DBUS_CALL_FLAGS_NONE, 5000, nullptr, nullptr);
    EXPECT_NE(reply, nullptr);
    if (reply) g_variant_unref(reply);
}

void FakeDesktop::EmitPrepareForSleep(bool start) {
    g_dbus_connection_emit_signal(m_system, nullptr, "/org/freedesktop/login1", "org.freedesktop.login1.Manager",
                                  "PrepareForSleep", g_variant_new("(b)", start), nullptr);
}

void FakeDesktop::EmitPrepareForShutdown(bool start) {
    g_dbus_connection_emit_signal(m_system, nullptr, "/org/freedesktop/login1", "org.freedesktop.login1.Manager",
                                  "PrepareForShutdown", g_variant_new("(b)", start), nullptr);
}

void FakeDesktop::EmitSessionSignal(const char* path, const char* name) {
    g_dbus_connection_emit_signal(m_system, nullptr, path, "org.freedesktop.login1.Session", name, nullptr, nullptr);
}

void FakeDesktop::EmitActive(const char* path, bool active) {
    g_dbus_connection_emit_signal(
        m_system, nullptr, path, "org.freedesktop.DBus.Properties", "PropertiesChanged",
        g_variant_new_parsed("('org.freedesktop.login1.Session', {'Active': <%b>}, @as [])", gboolean(active)),
        nullptr);
}

}  // namespace systemtest
