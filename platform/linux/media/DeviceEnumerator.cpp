#include "DeviceEnumerator.h"

#include <optional>

#include "CameraFilter.h"
#include "DeviceMonitor.h"
#include "FilterCategories.h"
#include "MicrophoneFilter.h"
#include "Monikers.h"
#include "platform/ComObject.h"

namespace platform::gst {
namespace {

CategoryEntry DeviceEntry(const DeviceInfo& device) {
    CategoryEntry entry;
    entry.friendlyName = device.name;
    if (device.kind == DeviceKind::Camera)
        entry.bind = [device] { return CameraFilter::Create(device); };
    else
        entry.bind = [device] { return MicrophoneFilter::Create(device); };
    return entry;
}

std::vector<CategoryEntry> DeviceEntries(DeviceMonitor& monitor, DeviceKind kind, bool captureClassOnly) {
    std::vector<CategoryEntry> entries;
    for (const DeviceInfo& device : monitor.Devices(kind))
        if (!captureClassOnly || device.captureClass) entries.push_back(DeviceEntry(device));
    return entries;
}

class SystemDeviceEnum final : public SingleComObject<ICreateDevEnum> {
public:
    explicit SystemDeviceEnum(DeviceMonitor& monitor) : m_monitor(monitor) {}

    HRESULT CreateClassEnumerator(const GUID& category, ComPtr<IEnumMoniker>& enumerator) override {
        enumerator.Reset();
        std::optional<std::vector<CategoryEntry>> entries = EntriesOf(category);
        if (!entries) return E_INVALIDARG;
        if (entries->empty()) return S_FALSE;
        enumerator = CreateMonikerEnumerator(std::move(*entries));
        return S_OK;
    }

private:
    std::optional<std::vector<CategoryEntry>> EntriesOf(const GUID& category) {
        if (category == CLSID_VideoInputDeviceCategory) return DeviceEntries(m_monitor, DeviceKind::Camera, false);
        if (category == AM_KSCATEGORY_CAPTURE) return DeviceEntries(m_monitor, DeviceKind::Camera, true);
        if (category == CLSID_AudioInputDeviceCategory) return DeviceEntries(m_monitor, DeviceKind::Microphone, false);
        if (category == CLSID_LegacyAmFilterCategory) return LegacyFilterEntries();
        if (category == CLSID_AudioCompressorCategory) return AudioCompressorEntries();
        return std::nullopt;
    }

    DeviceMonitor& m_monitor;
};

}  // namespace

ComPtr<ICreateDevEnum> CreateDeviceEnumerator(DeviceMonitor& monitor) {
    return MakeComObject<SystemDeviceEnum>(monitor);
}

}  // namespace platform::gst
