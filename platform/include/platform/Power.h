// Keeping the machine awake and the screen saver off, and the power events coming back.
// Every call is made on the UI thread; the handler is called there too.
#pragma once

#include <compare>
#include <cstdint>
#include <functional>
#include <string_view>

#include "platform/Guid.h"
#include "platform/Types.h"

namespace platform {

// Execution-state flags, in the classic numbering the program uses.
inline constexpr uint32_t kEsSystemRequired = 0x00000001;
inline constexpr uint32_t kEsDisplayRequired = 0x00000002;
inline constexpr uint32_t kEsAwayModeRequired = 0x00000040;
inline constexpr uint32_t kEsContinuous = 0x80000000;

// Power broadcast codes, in the classic numbering, so the framework can forward them as they are.
enum class PowerEvent : uint32_t {
    QuerySuspend = 0,             // the system asks first; the handler may refuse
    Suspend = 4,                  // the system is about to sleep (not refusable)
    ResumeAutomatic = 18,         // back from sleep
    PowerSettingChange = 0x8013,  // a watched power setting changed
};

struct PowerNotifyHandle {
    uint32_t value = 0;
    explicit constexpr operator bool() const { return value != 0; }
    friend auto operator<=>(const PowerNotifyHandle&, const PowerNotifyHandle&) = default;
};

struct PowerBroadcast {
    PowerEvent event = PowerEvent::Suspend;
    // PowerSettingChange goes to the window registered for that setting; the other events are
    // for every top-level window (target stays empty).
    WindowHandle target;
    GUID setting{};
    uint32_t value = 0;
};

// Returns false to refuse a QuerySuspend; the answer to the other events is ignored.
using PowerHandler = std::function<bool(const PowerBroadcast&)>;

class IPower {
public:
    virtual ~IPower() = default;

    // With kEsContinuous the flags replace the lasting request (kEsContinuous alone drops it);
    // without it they are a one-off nudge. Returns the previous flags (never 0), or 0 when the
    // request could not be honoured, which leaves the previous request in force.
    virtual uint32_t SetThreadExecutionState(uint32_t flags) = 0;

    // Whether the screen saver would start after the idle time.
    virtual bool IsScreenSaverActive() = 0;
    // writeToProfile asks for the change to outlast the process where the system keeps such a
    // setting. False when the switch could not be made.
    [[nodiscard]] virtual bool SetScreenSaverActive(bool on, bool writeToProfile) = 0;

    // Power-setting notifications exist only on some systems; the program asks first.
    virtual bool HasPowerSettingNotification() = 0;
    // An empty handle when unavailable.
    virtual PowerNotifyHandle RegisterPowerSettingNotification(WindowHandle, const GUID& setting) = 0;
    [[nodiscard]] virtual bool UnregisterPowerSettingNotification(PowerNotifyHandle) = 0;

    // Asks for the shortest wake-up latency the machine offers; false when there is no such control.
    [[nodiscard]] virtual bool RequestLowestWakeLatency() = 0;

    // Replaces the receiver of power events (an empty function: none).
    virtual void SetPowerHandler(PowerHandler handler) = 0;

    // Where nothing asks the program before a sleep, the lasting request itself refuses it, and
    // the desktop tells a user who asks for sleep this text; set before the request is made.
    virtual void SetSleepRefusalText(std::wstring_view text) = 0;
    // Told when the screen saver may be back on without the program asking (the service that
    // held its inhibition went away or came back); an empty function: none.
    virtual void SetScreenSaverChangeHandler(std::function<void()> handler) = 0;
};

}  // namespace platform
