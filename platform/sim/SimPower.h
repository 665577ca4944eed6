// Power under the sim: the execution state, the screen saver and the notification registrations
// are records a test reads; power events are injected by the test and reach the handler at once
// (queue them on the UI host to have them arrive while the program waits).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/Power.h"

namespace platform::sim {

struct ExecutionStateCall {
    uint32_t flags = 0;
    uint32_t result = 0;  // 0: refused
};

struct ScreenSaverSwitch {
    bool on = false;
    bool writeToProfile = false;
};

struct PowerSettingRegistration {
    PowerNotifyHandle handle;
    WindowHandle window;
    GUID setting{};
};

class SimPower final : public IPower {
public:
    uint32_t SetThreadExecutionState(uint32_t flags) override;
    bool IsScreenSaverActive() override { return m_screenSaverActive; }
    bool SetScreenSaverActive(bool on, bool writeToProfile) override;
    bool HasPowerSettingNotification() override { return m_powerSettingsAvailable; }
    PowerNotifyHandle RegisterPowerSettingNotification(WindowHandle, const GUID& setting) override;
    bool UnregisterPowerSettingNotification(PowerNotifyHandle) override;
    bool RequestLowestWakeLatency() override;
    void SetPowerHandler(PowerHandler handler) override { m_handler = std::move(handler); }
    void SetSleepRefusalText(std::wstring_view text) override { m_refusalText = text; }
    void SetScreenSaverChangeHandler(std::function<void()> handler) override {
        m_screenSaverChangeHandler = std::move(handler);
    }

    // --- what a test scripts ---
    // The next `count` execution-state requests are refused.
    void RefuseExecutionStates(int count) { m_refusals = count; }
    // The screen saver setting as the user left it before the program ran.
    void SetScreenSaverSetting(bool active) { m_screenSaverActive = active; }
    void FailScreenSaverSwitches(bool fail) { m_failSwitches = fail; }
    void SetPowerSettingNotificationAvailable(bool available) { m_powerSettingsAvailable = available; }

    // --- what a test injects; each returns after the handler did ---
    // False when the handler refused the suspend; true otherwise (also with no handler).
    bool InjectQuerySuspend();
    void InjectSuspend();
    void InjectResume();
    // Reaches every window registered for this setting, in registration order.
    void InjectPowerSettingChange(const GUID& setting, uint32_t value);
    // The screen saver comes back on behind the program's back (its service restarted).
    void InjectScreenSaverRestart();

    // --- what a test reads ---
    uint32_t ExecutionState() const { return m_state; }
    const std::vector<ExecutionStateCall>& ExecutionStateCalls() const { return m_stateCalls; }
    const std::vector<ScreenSaverSwitch>& ScreenSaverSwitches() const { return m_switches; }
    // Registrations still in force, oldest first.
    const std::vector<PowerSettingRegistration>& PowerSettingRegistrations() const { return m_registrations; }
    const std::vector<PowerNotifyHandle>& PowerSettingUnregistrations() const { return m_unregistrations; }
    int WakeLatencyRequests() const { return m_wakeLatencyRequests; }
    const std::wstring& SleepRefusalText() const { return m_refusalText; }

private:
    bool Deliver(const PowerBroadcast& event);

    PowerHandler m_handler;
    uint32_t m_state = kEsContinuous;  // no lasting request, as a fresh thread has
    std::vector<ExecutionStateCall> m_stateCalls;
    int m_refusals = 0;
    bool m_screenSaverActive = true;
    bool m_failSwitches = false;
    std::vector<ScreenSaverSwitch> m_switches;
    bool m_powerSettingsAvailable = true;
    uint32_t m_nextHandle = 0;
    std::vector<PowerSettingRegistration> m_registrations;
    std::vector<PowerNotifyHandle> m_unregistrations;
    int m_wakeLatencyRequests = 0;
    std::wstring m_refusalText;
    std::function<void()> m_screenSaverChangeHandler;
};

}  // namespace platform::sim
