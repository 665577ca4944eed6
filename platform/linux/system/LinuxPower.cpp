#include "LinuxPower.h"

#include <cstdio>

#include "X11ScreenSaver.h"
#include "platform/Strings.h"

namespace platform {
namespace {

constexpr uint32_t kAwakeFlags = kEsSystemRequired | kEsDisplayRequired | kEsAwayModeRequired;
constexpr const char* kLogind = "org.freedesktop.login1";
constexpr const char* kLogindPath = "/org/freedesktop/login1";
constexpr const char* kLogindManager = "org.freedesktop.login1.Manager";
constexpr const char* kScreenSaver = "org.freedesktop.ScreenSaver";
constexpr const char* kScreenSaverPath = "/org/freedesktop/ScreenSaver";

}  // namespace

LinuxPower::~LinuxPower() {
    m_systemBus.Unsubscribe(m_sleepSignal);
    m_sessionBus.Unsubscribe(m_screenSaverOwnerSignal);
    if (m_x11Suspended) SuspendX11ScreenSaver(false);
    // The session-bus inhibit ends with the connection; saying so is polite but not needed.
    if (m_screenSaverInhibited) UninhibitScreenSaver();
}

uint32_t LinuxPower::SetThreadExecutionState(uint32_t flags) {
    const uint32_t previous = m_state;
    if (!(flags & kEsContinuous)) return previous;  // a one-off nudge: idle timers are not ours to reset
    if (flags & kAwakeFlags) {
        if (!m_sleepBlock) {
            m_sleepBlock = TakeLogindInhibitor(m_systemBus, "sleep:idle", m_refusalText.c_str(), "block");
            if (!m_sleepBlock) return 0;
        }
    } else {
        m_sleepBlock.reset();
    }
    m_state = flags;
    return previous;
}

bool LinuxPower::IsScreenSaverActive() { return !m_screenSaverInhibited && !m_x11Suspended; }

bool LinuxPower::SetScreenSaverActive(bool on, bool /*writeToProfile*/) {
    if (on) {
        m_sessionBus.Unsubscribe(m_screenSaverOwnerSignal);
        if (m_screenSaverInhibited) UninhibitScreenSaver();
        if (m_x11Suspended) m_x11Suspended = !SuspendX11ScreenSaver(false);
        return !m_screenSaverInhibited && !m_x11Suspended;
    }
    WatchScreenSaverOwner();
    if (m_screenSaverInhibited || m_x11Suspended) return true;
    if (InhibitScreenSaver()) return true;
    m_x11Suspended = SuspendX11ScreenSaver(true);
    return m_x11Suspended;
}

bool LinuxPower::InhibitScreenSaver() {
    // Plain X11 desktops have no such service: the X11 fallback follows quietly.
    if (!m_sessionBus.HasOwner(kScreenSaver)) return false;
    auto reply = m_sessionBus.Call("screen saver inhibit", kScreenSaver, kScreenSaverPath, kScreenSaver,
                                        "Inhibit", g_variant_new("(ss)", "Vistrel", "Live camera preview"),
                                        G_VARIANT_TYPE("(u)"));
    if (!reply) return false;
    g_variant_get(reply.get(), "(u)", &m_screenSaverCookie);
    m_screenSaverInhibited = true;
    return true;
}

void LinuxPower::UninhibitScreenSaver() {
    (void)m_sessionBus.Call("screen saver uninhibit", kScreenSaver, kScreenSaverPath, kScreenSaver, "UnInhibit",
                            g_variant_new("(u)", m_screenSaverCookie), nullptr);
    // Even when the call failed the cookie is spent: the service forgets it with our connection.
    m_screenSaverInhibited = false;
    m_screenSaverCookie = 0;
}

void LinuxPower::SetSleepRefusalText(std::wstring_view text) {
    std::string why = ToUtf8(text);
    if (why == m_refusalText) return;
    m_refusalText = std::move(why);
    if (!m_sleepBlock) return;
    // The desktop shows the text it was given with the lock, so the lock is taken anew. The new
    // one first: between the two the machine must not be free to sleep. Should it be refused,
    // the old lock still keeps the machine awake, with the old text.
    UniqueFd renewed = TakeLogindInhibitor(m_systemBus, "sleep:idle", m_refusalText.c_str(), "block");
    if (renewed) m_sleepBlock = std::move(renewed);
}

// Once the program has asked for the saver to be off, any change of the service's owner matters:
// an inhibit is tied to the service instance that took it, so one that went away (or was
// replaced) took our inhibit with it, and one that came up while the X server's saver was
// suspended instead runs its own idle timer, which knows nothing of that suspension.
void LinuxPower::WatchScreenSaverOwner() {
    if (m_screenSaverOwnerSignal || !m_sessionBus.Connection()) return;
    m_screenSaverOwnerSignal =
        m_sessionBus.Subscribe("org.freedesktop.DBus", "org.freedesktop.DBus", "NameOwnerChanged",
                               "/org/freedesktop/DBus", kScreenSaver, &LinuxPower::OnScreenSaverOwnerChanged, this);
}

void LinuxPower::OnScreenSaverOwnerChanged(GDBusConnection*, const gchar*, const gchar*, const gchar*, const gchar*,
                                           GVariant*, gpointer self) {
    auto* power = static_cast<LinuxPower*>(self);
    // What is left of the switch is let go, so the program switching the saver off again takes
    // whichever way there is now, afresh.
    power->m_screenSaverInhibited = false;
    power->m_screenSaverCookie = 0;
    if (power->m_x11Suspended) power->m_x11Suspended = !SuspendX11ScreenSaver(false);
    auto handler = power->m_screenSaverChangeHandler;  // a copy: it may replace itself
    if (handler) handler();
}

void LinuxPower::SetPowerHandler(PowerHandler handler) {
    m_handler = std::move(handler);
    if (m_handler && !m_sleepSignal) {
        m_sleepSignal = m_systemBus.Subscribe(kLogind, kLogindManager, "PrepareForSleep", kLogindPath, nullptr,
                                              &LinuxPower::OnPrepareForSleep, this);
        if (m_sleepSignal)
            m_sleepDelay = TakeLogindInhibitor(m_systemBus, "sleep", "Pause the camera before sleep", "delay");
    } else if (!m_handler) {
        m_systemBus.Unsubscribe(m_sleepSignal);
        m_sleepDelay.reset();
    }
}

void LinuxPower::OnPrepareForSleep(GDBusConnection*, const gchar*, const gchar*, const gchar*, const gchar*,
                                   GVariant* parameters, gpointer self) {
    auto* power = static_cast<LinuxPower*>(self);
    if (!g_variant_is_of_type(parameters, G_VARIANT_TYPE("(b)"))) return;
    gboolean start = FALSE;
    g_variant_get(parameters, "(b)", &start);
    if (start) {
        power->Deliver(PowerEvent::Suspend);
        // Letting go of the delay lets the machine sleep now that the handler is done.
        power->m_sleepDelay.reset();
    } else {
        // Taken again first, so a sleep soon after waits for the handler too.
        if (!power->m_sleepDelay)
            power->m_sleepDelay =
                TakeLogindInhibitor(power->m_systemBus, "sleep", "Pause the camera before sleep", "delay");
        power->Deliver(PowerEvent::ResumeAutomatic);
    }
}

void LinuxPower::Deliver(PowerEvent event) {
    // A copy: the handler may replace itself while it runs.
    PowerHandler handler = m_handler;
    if (handler) handler({event, {}, {}, 0});
}

}  // namespace platform
