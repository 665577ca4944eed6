// A camera: the device's source element, a caps filter that holds the chosen frame size, and
// the conversion to raw video, in one bin with one output pin. The output pin lists the
// device's own formats and sizes and answers IAMStreamConfig.
#pragma once

#include <memory>
#include <vector>

#include "DeviceBusy.h"
#include "DeviceMonitor.h"
#include "GstFilter.h"

namespace platform::gst {

// The one property page a camera offers: its source's adjustable settings (colour balance, or
// the test camera's pattern). ShowPropertyFrame recognises it.
inline constexpr GUID CLSID_CameraSettingsPage{0x5b0c7e21, 0x9a44, 0x4d3e, {0x8f, 0x12, 0x6c, 0x3a, 0x90, 0x4e, 0x1b, 0x77}};

class CameraFilter final : public GstFilter, public ISpecifyPropertyPages {
public:
    // nullptr when the device cannot make an element.
    [[nodiscard]] static ComPtr<IBaseFilter> Create(const DeviceInfo& device);
    // The camera behind a filter, or nullptr when it is another kind of filter.
    [[nodiscard]] static CameraFilter* From(IUnknown* object);

    HRESULT QueryInterface(REFIID iid, void** object) override { return GstFilter::QueryInterface(iid, object); }
    uint32_t AddRef() override { return GstFilter::AddRef(); }
    uint32_t Release() override { return GstFilter::Release(); }

    // ISpecifyPropertyPages: CLSID_CameraSettingsPage; offered only when HasSettings().
    HRESULT GetPages(std::vector<GUID>& pages) override;

    // The element the device made (v4l2src, pipewiresrc, videotestsrc …): its properties and its
    // GstColorBalance are what the settings page shows.
    GstElement* SourceElement() const { return m_source; }
    const DeviceInfo& Device() const { return m_device; }
    // Whether the source has settings a page can show: colour-balance channels (a v4l2 source
    // lists them once it is open, i.e. while its graph runs) or a test pattern.
    [[nodiscard]] bool HasSettings() const;

    // The device's types, one per (format, size), in the order its caps give them.
    const std::vector<AM_MEDIA_TYPE>& DeviceTypes() const { return m_types; }
    // The format the output gives: initially the first of DeviceTypes().
    [[nodiscard]] const AM_MEDIA_TYPE& CurrentType() const { return m_current; }
    // Fixes the frame size, and the format too when the device offers the type's own format at
    // that size (else the format is left to negotiation). VFW_E_TYPE_NOT_ACCEPTED, with nothing
    // changed, for a size the device does not offer; VFW_E_NOT_STOPPED while streaming.
    [[nodiscard]] HRESULT SetCaptureType(const AM_MEDIA_TYPE& type);

    HRESULT OnEnterGraph(GstGraph& graph, const std::wstring& name) override;
    void OnLeaveGraph() override;
    std::vector<AM_MEDIA_TYPE> PinMediaTypes(PIN_DIRECTION direction, int index) const override;
    HRESULT PinQueryInterface(PIN_DIRECTION direction, int index, REFIID iid, void** object) override;

protected:
    HRESULT QueryExtra(REFIID iid, void** object) override;

private:
    CameraFilter(GstElement* bin, const DeviceInfo& device, GstElement* source);
    ~CameraFilter() override = default;

    // Puts the caps into the caps filter and routes JPEG through the decoder.
    void Apply(GstCaps* caps);

    DeviceInfo m_device;
    GstElement* m_source = nullptr;       // owned by the bin
    GstElement* m_capsFilter = nullptr;   // owned by the bin
    GstElement* m_jpegDecoder = nullptr;  // owned by the bin; only for devices that offer JPEG
    GstElement* m_converter = nullptr;    // owned by the bin
    GRefPtr<GstCaps> m_deviceCaps;
    std::vector<AM_MEDIA_TYPE> m_types;
    AM_MEDIA_TYPE m_current;
    bool m_decoding = false;
    std::unique_ptr<DeviceUse> m_use;  // while in a graph
};

}  // namespace platform::gst
