#include "MicrophoneFilter.h"

#include "CapsMediaType.h"
#include "DeviceBusy.h"

namespace platform::gst {

ComPtr<IBaseFilter> MicrophoneFilter::Create(const DeviceInfo& device) {
    if (!device.device) return {};
    GstElement* source = gst_device_create_element(device.device.get(), "source");
    if (!source) return {};
    return ComPtr<IBaseFilter>::Adopt(new MicrophoneFilter(gst_bin_new(nullptr), device, source));
}

MicrophoneFilter::MicrophoneFilter(GstElement* bin, const DeviceInfo& device, GstElement* source)
    : GstFilter(bin), m_device(device), m_source(source) {
    GstElement* converter = gst_element_factory_make("audioconvert", "convert");
    gst_bin_add_many(GST_BIN(bin), m_source, converter, nullptr);
    gst_element_link(m_source, converter);
    auto target = AdoptGRef(gst_element_get_static_pad(converter, "src"));
    gst_element_add_pad(bin, gst_ghost_pad_new("src", target.get()));  // sinks the new pad

    auto caps = AdoptGRef(gst_device_get_caps(device.device.get()));
    for (AM_MEDIA_TYPE& type : CapsToMediaTypes(caps.get()))
        if (type.majortype == MEDIATYPE_Audio) m_types.push_back(std::move(type));
}

HRESULT MicrophoneFilter::OnEnterGraph(GstGraph& graph, const std::wstring& name) {
    if (DeviceIsBusy(m_device, m_source)) return E_DEVICE_BUSY;
    return GstFilter::OnEnterGraph(graph, name);
}

std::vector<AM_MEDIA_TYPE> MicrophoneFilter::PinMediaTypes(PIN_DIRECTION direction, int index) const {
    if (direction == PINDIR_OUTPUT && index == 0 && !m_types.empty()) return m_types;
    return GstFilter::PinMediaTypes(direction, index);
}

}  // namespace platform::gst
