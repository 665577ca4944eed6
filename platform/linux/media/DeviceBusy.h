// Whether a device can be started, asked before its filter joins a graph: a camera another
// program streams from is refused there, not at PLAYING.
#pragma once

#include <gst/gst.h>

#include <string>

#include "DeviceMonitor.h"

namespace platform::gst {

// True when the device is held by another program: a test device declared busy, or a V4L2
// node that cannot be opened or whose buffer queue another file handle owns. Nodes this process
// uses itself (a DeviceUse is alive for them) count as free: a scratch graph may probe the
// camera the preview runs on.
[[nodiscard]] bool DeviceIsBusy(const DeviceInfo& device, GstElement* source);

// Marks a device as used by this process for as long as it lives.
class DeviceUse {
public:
    explicit DeviceUse(std::string path);
    ~DeviceUse();
    DeviceUse(const DeviceUse&) = delete;
    DeviceUse& operator=(const DeviceUse&) = delete;

private:
    std::string m_path;
};

}  // namespace platform::gst
