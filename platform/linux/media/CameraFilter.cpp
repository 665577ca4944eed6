#include "CameraFilter.h"

#include <gst/video/colorbalance.h>

#include <array>
#include <cstdlib>
#include <string>

#include "CameraStreamConfig.h"
#include "CapsMediaType.h"

namespace platform::gst {
namespace {

struct FrameSize {
    int width;
    int height;
};

// Sizes listed for a device that describes its sizes as ranges: the program looks for a few
// fixed sizes, so the common ones a range covers are what it can use.
constexpr std::array<FrameSize, 12> kCommonSizes{{{160, 120}, {176, 144}, {320, 240}, {352, 288}, {640, 480},
                                                   {720, 480}, {800, 600}, {1024, 768}, {1280, 720}, {1280, 1024},
                                                   {1600, 1200}, {1920, 1080}}};

std::vector<const char*> FormatsOf(const GstStructure* s) {
    const GValue* value = gst_structure_get_value(s, "format");
    if (!value) return {nullptr};
    if (G_VALUE_HOLDS_STRING(value)) return {g_value_get_string(value)};
    std::vector<const char*> formats;
    if (GST_VALUE_HOLDS_LIST(value))
        for (guint i = 0; i < gst_value_list_get_size(value); ++i) {
            const GValue* item = gst_value_list_get_value(value, i);
            if (G_VALUE_HOLDS_STRING(item)) formats.push_back(g_value_get_string(item));
        }
    return formats;
}

std::vector<FrameSize> SizesOf(const GstStructure* s) {
    int width = 0;
    int height = 0;
    if (gst_structure_get_int(s, "width", &width) && gst_structure_get_int(s, "height", &height))
        return {{width, height}};
    std::vector<FrameSize> sizes;
    for (const FrameSize& size : kCommonSizes) {
        GUniquePtr<GstStructure> probe(gst_structure_new(gst_structure_get_name(s), "width", G_TYPE_INT, size.width,
                                                         "height", G_TYPE_INT, size.height, nullptr));
        if (gst_structure_can_intersect(s, probe.get())) sizes.push_back(size);
    }
    return sizes;
}

bool SameType(const AM_MEDIA_TYPE& a, const AM_MEDIA_TYPE& b) {
    auto va = ReadVideoInfo(a);
    auto vb = ReadVideoInfo(b);
    return a.subtype == b.subtype && va && vb && va->bmiHeader.biWidth == vb->bmiHeader.biWidth &&
           va->bmiHeader.biHeight == vb->bmiHeader.biHeight;
}

// One type per (format, size) the caps offer, in their order, each at the rate nearest 30/s.
std::vector<AM_MEDIA_TYPE> TypesOf(const GstCaps* caps) {
    std::vector<AM_MEDIA_TYPE> types;
    if (!caps || gst_caps_is_any(caps)) return types;
    for (guint i = 0; i < gst_caps_get_size(caps); ++i) {
        const GstStructure* s = gst_caps_get_structure(caps, i);
        if (!gst_structure_has_name(s, "video/x-raw") && !gst_structure_has_name(s, "image/jpeg")) continue;
        for (const char* format : FormatsOf(s))
            for (const FrameSize& size : SizesOf(s)) {
                GUniquePtr<GstStructure> one(gst_structure_copy(s));
                if (format) gst_structure_set(one.get(), "format", G_TYPE_STRING, format, nullptr);
                gst_structure_set(one.get(), "width", G_TYPE_INT, size.width, "height", G_TYPE_INT, size.height,
                                  nullptr);
                gst_structure_fixate_field_nearest_fraction(one.get(), "framerate", 30, 1);
                AM_MEDIA_TYPE type = StructureToMediaType(one.get());
                bool seen = false;
                for (const AM_MEDIA_TYPE& known : types) seen = seen || SameType(known, type);
                if (!seen) types.push_back(std::move(type));
            }
    }
    return types;
}

bool OffersJpeg(const GstCaps* caps) {
    if (!caps) return false;
    for (guint i = 0; i < gst_caps_get_size(caps); ++i)
        if (gst_structure_has_name(gst_caps_get_structure(caps, i), "image/jpeg")) return true;
    return false;
}

}  // namespace

ComPtr<IBaseFilter> CameraFilter::Create(const DeviceInfo& device) {
    if (!device.device) return {};
    GstElement* source = gst_device_create_element(device.device.get(), "source");
    if (!source) return {};
    return ComPtr<IBaseFilter>::Adopt(new CameraFilter(gst_bin_new(nullptr), device, source));
}

CameraFilter* CameraFilter::From(IUnknown* object) {
    return dynamic_cast<CameraFilter*>(AsGstFilter(object));
}

CameraFilter::CameraFilter(GstElement* bin, const DeviceInfo& device, GstElement* source)
    : GstFilter(bin),
      m_device(device),
      m_source(source),
      m_deviceCaps(AdoptGRef(gst_device_get_caps(device.device.get()))) {
    m_capsFilter = gst_element_factory_make("capsfilter", "capture-size");
    m_converter = gst_element_factory_make("videoconvert", "convert");
    gst_bin_add_many(GST_BIN(bin), m_source, m_capsFilter, m_converter, nullptr);
    if (OffersJpeg(m_deviceCaps.get())) {
        m_jpegDecoder = gst_element_factory_make("jpegdec", "decode");
        if (m_jpegDecoder) gst_bin_add(GST_BIN(bin), m_jpegDecoder);
    }
    gst_element_link_many(m_source, m_capsFilter, m_converter, nullptr);
    auto target = AdoptGRef(gst_element_get_static_pad(m_converter, "src"));
    gst_element_add_pad(bin, gst_ghost_pad_new("src", target.get()));  // sinks the new pad

    m_types = TypesOf(m_deviceCaps.get());
    if (!m_types.empty()) (void)SetCaptureType(m_types.front());
}

HRESULT CameraFilter::GetPages(std::vector<GUID>& pages) {
    pages.clear();
    if (HasSettings()) pages.push_back(CLSID_CameraSettingsPage);
    return S_OK;
}

bool CameraFilter::HasSettings() const {
    if (GST_IS_COLOR_BALANCE(m_source) && gst_color_balance_list_channels(GST_COLOR_BALANCE(m_source))) return true;
    return g_object_class_find_property(G_OBJECT_GET_CLASS(m_source), "pattern") != nullptr;
}

HRESULT CameraFilter::SetCaptureType(const AM_MEDIA_TYPE& type) {
    if (GST_STATE(Element()) >= GST_STATE_PAUSED) return VFW_E_NOT_STOPPED;
    if (type.majortype != MEDIATYPE_Video && type.majortype != GUID_NULL) return VFW_E_TYPE_NOT_ACCEPTED;
    auto vih = ReadVideoInfo(type);
    if (!vih) return VFW_E_TYPE_NOT_ACCEPTED;
    const int width = vih->bmiHeader.biWidth;
    const int height = std::abs(vih->bmiHeader.biHeight);
    if (width <= 0 || height <= 0) return VFW_E_TYPE_NOT_ACCEPTED;

    // The type's own format first; then any raw format, then JPEG through the decoder. A size
    // the device lacks would only fail at PLAYING, so it is refused here.
    auto sized = [&](GstStructure* s) {
        gst_structure_set(s, "width", G_TYPE_INT, width, "height", G_TYPE_INT, height, nullptr);
        return s;
    };
    auto raw = [&](const char* format) {
        GstStructure* s = sized(gst_structure_new("video/x-raw", "pixel-aspect-ratio", GST_TYPE_FRACTION, 1, 1, nullptr));
        if (format) gst_structure_set(s, "format", G_TYPE_STRING, format, nullptr);
        return s;
    };
    std::vector<GstStructure*> candidates;
    if (type.subtype == MEDIASUBTYPE_MJPG && m_jpegDecoder) {
        candidates.push_back(sized(gst_structure_new_empty("image/jpeg")));
    } else if (const char* format = VideoFormatOfSubtype(type.subtype)) {
        candidates.push_back(raw(format));
    }
    candidates.push_back(raw(nullptr));
    if (m_jpegDecoder) candidates.push_back(sized(gst_structure_new_empty("image/jpeg")));

    // Narrowed to what the device lists at that size, so the source gives one of its own
    // formats at one of its own rates.
    GRefPtr<GstCaps> chosen;
    for (GstStructure* s : candidates) {
        auto caps = AdoptGRef(gst_caps_new_full(s, nullptr));  // takes the structure
        if (!chosen && gst_caps_can_intersect(caps.get(), m_deviceCaps.get()))
            chosen = AdoptGRef(gst_caps_intersect(caps.get(), m_deviceCaps.get()));
    }
    if (!chosen) return VFW_E_TYPE_NOT_ACCEPTED;

    // What GetFormat reports: the device's type that the caps pick first.
    for (const AM_MEDIA_TYPE& offered : m_types) {
        auto offeredCaps = AdoptGRef(MediaTypeToCaps(offered));
        // The type's rate went through 100-ns units and back: compare formats and sizes only.
        if (offeredCaps) gst_structure_remove_field(gst_caps_get_structure(offeredCaps.get(), 0), "framerate");
        bool match = offeredCaps && gst_caps_can_intersect(offeredCaps.get(), chosen.get());
        if (match) {
            m_current = offered;
            break;
        }
    }
    Apply(chosen.get());
    return S_OK;
}

void CameraFilter::Apply(GstCaps* caps) {
    bool decode = m_jpegDecoder && gst_structure_has_name(gst_caps_get_structure(caps, 0), "image/jpeg");
    if (decode != m_decoding) {
        if (decode) {
            gst_element_unlink(m_capsFilter, m_converter);
            gst_element_link_many(m_capsFilter, m_jpegDecoder, m_converter, nullptr);
        } else {
            gst_element_unlink_many(m_capsFilter, m_jpegDecoder, m_converter, nullptr);
            gst_element_link(m_capsFilter, m_converter);
        }
        m_decoding = decode;
    }
    g_object_set(m_capsFilter, "caps", caps, nullptr);
}

HRESULT CameraFilter::OnEnterGraph(GstGraph& graph, const std::wstring& name) {
    if (DeviceIsBusy(m_device, m_source)) return E_DEVICE_BUSY;
    HRESULT hr = GstFilter::OnEnterGraph(graph, name);
    if (SUCCEEDED(hr)) m_use = std::make_unique<DeviceUse>(m_device.path);
    return hr;
}

void CameraFilter::OnLeaveGraph() {
    GstFilter::OnLeaveGraph();
    m_use.reset();
}

std::vector<AM_MEDIA_TYPE> CameraFilter::PinMediaTypes(PIN_DIRECTION direction, int index) const {
    if (direction == PINDIR_OUTPUT && index == 0) return m_types;
    return GstFilter::PinMediaTypes(direction, index);
}

HRESULT CameraFilter::PinQueryInterface(PIN_DIRECTION direction, int index, REFIID iid, void** object) {
    if (!object) return E_POINTER;
    if (direction == PINDIR_OUTPUT && index == 0 && iid == IID_IAMStreamConfig) {
        *object = static_cast<IAMStreamConfig*>(new CameraStreamConfig(*this));
        return S_OK;
    }
    return GstFilter::PinQueryInterface(direction, index, iid, object);
}

HRESULT CameraFilter::QueryExtra(REFIID iid, void** object) {
    if (iid == IID_ISpecifyPropertyPages && HasSettings()) {
        AddRef();
        *object = static_cast<ISpecifyPropertyPages*>(this);
        return S_OK;
    }
    return GstFilter::QueryExtra(iid, object);
}

}  // namespace platform::gst
