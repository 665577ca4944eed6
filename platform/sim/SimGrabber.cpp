#include "SimGrabber.h"

#include "SimGrabberFrame.h"
#include "SimMediaTypes.h"

namespace platform::sim {

SimGrabber::SimGrabber(std::shared_ptr<SimMediaContext> context)
    : SimFilterWith(std::move(context), SimFilterKind::Grabber) {
    AddPin(PINDIR_INPUT);
    AddPin(PINDIR_OUTPUT);
}

void* SimGrabber::FindInterface(REFIID iid) {
    if (iid == IID_ISampleGrabber) return static_cast<ISampleGrabber*>(this);
    return SimFilter::FindInterface(iid);
}

HRESULT SimGrabber::SetOneShot(bool oneShot) {
    m_oneShot = oneShot;
    return S_OK;
}

HRESULT SimGrabber::SetMediaType(const AM_MEDIA_TYPE& type) {
    if (const HRESULT hr = m_context->Check("SetMediaType"); hr != S_OK) return hr;
    // Only the major type and subtype count; the format is what the connection brings.
    AM_MEDIA_TYPE kept;
    kept.majortype = type.majortype;
    kept.subtype = type.subtype;
    m_requested = kept;
    return S_OK;
}

HRESULT SimGrabber::GetConnectedMediaType(AM_MEDIA_TYPE& type) {
    if (const HRESULT hr = m_context->Check("GetConnectedMediaType"); hr != S_OK) return hr;
    const SimPin* in = Pin(PINDIR_INPUT, 0);
    if (!in->ConnectionType()) return VFW_E_NOT_CONNECTED;
    type = *in->ConnectionType();
    return S_OK;
}

HRESULT SimGrabber::SetBufferSamples(bool buffer) {
    m_bufferSamples = buffer;
    return S_OK;
}

HRESULT SimGrabber::SetCallback(ISampleGrabberCB* callback, long which) {
    if (const HRESULT hr = m_context->Check("SetCallback"); hr != S_OK) return hr;
    if (which != 0 && which != 1) return E_INVALIDARG;
    std::lock_guard lock(m_mutex);
    m_callback = callback;
    m_which = which;
    return S_OK;
}

long SimGrabber::CallbackKind() const {
    std::lock_guard lock(m_mutex);
    return m_which;
}

bool SimGrabber::Accepts(const SimPin& in, const AM_MEDIA_TYPE& type) const {
    if (!m_requested) return SimFilter::Accepts(in, type);
    return SimMajorsMatch(m_requested->majortype, type.majortype) &&
           (m_requested->subtype == GUID_NULL || m_requested->subtype == type.subtype);
}

AM_MEDIA_TYPE SimGrabber::Converted(const SimPin&, const AM_MEDIA_TYPE& type) const {
    if (m_requested && m_requested->subtype == MEDIASUBTYPE_RGB24 && type.majortype == MEDIATYPE_Video)
        return SimRgb24Type(type);
    return type;
}

std::optional<Size> SimGrabber::FrameSize() const {
    const SimPin* in = Pin(PINDIR_INPUT, 0);
    if (!in->ConnectionType()) return std::nullopt;
    return SimVideoSize(*in->ConnectionType());
}

bool SimGrabber::Deliver(uint32_t frame, Size size, std::vector<uint8_t>& scratch) {
    ISampleGrabberCB* callback;
    long which;
    {
        std::lock_guard lock(m_mutex);
        callback = m_callback;
        which = m_which;
    }
    if (!callback) return false;
    const double sampleTime = frame / 30.0;
    if (which == 1) {
        if (!callback->WantsBuffer()) return false;
        SimFillFrame(scratch, size, frame);
        m_framesMade.fetch_add(1);
        (void)callback->BufferCB(sampleTime, scratch.data(), static_cast<long>(scratch.size()));
    } else {
        (void)callback->SampleCB(sampleTime, nullptr);
    }
    m_callbacks.fetch_add(1);
    return true;
}

}  // namespace platform::sim
