#include "DeviceList.h"

#include "TestDevice.h"
#include "platform/Strings.h"

namespace platform::gst {
namespace {

std::string StringProperty(const GstStructure* properties, const char* key) {
    const char* value = properties ? gst_structure_get_string(properties, key) : nullptr;
    return value ? value : "";
}

}  // namespace

std::string DevicePathOf(const GstStructure* properties) {
    for (const char* key : {"api.v4l2.path", vistrel::testdevices::kPathProperty}) {
        std::string path = StringProperty(properties, key);
        if (!path.empty()) return path;
    }
    // pipewire's own name for the node: "v4l2:/dev/video0".
    std::string path = StringProperty(properties, "object.path");
    if (size_t colon = path.find(':'); colon != std::string::npos && path.compare(colon + 1, 1, "/") == 0)
        path.erase(0, colon + 1);
    return path;
}

std::optional<DeviceInfo> DescribeDevice(GstDevice* device) {
    DeviceInfo info;
    if (gst_device_has_classes(device, "Video/Source"))
        info.kind = DeviceKind::Camera;
    else if (gst_device_has_classes(device, "Audio/Source"))
        info.kind = DeviceKind::Microphone;
    else
        return std::nullopt;
    GCharPtr name(gst_device_get_display_name(device));
    info.name = FromUtf8(name ? name.get() : "");
    GUniquePtr<GstStructure> properties(gst_device_get_properties(device));
    info.path = DevicePathOf(properties.get());
    gboolean member = TRUE;
    if (properties) gst_structure_get_boolean(properties.get(), vistrel::testdevices::kCaptureClassProperty, &member);
    // Every real camera is a capture device; only a test camera can say otherwise.
    info.captureClass = info.kind == DeviceKind::Camera && member;
    info.device = RefGRef(device);
    return info;
}

bool DeviceList::Add(GstDevice* device, DeviceInfo* added) {
    auto info = DescribeDevice(device);
    if (!info) return false;
    for (const DeviceInfo& known : m_devices) {
        if (known.device.get() == device) return false;
        if (!info->path.empty() && known.path == info->path && known.kind == info->kind) return false;
    }
    m_devices.push_back(*info);
    if (added) *added = *info;
    return true;
}

bool DeviceList::Remove(GstDevice* device, DeviceInfo* removed) {
    for (auto it = m_devices.begin(); it != m_devices.end(); ++it) {
        if (it->device.get() != device) continue;
        if (removed) *removed = *it;
        m_devices.erase(it);
        return true;
    }
    return false;
}

std::vector<DeviceInfo> DeviceList::Of(DeviceKind kind) const {
    std::vector<DeviceInfo> result;
    for (const DeviceInfo& info : m_devices)
        if (info.kind == kind) result.push_back(info);
    return result;
}

}  // namespace platform::gst
