#include "SampleGrabberFilter.h"

#include <cstring>

#include "BinChain.h"
#include "CapsMediaType.h"

namespace platform::gst {

ComPtr<IBaseFilter> SampleGrabberFilter::Create() {
    GstElement* bgr = MakeElement("capsfilter");
    if (bgr) {
        auto caps = AdoptGRef(gst_caps_from_string("video/x-raw,format=BGR"));
        g_object_set(bgr, "caps", caps.get(), nullptr);
    }
    GstElement* bin = MakeChainBin(nullptr, {MakeElement("videoconvert"), bgr});
    if (!bin) return nullptr;
    return ComPtr<IBaseFilter>::Adopt(new SampleGrabberFilter(bin, bgr));
}

SampleGrabberFilter::SampleGrabberFilter(GstElement* bin, GstElement* bgr) : GstFilter(bin), m_bgr(bgr) {
    gst_video_info_init(&m_info);
    auto src = AdoptGRef(gst_element_get_static_pad(m_bgr, "src"));
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
    auto src = AdoptGRef(gst_element_get_static_pad(m_bgr, "src"));
    auto caps = AdoptGRef(gst_pad_get_current_caps(src.get()));
    if (!caps) {
        // Not streaming yet: what upstream will give, as the conversion turns it into BGR. The
        // camera's caps filter pins the size, so the answer is the size that will flow.
        caps = AdoptGRef(gst_pad_query_caps(src.get(), nullptr));
        if (caps && !gst_caps_is_empty(caps.get()) && !gst_caps_is_any(caps.get()))
            caps = AdoptGRef(gst_caps_fixate(caps.release()));  // takes the caps, gives fixed ones
    }
    if (!caps || gst_caps_is_empty(caps.get()) || gst_caps_is_any(caps.get())) return VFW_E_NOT_CONNECTED;
    type = StructureToMediaType(gst_caps_get_structure(caps.get(), 0));
    return type.majortype == MEDIATYPE_Video ? S_OK : VFW_E_NOT_CONNECTED;
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
            self->m_infoValid = gst_video_info_from_caps(&self->m_info, caps);
        }
        return GST_PAD_PROBE_OK;
    }
    self->Deliver(GST_PAD_PROBE_INFO_BUFFER(info));
    return GST_PAD_PROBE_OK;
}

void SampleGrabberFilter::Deliver(GstBuffer* buffer) {
    ISampleGrabberCB* callback = m_callback.load();
    bool buffering = m_bufferSamples.load();
    if ((!callback && !buffering) || !m_infoValid) return;
    if (m_oneShot && m_shotTaken.exchange(true)) return;
    double time = GST_BUFFER_PTS_IS_VALID(buffer) ? double(GST_BUFFER_PTS(buffer)) / GST_SECOND : 0.0;
    if (callback && m_which == 0) {
        callback->SampleCB(time, nullptr);
        if (!buffering) return;
    }

    GstVideoFrame frame;
    if (!gst_video_frame_map(&frame, &m_info, buffer, GST_MAP_READ)) return;
    const int width = GST_VIDEO_FRAME_WIDTH(&frame);
    const int height = GST_VIDEO_FRAME_HEIGHT(&frame);
    const int srcStride = GST_VIDEO_FRAME_PLANE_STRIDE(&frame, 0);
    const auto* src = static_cast<const uint8_t*>(GST_VIDEO_FRAME_PLANE_DATA(&frame, 0));
    const size_t rowBytes = size_t(width) * 3;
    const size_t dibStride = (rowBytes + 3) & ~size_t(3);
    const size_t length = dibStride * size_t(height);
    if (m_flipped.size() < length) m_flipped.resize(length);  // grown, never shrunk: reused
    for (int row = 0; row < height; ++row) {
        uint8_t* dst = m_flipped.data() + size_t(height - 1 - row) * dibStride;
        std::memcpy(dst, src + size_t(row) * size_t(srcStride), rowBytes);
        std::memset(dst + rowBytes, 0, dibStride - rowBytes);
    }
    gst_video_frame_unmap(&frame);

    if (buffering) {
        GST_OBJECT_LOCK(Element());
        m_buffered.assign(m_flipped.begin(), m_flipped.begin() + std::ptrdiff_t(length));
        GST_OBJECT_UNLOCK(Element());
    }
    if (callback && m_which == 1) callback->BufferCB(time, m_flipped.data(), long(length));
}

}  // namespace platform::gst
