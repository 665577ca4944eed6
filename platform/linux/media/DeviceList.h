// The devices seen so far, in the order first seen, each node once: a camera that two providers
// report (pipewire and v4l2 both name /dev/video0) is one device.
#pragma once

#include <gst/gst.h>

#include <optional>
#include <string>
#include <vector>

#include "DeviceMonitor.h"

namespace platform::gst {

// What the monitor keeps of one device; nothing for a device that is neither a video nor an
// audio source.
[[nodiscard]] std::optional<DeviceInfo> DescribeDevice(GstDevice* device);

// The node a device's properties name ("/dev/video0", a test device's file), or empty.
[[nodiscard]] std::string DevicePathOf(const GstStructure* properties);

class DeviceList {
public:
    // Adds a video or audio source not listed yet; false for another kind of device, for the
    // same object again, or for another provider's view of a listed node.
    bool Add(GstDevice* device, DeviceInfo* added = nullptr);
    // Removes the listed object; false when it is not listed (e.g. a duplicate that was never).
    bool Remove(GstDevice* device, DeviceInfo* removed = nullptr);

    [[nodiscard]] std::vector<DeviceInfo> Of(DeviceKind kind) const;

private:
    std::vector<DeviceInfo> m_devices;
};

}  // namespace platform::gst
