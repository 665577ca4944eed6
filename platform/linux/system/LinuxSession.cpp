#include "LinuxSession.h"

#include <glib-unix.h>
#include <gtk/gtk.h>
#include <unistd.h>

#include <algorithm>
#include <csignal>
#include <cstdio>
#include <cstdlib>

#include "GtkMessageBox.h"

namespace platform {
namespace {

constexpr const char* kLogind = "org.freedesktop.login1";
constexpr const char* kLogindPath = "/org/freedesktop/login1";
constexpr const char* kLogindManager = "org.freedesktop.login1.Manager";
constexpr const char* kLogindSession = "org.freedesktop.login1.Session";
constexpr const char* kProperties = "org.freedesktop.DBus.Properties";

// A logind session id is a string; numeric ones ("3") map to themselves, others ("c1") to 0.
uint32_t NumericSessionId(const char* id) {
    if (!id || !*id) return 0;
    char* end = nullptr;
    const unsigned long value = std::strtoul(id, &end, 10);
    return *end == '\0' && value <= UINT32_MAX ? static_cast<uint32_t>(value) : 0;
}

}  // namespace

LinuxSession::~LinuxSession() {
    m_terminationHandler = nullptr;
    StopWatching();
    if (m_displayIdle) g_source_remove(m_displayIdle);
    if (m_screen) {
        g_signal_handler_disconnect(m_screen.get(), m_monitorsChanged);
        g_signal_handler_disconnect(m_screen.get(), m_sizeChanged);
    }
}

bool LinuxSession::RegisterSessionNotification(WindowHandle window, bool /*allSessions*/) {
    if (!window) return false;
    if (std::find(m_windows.begin(), m_windows.end(), window) != m_windows.end()) return true;
    m_windows.push_back(window);
    if (m_windows.size() == 1) StartWatching();
    return true;
}

bool LinuxSession::UnregisterSessionNotification(WindowHandle window) {
    auto it = std::find(m_windows.begin(), m_windows.end(), window);
    if (it == m_windows.end()) return false;
    m_windows.erase(it);
    if (m_windows.empty()) StopWatching();
    return true;
}

void LinuxSession::StartWatching() {
    // Signals work without any bus, so log-off is seen everywhere.
    WatchTerminationSignals();
    if (!m_systemBus.Connection()) return;
    if (!m_systemBus.HasOwner(kLogind)) {
        std::fputs("vistrel: logind is not on the system bus; only signals end the session\n", stderr);
        return;
    }

    m_shutdownSignal = m_systemBus.Subscribe(kLogind, kLogindManager, "PrepareForShutdown", kLogindPath, nullptr,
                                             &LinuxSession::OnPrepareForShutdown, this);
    m_shutdownDelay = TakeLogindInhibitor(m_systemBus, "shutdown", "Finish the recording", "delay");

    // Our own session, or, for a process started outside one, the seat's current session.
    auto reply = m_systemBus.Call("logind session of this process", kLogind, kLogindPath, kLogindManager,
                                       "GetSessionByPID", g_variant_new("(u)", static_cast<guint32>(::getpid())),
                                       G_VARIANT_TYPE("(o)"));
    if (!reply)
        reply = m_systemBus.Call("logind current session", kLogind, kLogindPath, kLogindManager, "GetSession",
                                 g_variant_new("(s)", "auto"), G_VARIANT_TYPE("(o)"));
    if (!reply) return;
    const gchar* path = nullptr;
    g_variant_get(reply.get(), "(&o)", &path);
    m_sessionPath = path;

    reply = m_systemBus.Call("logind session id", kLogind, m_sessionPath.c_str(), kProperties, "GetAll",
                             g_variant_new("(s)", kLogindSession), G_VARIANT_TYPE("(a{sv})"));
    if (reply) {
        auto properties = AdoptGRef(g_variant_get_child_value(reply.get(), 0));
        const gchar* id = nullptr;
        if (g_variant_lookup(properties.get(), "Id", "&s", &id)) m_sessionId = NumericSessionId(id);
        gboolean active = TRUE;
        if (g_variant_lookup(properties.get(), "Active", "b", &active)) m_active = active;
    }

    m_propertiesSignal = m_systemBus.Subscribe(kLogind, kProperties, "PropertiesChanged", m_sessionPath.c_str(),
                                               kLogindSession, &LinuxSession::OnSessionSignal, this);
    m_lockSignal = m_systemBus.Subscribe(kLogind, kLogindSession, "Lock", m_sessionPath.c_str(), nullptr,
                                         &LinuxSession::OnSessionSignal, this);
    m_unlockSignal = m_systemBus.Subscribe(kLogind, kLogindSession, "Unlock", m_sessionPath.c_str(), nullptr,
                                           &LinuxSession::OnSessionSignal, this);
}

void LinuxSession::StopWatching() {
    if (!m_terminationHandler) {
        if (m_sigterm) g_source_remove(m_sigterm);
        if (m_sighup) g_source_remove(m_sighup);
        if (m_sigint) g_source_remove(m_sigint);
        m_sigterm = m_sighup = m_sigint = 0;
    }
    m_systemBus.Unsubscribe(m_propertiesSignal);
    m_systemBus.Unsubscribe(m_lockSignal);
    m_systemBus.Unsubscribe(m_unlockSignal);
    m_systemBus.Unsubscribe(m_shutdownSignal);
    m_shutdownDelay.reset();
    m_sessionPath.clear();
}

void LinuxSession::Deliver(SessionChange change) {
    // Copies: a handler may unregister or replace itself while it runs.
    const auto windows = m_windows;
    for (WindowHandle window : windows) {
        auto handler = m_sessionHandler;
        if (handler) handler({window, change, m_sessionId});
    }
}

void LinuxSession::OnSessionSignal(GDBusConnection*, const gchar*, const gchar*, const gchar*, const gchar* signal,
                                   GVariant* parameters, gpointer self) {
    auto* session = static_cast<LinuxSession*>(self);
    if (g_str_equal(signal, "Lock")) {
        session->Deliver(SessionChange::Lock);
        return;
    }
    if (g_str_equal(signal, "Unlock")) {
        session->Deliver(SessionChange::Unlock);
        return;
    }
    if (!g_variant_is_of_type(parameters, G_VARIANT_TYPE("(sa{sv}as)"))) return;
    auto changed = AdoptGRef(g_variant_get_child_value(parameters, 1));
    gboolean active = FALSE;
    if (g_variant_lookup(changed.get(), "Active", "b", &active) && bool(active) != session->m_active) {
        session->m_active = active;
        session->Deliver(active ? SessionChange::ConsoleConnect : SessionChange::ConsoleDisconnect);
    }
}

void LinuxSession::OnPrepareForShutdown(GDBusConnection*, const gchar*, const gchar*, const gchar*, const gchar*,
                                        GVariant* parameters, gpointer self) {
    auto* session = static_cast<LinuxSession*>(self);
    if (!g_variant_is_of_type(parameters, G_VARIANT_TYPE("(b)"))) return;
    gboolean start = FALSE;
    g_variant_get(parameters, "(b)", &start);
    if (!start) {
        // A shutdown was called off: be ready for the next one.
        if (!session->m_shutdownDelay)
            session->m_shutdownDelay =
                TakeLogindInhibitor(session->m_systemBus, "shutdown", "Finish the recording", "delay");
        return;
    }
    session->Deliver(SessionChange::Logoff);
    session->m_shutdownDelay.reset();
}

void LinuxSession::WatchTerminationSignals() {
    if (!m_sigterm) m_sigterm = g_unix_signal_add(SIGTERM, &LinuxSession::OnTerminate, this);
    if (!m_sighup) m_sighup = g_unix_signal_add(SIGHUP, &LinuxSession::OnTerminate, this);
    if (!m_sigint) m_sigint = g_unix_signal_add(SIGINT, &LinuxSession::OnTerminate, this);
}

void LinuxSession::SetTerminationHandler(std::function<void()> handler) {
    m_terminationHandler = std::move(handler);
    if (m_terminationHandler) WatchTerminationSignals();
}

gboolean LinuxSession::OnTerminate(gpointer self) {
    auto* session = static_cast<LinuxSession*>(self);
    // The program ends itself the way its close box does, so a file being written is finished;
    // a message box open at that moment (the start-up's "camera not ready", say) is closed, or
    // the program would wait on it for ever.
    if (session->m_terminationHandler) {
        auto handler = session->m_terminationHandler;
        handler();
        CloseMessageBoxes();
        return G_SOURCE_CONTINUE;
    }
    session->Deliver(SessionChange::Logoff);
    if (session->m_endProcess) session->m_endProcess();
    return G_SOURCE_CONTINUE;
}

void LinuxSession::SetDisplayChangeHandler(std::function<void(const DisplayChange&)> handler) {
    m_displayHandler = std::move(handler);
    if (m_screen || !m_displayHandler) return;
    GdkScreen* screen = gdk_screen_get_default();
    if (!screen) return;  // no display opened: nothing can change
    m_screen = RefGRef(screen);
    m_monitorsChanged = g_signal_connect(m_screen.get(), "monitors-changed", G_CALLBACK(&LinuxSession::OnScreenChanged), this);
    m_sizeChanged = g_signal_connect(m_screen.get(), "size-changed", G_CALLBACK(&LinuxSession::OnScreenChanged), this);
}

void LinuxSession::OnScreenChanged(GdkScreen*, gpointer self) {
    auto* session = static_cast<LinuxSession*>(self);
    if (!session->m_displayIdle) session->m_displayIdle = g_idle_add(&LinuxSession::DeliverDisplayChange, self);
}

gboolean LinuxSession::DeliverDisplayChange(gpointer self) {
    auto* session = static_cast<LinuxSession*>(self);
    session->m_displayIdle = 0;
    GdkDisplay* display = gdk_screen_get_display(session->m_screen.get());
    GdkMonitor* monitor = gdk_display_get_primary_monitor(display);
    if (!monitor) monitor = gdk_display_get_monitor(display, 0);
    DisplayChange change;
    if (monitor) {
        GdkRectangle geometry{};
        gdk_monitor_get_geometry(monitor, &geometry);
        const int scale = gdk_monitor_get_scale_factor(monitor);
        change.width = geometry.width * scale;
        change.height = geometry.height * scale;
    }
    // A 24-bit visual stores 32 bits a pixel, which is what the classic display mode reports.
    const int depth = gdk_visual_get_depth(gdk_screen_get_system_visual(session->m_screen.get()));
    change.bitsPerPixel = depth == 24 ? 32 : depth;
    auto handler = session->m_displayHandler;
    if (handler) handler(change);
    return G_SOURCE_REMOVE;
}

}  // namespace platform
