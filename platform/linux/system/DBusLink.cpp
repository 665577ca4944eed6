#include "DBusLink.h"

#include <gio/gunixfdlist.h>
#include <sys/stat.h>

#include <cstdio>
#include <cstdlib>
#include <memory>

namespace platform {
namespace {

void LogError(const char* what, const char* where, GError* error) {
    std::fprintf(stderr, "vistrel: %s (%s): %s\n", what, where, error ? error->message : "failed");
}

struct PendingConnection {
    GRefPtr<GDBusConnection> connection;
    GErrorPtr error;
    bool done = false;
};

// Connecting includes the bus's greeting (authentication, then Hello), which GDBus waits for
// without a bound: a bus daemon that takes the connection and then hangs would freeze the UI.
// So it runs in a main context of its own and is cancelled when the time is up.
GRefPtr<GDBusConnection> ConnectWithin(const std::string& address, int timeoutMs, GErrorPtr& error) {
    PendingConnection pending;
    const std::unique_ptr<GMainContext, decltype(&g_main_context_unref)> context(g_main_context_new(),
                                                                                 &g_main_context_unref);
    auto cancellable = AdoptGRef(g_cancellable_new());
    g_main_context_push_thread_default(context.get());
    g_dbus_connection_new_for_address(
        address.c_str(),
        static_cast<GDBusConnectionFlags>(G_DBUS_CONNECTION_FLAGS_AUTHENTICATION_CLIENT |
                                          G_DBUS_CONNECTION_FLAGS_MESSAGE_BUS_CONNECTION),
        nullptr, cancellable.get(),
        [](GObject*, GAsyncResult* result, gpointer data) {
            auto* p = static_cast<PendingConnection*>(data);
            p->connection = AdoptGRef(g_dbus_connection_new_for_address_finish(result, OutPtr(p->error)));
            p->done = true;
        },
        &pending);
    auto timeout = AdoptGRef(g_timeout_source_new(guint(timeoutMs)));
    g_source_set_callback(
        timeout.get(),
        [](gpointer c) -> gboolean {
            g_cancellable_cancel(G_CANCELLABLE(c));
            return G_SOURCE_REMOVE;
        },
        cancellable.get(), nullptr);
    g_source_attach(timeout.get(), context.get());
    while (!pending.done) g_main_context_iteration(context.get(), TRUE);
    g_source_destroy(timeout.get());
    g_main_context_pop_thread_default(context.get());
    error = std::move(pending.error);
    return std::move(pending.connection);
}

}  // namespace

DBusLink::~DBusLink() {
    if (m_connection) {
        // Closing ends the bus name, so every lock or inhibit tied to it is released too.
        g_dbus_connection_close_sync(m_connection.get(), nullptr, nullptr);
    }
}

// The bus's own lookup would start a session bus through X11 autolaunch when none is set;
// a camera program must never spawn daemons, so only an address that already exists counts.
std::string DBusLink::Address() const {
    if (m_kind == BusKind::System) {
        const char* env = std::getenv("DBUS_SYSTEM_BUS_ADDRESS");
        return env && *env ? env : "unix:path=/var/run/dbus/system_bus_socket";
    }
    const char* env = std::getenv("DBUS_SESSION_BUS_ADDRESS");
    if (env && *env) return env;
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    if (!runtime || !*runtime) return {};
    const std::string socket = std::string(runtime) + "/bus";
    struct stat st {};
    if (::stat(socket.c_str(), &st) != 0 || !S_ISSOCK(st.st_mode)) return {};
    return "unix:path=" + socket;
}

GDBusConnection* DBusLink::Connection() {
    if (m_tried) return m_connection.get();
    m_tried = true;
    const std::string address = Address();
    if (address.empty()) {
        std::fprintf(stderr, "vistrel: no %s address is set; going on without it\n", Name());
        return nullptr;
    }
    GErrorPtr error;
    m_connection = ConnectWithin(address, kCallTimeoutMs, error);
    if (!m_connection) {
        std::fprintf(stderr, "vistrel: no %s (%s); going on without it\n", Name(),
                     error ? error->message : "cannot connect");
        return nullptr;
    }
    // The bus going away must not end the program (a shared bus connection would).
    g_dbus_connection_set_exit_on_close(m_connection.get(), FALSE);
    return m_connection.get();
}

GRefPtr<GVariant> DBusLink::Call(const char* what, const char* service, const char* path, const char* interface,
                                 const char* method, GVariant* parameters, const GVariantType* replyType) {
    GDBusConnection* connection = Connection();
    // The call sinks floating parameters; without a connection they are dropped here.
    if (!connection) {
        (void)RefGRef(parameters);
        return nullptr;
    }
    GErrorPtr error;
    auto reply = AdoptGRef(g_dbus_connection_call_sync(connection, service, path, interface, method, parameters,
                                                       replyType, G_DBUS_CALL_FLAGS_NO_AUTO_START, kCallTimeoutMs,
                                                       nullptr, OutPtr(error)));
    if (!reply) LogError(what, Name(), error.get());
    return reply;
}

UniqueFd DBusLink::CallForFd(const char* what, const char* service, const char* path, const char* interface,
                             const char* method, GVariant* parameters) {
    GDBusConnection* connection = Connection();
    if (!connection) {
        (void)RefGRef(parameters);
        return {};
    }
    GErrorPtr error;
    GRefPtr<GUnixFDList> fds;
    auto reply = AdoptGRef(g_dbus_connection_call_with_unix_fd_list_sync(
        connection, service, path, interface, method, parameters, G_VARIANT_TYPE("(h)"),
        G_DBUS_CALL_FLAGS_NO_AUTO_START, kCallTimeoutMs, nullptr, OutPtr(fds), nullptr, OutPtr(error)));
    UniqueFd fd;
    if (reply) {
        gint32 index = -1;
        g_variant_get(reply.get(), "(h)", &index);
        if (fds && index >= 0 && index < g_unix_fd_list_get_length(fds.get()))
            fd.reset(g_unix_fd_list_get(fds.get(), index, OutPtr(error)));
    }
    if (!fd) LogError(what, Name(), error.get());
    return fd;
}

bool DBusLink::HasOwner(const char* name) {
    GDBusConnection* connection = Connection();
    if (!connection) return false;
    auto reply = AdoptGRef(g_dbus_connection_call_sync(
        connection, "org.freedesktop.DBus", "/org/freedesktop/DBus", "org.freedesktop.DBus", "NameHasOwner",
        g_variant_new("(s)", name), G_VARIANT_TYPE("(b)"), G_DBUS_CALL_FLAGS_NO_AUTO_START, kCallTimeoutMs, nullptr,
        nullptr));
    if (!reply) return false;
    gboolean owned = FALSE;
    g_variant_get(reply.get(), "(b)", &owned);
    return owned;
}

guint DBusLink::Subscribe(const char* sender, const char* interface, const char* member, const char* path,
                          const char* arg0, GDBusSignalCallback callback, gpointer userData) {
    GDBusConnection* connection = Connection();
    if (!connection) return 0;
    return g_dbus_connection_signal_subscribe(connection, sender, interface, member, path, arg0,
                                              G_DBUS_SIGNAL_FLAGS_NONE, callback, userData, nullptr);
}

void DBusLink::Unsubscribe(guint& id) {
    if (id && m_connection) g_dbus_connection_signal_unsubscribe(m_connection.get(), id);
    id = 0;
}

UniqueFd TakeLogindInhibitor(DBusLink& systemBus, const char* what, const char* why, const char* mode) {
    const std::string description = std::string("logind inhibitor ") + what + " " + mode;
    return systemBus.CallForFd(description.c_str(), "org.freedesktop.login1", "/org/freedesktop/login1",
                               "org.freedesktop.login1.Manager", "Inhibit",
                               g_variant_new("(ssss)", what, "Vistrel", why, mode));
}

}  // namespace platform
