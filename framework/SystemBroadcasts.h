// What the system tells every top-level window (power, display, screen-saver setting) and what
// it tells the windows registered for session changes, delivered as the window messages a
// window procedure expects, on the UI thread.
#pragma once

#include "platform/Platform.h"

class SystemBroadcasts {
public:
    explicit SystemBroadcasts(platform::IPlatform& platform);
    ~SystemBroadcasts();
    SystemBroadcasts(const SystemBroadcasts&) = delete;
    SystemBroadcasts& operator=(const SystemBroadcasts&) = delete;

private:
    platform::IPlatform& m_platform;
};
