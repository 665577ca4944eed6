// One private connection to the system or the session bus, made on first use. Without a bus the
// program still runs: every operation then fails at once, after one line on stderr.
#pragma once

#include <gio/gio.h>

#include <string>

#include "GRefPtr.h"
#include "UniqueFd.h"

namespace platform {

enum class BusKind { System, Session };

class DBusLink {
public:
    // Replies that take longer count as failures: a hung service must not freeze the UI.
    static constexpr int kCallTimeoutMs = 500;

    explicit DBusLink(BusKind kind) : m_kind(kind) {}
    ~DBusLink();
    DBusLink(const DBusLink&) = delete;
    DBusLink& operator=(const DBusLink&) = delete;

    // The connection, or nullptr when there is no bus (tried once; later calls fail at once).
    GDBusConnection* Connection();

    // A method call that never starts a service and waits kCallTimeoutMs at most. The reply, or
    // nothing after one line on stderr naming `what`. A floating `parameters` is consumed.
    GRefPtr<GVariant> Call(const char* what, const char* service, const char* path, const char* interface,
                   const char* method, GVariant* parameters, const GVariantType* replyType);
    // The same for a reply that carries one file descriptor (the first 'h' of the reply).
    UniqueFd CallForFd(const char* what, const char* service, const char* path, const char* interface,
                       const char* method, GVariant* parameters);

    // Whether a service of this name is on the bus now (false without a bus); says nothing on stderr.
    bool HasOwner(const char* name);

    // Signals are delivered in the main context that is the thread default at subscription.
    guint Subscribe(const char* sender, const char* interface, const char* member, const char* path,
                    const char* arg0, GDBusSignalCallback callback, gpointer userData);
    void Unsubscribe(guint& id);

    const char* Name() const { return m_kind == BusKind::System ? "system bus" : "session bus"; }

private:
    std::string Address() const;

    BusKind m_kind;
    GRefPtr<GDBusConnection> m_connection;
    bool m_tried = false;
};

// org.freedesktop.login1 Inhibit: the lock is held as long as the descriptor stays open.
UniqueFd TakeLogindInhibitor(DBusLink& systemBus, const char* what, const char* why, const char* mode);

}  // namespace platform
