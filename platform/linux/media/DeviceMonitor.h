// The cameras and microphones GStreamer sees, kept in the order they were first seen, and the
// arrivals and removals turned into device-change notifications on the UI thread.
#pragma once

#include <gst/gst.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "GRefPtr.h"
#include "platform/media/Media.h"

namespace platform::gst {

enum class DeviceKind { Camera, Microphone };

// A device as listed: shared so that a listing taken by an enumerator stays valid after the
// device is unplugged.
struct DeviceInfo {
    GRefPtr<GstDevice> device;
    DeviceKind kind = DeviceKind::Camera;
    std::wstring name;         // the display name
    std::string path;          // what identifies the device across providers ("/dev/video0", a file)
    bool captureClass = true;  // cameras: listed in the capture device-interface class
};

class DeviceMonitor {
public:
    DeviceMonitor();
    ~DeviceMonitor();
    DeviceMonitor(const DeviceMonitor&) = delete;
    DeviceMonitor& operator=(const DeviceMonitor&) = delete;

    // Starts watching on the first call (later calls do nothing): initialises GStreamer, registers
    // the test-device provider when VISTREL_TEST_DEVICES is set, lists the devices present and
    // watches the monitor's bus on the default main context. The other members call it.
    void Start();

    // The devices of one kind in the order the monitor first saw them.
    [[nodiscard]] std::vector<DeviceInfo> Devices(DeviceKind kind);

    // Changes whose interface class equals `interfaceClass` go to the handler on the default main
    // context: cameras of the capture class as AM_KSCATEGORY_CAPTURE, other cameras as
    // CLSID_VideoInputDeviceCategory, microphones as CLSID_AudioInputDeviceCategory. The device
    // list already reflects the change when the handler runs. Returns a non-zero registration.
    uint32_t RegisterDeviceNotification(const GUID& interfaceClass,
                                        std::function<void(const platform::DeviceChange&)> handler);
    void UnregisterDeviceNotification(uint32_t registration);

private:
    struct Impl;
    std::unique_ptr<Impl> m_impl;
};

}  // namespace platform::gst
