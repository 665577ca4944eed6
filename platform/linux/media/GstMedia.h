// The media services of the real backend: objects by class id over GStreamer, the profile
// manager, property frames in GTK, device notifications from the device monitor.
#pragma once

#include <memory>

#include "platform/media/Media.h"

namespace platform {
class GtkUiHost;
}

namespace platform::gst {

class DeviceMonitor;

class GstMedia final : public IMedia {
public:
    // The UI host places video windows and owns property frames; without one (headless) video
    // windows and property frames do nothing.
    explicit GstMedia(GtkUiHost* ui);
    ~GstMedia() override;
    GstMedia(const GstMedia&) = delete;
    GstMedia& operator=(const GstMedia&) = delete;

    HRESULT CreateInstance(const CLSID& clsid, REFIID iid, void** object) override;
    HRESULT CreateProfileManager(ComPtr<IWMProfileManager>& manager) override;
    HRESULT ShowPropertyFrame(WindowHandle owner, int x, int y, const std::wstring& caption, IUnknown* object,
                              const std::vector<GUID>& pages) override;
    uint32_t RegisterDeviceNotification(const GUID& interfaceClass,
                                        std::function<void(const DeviceChange&)> handler) override;
    void UnregisterDeviceNotification(uint32_t registration) override;

    DeviceMonitor& Monitor() { return *m_monitor; }

private:
    GtkUiHost* m_ui;
    bool m_ready = false;  // GStreamer initialised
    std::unique_ptr<DeviceMonitor> m_monitor;
};

}  // namespace platform::gst
