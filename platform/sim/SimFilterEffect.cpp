#include "SimFilterEffect.h"

#include "SimMediaTypes.h"

namespace platform::sim {

SimFilterEffect::SimFilterEffect(std::shared_ptr<SimMediaContext> context)
    : SimFilterWith(std::move(context), SimFilterKind::Effect) {
    AddPin(PINDIR_INPUT, MEDIATYPE_Video);
    AddPin(PINDIR_OUTPUT, MEDIATYPE_Video);
}

void* SimFilterEffect::FindInterface(REFIID iid) {
    if (iid == IID_IVideoEffectControl)
        return m_context->effectControlAvailable ? static_cast<IVideoEffectControl*>(this) : nullptr;
    return SimFilter::FindInterface(iid);
}

HRESULT SimFilterEffect::SetEffect(int nEffect, int nRed, int nGreen, int nBlue) {
    Record("SetEffect " + std::to_string(nEffect) + " " + std::to_string(nRed) + " " + std::to_string(nGreen) + " " +
           std::to_string(nBlue));
    return S_OK;
}

HRESULT SimFilterEffect::SetMirror(int nMirror) {
    Record("SetMirror " + std::to_string(nMirror));
    return S_OK;
}

void SimFilterEffect::Record(std::string call) {
    m_context->Log(call);
    m_calls.push_back(std::move(call));
}

bool SimFilterEffect::Accepts(const SimPin&, const AM_MEDIA_TYPE& type) const {
    return type.majortype == MEDIATYPE_Video && type.subtype == MEDIASUBTYPE_RGB24;
}

AM_MEDIA_TYPE SimFilterEffect::Converted(const SimPin&, const AM_MEDIA_TYPE& type) const { return SimRgb24Type(type); }

}  // namespace platform::sim
