// The user's desktop session (switching, locking, logging off) and display changes, coming back
// as events on the UI thread.
#pragma once

#include <cstdint>
#include <functional>

#include "platform/Types.h"

namespace platform {

// Session-change codes, in the classic numbering, so the framework can forward them as they are.
enum class SessionChange : uint32_t {
    ConsoleConnect = 1,     // the session got the screen and keyboard back (switched to)
    ConsoleDisconnect = 2,  // another session took them (switched away)
    RemoteConnect = 3,
    RemoteDisconnect = 4,
    Logon = 5,
    Logoff = 6,  // the session is ending
    Lock = 7,
    Unlock = 8,
};

struct SessionEvent {
    WindowHandle target;  // a window registered for session notifications
    SessionChange change = SessionChange::ConsoleConnect;
    uint32_t sessionId = 0;
};

// The primary display's new mode.
struct DisplayChange {
    int bitsPerPixel = 32;
    int width = 0;
    int height = 0;
};

class ISession {
public:
    virtual ~ISession() = default;
    // Session events go to each registered window, once per event; allSessions asks for the
    // events of other sessions too where the system reports them.
    [[nodiscard]] virtual bool RegisterSessionNotification(WindowHandle, bool allSessions) = 0;
    [[nodiscard]] virtual bool UnregisterSessionNotification(WindowHandle) = 0;
    // Receivers (an empty function: none). Display changes need no registration.
    virtual void SetSessionHandler(std::function<void(const SessionEvent&)> handler) = 0;
    virtual void SetDisplayChangeHandler(std::function<void(const DisplayChange&)> handler) = 0;
    // A request from outside to end the program (SIGINT or SIGTERM). With a handler set, the
    // handler ends the program its own way; without one the request ends the session.
    virtual void SetTerminationHandler(std::function<void()> handler) = 0;
};

}  // namespace platform
