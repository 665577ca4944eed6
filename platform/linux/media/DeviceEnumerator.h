// The system device enumerator: device categories over the monitor's cameras and microphones,
// and the filter categories (legacy filters, audio compressors) over FilterCategories.h.
#pragma once

#include "platform/media/Devices.h"

namespace platform::gst {

class DeviceMonitor;

// The monitor must outlive the enumerator; the enumerators it creates hold their own listing.
[[nodiscard]] ComPtr<ICreateDevEnum> CreateDeviceEnumerator(DeviceMonitor& monitor);

}  // namespace platform::gst
