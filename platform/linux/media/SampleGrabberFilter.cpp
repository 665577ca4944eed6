#include "SampleGrabberFilter.h"

#include <cstring>

#include "BinChain.h"
#include "CapsMediaType.h"

namespace platform::gst {

namespace {

// The formats passed on as they come: packed 8-bit RGB, from which a frame becomes BGR by picking
// its channels. One structure with a list, so that downstream's order decides which one flows
// (the renderer's own format: no conversion there either); BGR, the callback's, is named first.
constexpr char kPassedFormats[] = "video/x-raw, format=(string){ BGR, BGRx, BGRA, RGB, RGBx, RGBA, xRGB, xBGR, ARGB, ABGR }";

}  // namespace

ComPtr<IBaseFilter> SampleGrabberFilter::Create() {
    GstElement* formats = MakeElement("capsfilter");
    if (formats) {
        auto caps = AdoptGRef(gst_caps_from_string(kPassedFormats));
        g_object_set(formats, "caps", caps.get(), nullptr);
    }
    // The converter only works when the input is none of those formats.
    GstElement* bin = MakeChainBin(nullptr, {MakeElement("videoconvert"), formats});
    if (!bin) return nullptr;
    return ComPtr<IBaseFilter>::Adopt(new SampleGrabberFilter(bin, formats));
}

SampleGrabberFilter::SampleGrabberFilter(GstElement* bin, GstElement* formats) : GstFilter(bin), m_formats(formats) {
    gst_video_info_init(&m_info);
    auto src = AdoptGRef(gst_element_get_static_pad(m_formats, "src"));
    gst_pad_add_probe(src.get(), GstPadProbeType(GST_PAD_PROBE_TYPE_BUFFER | GST_PAD_PROBE_TYPE_EVENT_DOWNSTREAM), &OnData,
                      this, nullptr);
}

HRESULT SampleGrabberFilter::QueryExtra(REFIID iid, void** object) {
    if (iid == IID_ISampleGrabber) {
        GstFilter::AddRef();
        *object = static_cast<ISampleGrabber*>(this);
        return S_OK;
    }
    return E_NOINTERFACE;
}

HRESULT SampleGrabberFilter::SetOneShot(bool oneShot) {
    m_shotTaken = false;
    m_oneShot = oneShot;
    return S_OK;
}

HRESULT SampleGrabberFilter::SetMediaType(const AM_MEDIA_TYPE& type) {
    // The grabber always delivers 24-bit BGR; it says so by refusing anything else.
    if (type.majortype != MEDIATYPE_Video || type.subtype != MEDIASUBTYPE_RGB24) return VFW_E_TYPE_NOT_ACCEPTED;
    return S_OK;
}

HRESULT SampleGrabberFilter::GetConnectedMediaType(AM_MEDIA_TYPE& type) {
    GstPad* input = PinPad(PINDIR_INPUT, 0);
    if (!input || !gst_pad_is_linked(input)) return VFW_E_NOT_CONNECTED;
    auto src = AdoptGRef(gst_element_get_static_pad(m_formats, "src"));
    auto caps = AdoptGRef(gst_pad_get_current_caps(src.get()));
    if (!caps) {
        // Not streaming yet: what upstream will give. The camera's caps filter pins the size,
        // so the answer is the size that will flow.
        caps = AdoptGRef(gst_pad_query_caps(src.get(), nullptr));
        if (caps && !gst_caps_is_empty(caps.get()) && !gst_caps_is_any(caps.get()))
            caps = AdoptGRef(gst_caps_fixate(caps.release()));  // takes the caps, gives fixed ones
    }
    if (!caps || gst_caps_is_empty(caps.get()) || gst_caps_is_any(caps.get())) return VFW_E_NOT_CONNECTED;
    // The callback gets BGR, whichever packed format passes through.
    GUniquePtr<GstStructure> bgr(gst_structure_copy(gst_caps_get_structure(caps.get(), 0)));
    gst_structure_set(bgr.get(), "format", G_TYPE_STRING, "BGR", nullptr);
    type = StructureToMediaType(bgr.get());
    return type.majortype == MEDIATYPE_Video ? S_OK : VFW_E_NOT_CONNECTED;
}

std::vector<AM_MEDIA_TYPE> SampleGrabberFilter::PinMediaTypes(PIN_DIRECTION direction, int index) const {
    GstPad* pad = PinPad(direction, index);
    if (direction != PINDIR_OUTPUT || !pad) return GstFilter::PinMediaTypes(direction, index);
    auto caps = AdoptGRef(gst_pad_get_current_caps(pad));
    if (!caps) caps = AdoptGRef(gst_pad_query_caps(pad, nullptr));
    if (!caps) return {};
    caps = AdoptGRef(gst_caps_normalize(caps.release()));  // one structure, so one type, per format
    return CapsToMediaTypes(caps.get());
}

HRESULT SampleGrabberFilter::SetBufferSamples(bool buffer) {
    m_bufferSamples = buffer;
    return S_OK;
}

HRESULT SampleGrabberFilter::SetCallback(ISampleGrabberCB* callback, long which) {
    if (which != 0 && which != 1) return E_INVALIDARG;
    m_which = which;
    m_callback = callback;
    return S_OK;
}

std::vector<uint8_t> SampleGrabberFilter::BufferedSample() const {
    GST_OBJECT_LOCK(Element());
    std::vector<uint8_t> copy = m_buffered;
    GST_OBJECT_UNLOCK(Element());
    return copy;
}

GstPadProbeReturn SampleGrabberFilter::OnData(GstPad*, GstPadProbeInfo* info, gpointer data) {
    auto* self = static_cast<SampleGrabberFilter*>(data);
    if (GST_PAD_PROBE_INFO_TYPE(info) & GST_PAD_PROBE_TYPE_EVENT_DOWNSTREAM) {
        GstEvent* event = GST_PAD_PROBE_INFO_EVENT(info);
        if (GST_EVENT_TYPE(event) == GST_EVENT_CAPS) {
            GstCaps* caps = nullptr;
            gst_event_parse_caps(event, &caps);
            self->SetFormat(caps);
        }
        return GST_PAD_PROBE_OK;
    }
    self->Deliver(GST_PAD_PROBE_INFO_BUFFER(info));
    return GST_PAD_PROBE_OK;
}

void SampleGrabberFilter::SetFormat(GstCaps* caps) {
    m_infoValid = gst_video_info_from_caps(&m_info, caps);
    if (!m_infoValid) return;
    const GstVideoFormatInfo* f = m_info.finfo;
    const bool packedRgb = GST_VIDEO_FORMAT_INFO_IS_RGB(f) && GST_VIDEO_FORMAT_INFO_N_PLANES(f) == 1 &&
                           GST_VIDEO_FORMAT_INFO_DEPTH(f, 0) == 8 && !GST_VIDEO_FORMAT_INFO_HAS_PALETTE(f) &&
                           (GST_VIDEO_FORMAT_INFO_PSTRIDE(f, 0) == 3 || GST_VIDEO_FORMAT_INFO_PSTRIDE(f, 0) == 4);
    m_infoValid = packedRgb;
    m_pixelStride = GST_VIDEO_FORMAT_INFO_PSTRIDE(f, 0);
    m_offsetB = int(GST_VIDEO_FORMAT_INFO_POFFSET(f, GST_VIDEO_COMP_B));
    m_offsetG = int(GST_VIDEO_FORMAT_INFO_POFFSET(f, GST_VIDEO_COMP_G));
    m_offsetR = int(GST_VIDEO_FORMAT_INFO_POFFSET(f, GST_VIDEO_COMP_R));
}

void SampleGrabberFilter::Deliver(GstBuffer* buffer) {
    ISampleGrabberCB* callback = m_callback.load();
    const bool buffering = m_bufferSamples.load();
    const long which = m_which.load();
    if (!m_infoValid) return;
    const bool sample = callback && which == 0;
    // Asked before anything is done with the frame: a frame nobody wants costs this question.
    const bool wanted = callback && which == 1 && callback->WantsBuffer();
    if (!sample && !wanted && !buffering) return;
    if (m_oneShot && m_shotTaken.exchange(true)) return;
    double time = GST_BUFFER_PTS_IS_VALID(buffer) ? double(GST_BUFFER_PTS(buffer)) / GST_SECOND : 0.0;
    if (sample) (void)callback->SampleCB(time, nullptr);  // the grabber never looks at what a callback answers
    if (!wanted && !buffering) return;

    const size_t length = MakeBgr(buffer);
    if (length == 0) return;
    if (buffering) {
        GST_OBJECT_LOCK(Element());
        m_buffered.assign(m_flipped.begin(), m_flipped.begin() + std::ptrdiff_t(length));
        GST_OBJECT_UNLOCK(Element());
    }
    if (wanted) (void)callback->BufferCB(time, m_flipped.data(), long(length));
}

size_t SampleGrabberFilter::MakeBgr(GstBuffer* buffer) {
    GstVideoFrame frame;
    if (!gst_video_frame_map(&frame, &m_info, buffer, GST_MAP_READ)) return 0;
    const int width = GST_VIDEO_FRAME_WIDTH(&frame);
    const int height = GST_VIDEO_FRAME_HEIGHT(&frame);
    const int srcStride = GST_VIDEO_FRAME_PLANE_STRIDE(&frame, 0);
    const auto* src = static_cast<const uint8_t*>(GST_VIDEO_FRAME_PLANE_DATA(&frame, 0));
    const size_t rowBytes = size_t(width) * 3;
    const size_t dibStride = (rowBytes + 3) & ~size_t(3);
    const size_t length = dibStride * size_t(height);
    if (m_flipped.size() < length) m_flipped.resize(length);  // grown, never shrunk: reused
    const bool bgr = m_pixelStride == 3 && m_offsetB == 0 && m_offsetG == 1 && m_offsetR == 2;
    for (int row = 0; row < height; ++row) {
        const uint8_t* in = src + size_t(row) * size_t(srcStride);
        uint8_t* out = m_flipped.data() + size_t(height - 1 - row) * dibStride;
        if (bgr) {
            std::memcpy(out, in, rowBytes);
        } else {
            for (int x = 0; x < width; ++x, in += m_pixelStride, out += 3) {
                out[0] = in[m_offsetB];
                out[1] = in[m_offsetG];
                out[2] = in[m_offsetR];
            }
            out -= rowBytes;
        }
        std::memset(out + rowBytes, 0, dibStride - rowBytes);
    }
    gst_video_frame_unmap(&frame);
    m_framesMade.fetch_add(1);
    return length;
}

}  // namespace platform::gst
