#include "SimPower.h"

#include <algorithm>

namespace platform::sim {

uint32_t SimPower::SetThreadExecutionState(uint32_t flags) {
    uint32_t result = 0;
    if (m_refusals > 0) {
        --m_refusals;
    } else {
        result = m_state;
        if (flags & kEsContinuous) m_state = flags;
    }
    m_stateCalls.push_back({flags, result});
    return result;
}

bool SimPower::SetScreenSaverActive(bool on, bool writeToProfile) {
    m_switches.push_back({on, writeToProfile});
    if (m_failSwitches) return false;
    m_screenSaverActive = on;
    return true;
}

PowerNotifyHandle SimPower::RegisterPowerSettingNotification(WindowHandle window, const GUID& setting) {
    if (!m_powerSettingsAvailable || !window) return {};
    const PowerNotifyHandle handle{++m_nextHandle};
    m_registrations.push_back({handle, window, setting});
    return handle;
}

bool SimPower::UnregisterPowerSettingNotification(PowerNotifyHandle handle) {
    auto it = std::find_if(m_registrations.begin(), m_registrations.end(),
                           [&](const PowerSettingRegistration& r) { return r.handle == handle; });
    if (it == m_registrations.end()) return false;
    m_registrations.erase(it);
    m_unregistrations.push_back(handle);
    return true;
}

bool SimPower::RequestLowestWakeLatency() {
    ++m_wakeLatencyRequests;
    return true;
}

bool SimPower::Deliver(const PowerBroadcast& event) {
    if (!m_handler) return true;
    // A copy: the handler may replace itself while it runs.
    PowerHandler handler = m_handler;
    return handler(event);
}

bool SimPower::InjectQuerySuspend() { return Deliver({PowerEvent::QuerySuspend, {}, {}, 0}); }

void SimPower::InjectSuspend() { Deliver({PowerEvent::Suspend, {}, {}, 0}); }

void SimPower::InjectResume() { Deliver({PowerEvent::ResumeAutomatic, {}, {}, 0}); }

void SimPower::InjectScreenSaverRestart() {
    m_screenSaverActive = true;
    auto handler = m_screenSaverChangeHandler;
    if (handler) handler();
}

void SimPower::InjectPowerSettingChange(const GUID& setting, uint32_t value) {
    // A copy: the handler may unregister while it runs.
    const auto registrations = m_registrations;
    for (const auto& r : registrations)
        if (r.setting == setting) Deliver({PowerEvent::PowerSettingChange, r.window, setting, value});
}

}  // namespace platform::sim
