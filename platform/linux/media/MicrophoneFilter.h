// A microphone: the device's source element and a conversion, in one bin with one output pin
// whose types are the device's raw audio formats.
#pragma once

#include <vector>

#include "DeviceMonitor.h"
#include "GstFilter.h"

namespace platform::gst {

class MicrophoneFilter final : public GstFilter {
public:
    // nullptr when the device cannot make an element.
    [[nodiscard]] static ComPtr<IBaseFilter> Create(const DeviceInfo& device);

    GstElement* SourceElement() const { return m_source; }
    const DeviceInfo& Device() const { return m_device; }

    HRESULT OnEnterGraph(GstGraph& graph, const std::wstring& name) override;
    std::vector<AM_MEDIA_TYPE> PinMediaTypes(PIN_DIRECTION direction, int index) const override;

private:
    MicrophoneFilter(GstElement* bin, const DeviceInfo& device, GstElement* source);
    ~MicrophoneFilter() override = default;

    DeviceInfo m_device;
    GstElement* m_source = nullptr;  // owned by the bin
    std::vector<AM_MEDIA_TYPE> m_types;
};

}  // namespace platform::gst
