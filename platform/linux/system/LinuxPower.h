// Power on Linux. The lasting execution-state request is a logind "sleep:idle" block inhibitor;
// the screen saver is switched off by an org.freedesktop.ScreenSaver inhibit on the session bus,
// or, without one, by suspending the X server's screen saver. Suspend and resume come from
// logind's PrepareForSleep, with a "sleep" delay inhibitor giving the handler time to act.
//
// Choices where Linux has no exact counterpart:
// - IsScreenSaverActive is true unless this program holds a screen-saver inhibit: a desktop's
//   own idle settings are not one readable value, and the program asks only to know whether
//   it must switch the saver back on at the end.
// - writeToProfile is ignored: an inhibit lives only as long as the process, so a crash never
//   leaves the screen saver off.
// - Nothing asks before suspending on Linux, so QuerySuspend is never delivered: holding the
//   block inhibitor is the refusal, and the desktop names the program when it declines to sleep.
// - The screen saver can come back on behind the program: a screen-saver service that ends or
//   is replaced forgets its inhibits. Every change of its owner on the session bus reports the
//   saver active again to the screen-saver change handler, which may switch it off anew. The X11
//   suspension has no such signal and needs none: the server keeps it, per client, until this
//   client lifts it or its connection ends.
// - Away mode does not exist; it is kept awake like the system-required flag.
// - Power-setting notifications and wake-latency requests have no counterpart: reported
//   unavailable, so the program skips them as it does on systems without them.
#pragma once

#include <gio/gio.h>

#include <cstdint>
#include <functional>
#include <string>

#include "DBusLink.h"
#include "UniqueFd.h"
#include "platform/Power.h"

namespace platform {

class LinuxPower final : public IPower {
public:
    LinuxPower(DBusLink& systemBus, DBusLink& sessionBus) : m_systemBus(systemBus), m_sessionBus(sessionBus) {}
    ~LinuxPower() override;
    LinuxPower(const LinuxPower&) = delete;
    LinuxPower& operator=(const LinuxPower&) = delete;

    uint32_t SetThreadExecutionState(uint32_t flags) override;
    bool IsScreenSaverActive() override;
    bool SetScreenSaverActive(bool on, bool writeToProfile) override;
    bool HasPowerSettingNotification() override { return false; }
    PowerNotifyHandle RegisterPowerSettingNotification(WindowHandle, const GUID&) override { return {}; }
    bool UnregisterPowerSettingNotification(PowerNotifyHandle) override { return false; }
    bool RequestLowestWakeLatency() override { return false; }
    void SetPowerHandler(PowerHandler handler) override;
    void SetSleepRefusalText(std::wstring_view text) override;
    void SetScreenSaverChangeHandler(std::function<void()> handler) override {
        m_screenSaverChangeHandler = std::move(handler);
    }

    // For tests: which inhibitors are held now.
    bool HoldsSleepBlock() const { return static_cast<bool>(m_sleepBlock); }
    bool HoldsSleepDelay() const { return static_cast<bool>(m_sleepDelay); }

private:
    static void OnPrepareForSleep(GDBusConnection*, const gchar*, const gchar*, const gchar*, const gchar*,
                                  GVariant* parameters, gpointer self);
    void Deliver(PowerEvent event);
    static void OnScreenSaverOwnerChanged(GDBusConnection*, const gchar*, const gchar*, const gchar*, const gchar*,
                                          GVariant* parameters, gpointer self);
    void WatchScreenSaverOwner();
    bool InhibitScreenSaver();
    void UninhibitScreenSaver();

    DBusLink& m_systemBus;
    DBusLink& m_sessionBus;
    uint32_t m_state = kEsContinuous;
    UniqueFd m_sleepBlock;
    UniqueFd m_sleepDelay;
    guint m_sleepSignal = 0;
    PowerHandler m_handler;
    std::string m_refusalText = "Live camera preview";
    std::function<void()> m_screenSaverChangeHandler;
    uint32_t m_screenSaverCookie = 0;
    bool m_screenSaverInhibited = false;  // through the session bus
    bool m_x11Suspended = false;          // through the X server instead
    guint m_screenSaverOwnerSignal = 0;   // watched from the first switch-off to the switch back on
};

}  // namespace platform
