#include "EffectFilter.h"

#include "BinChain.h"
#include "videoeffect/VideoEffect.h"

namespace platform::gst {

ComPtr<IBaseFilter> EffectFilter::Create(GstElementFactory* factory) {
    GstElement* effect = gst_element_factory_create(factory, nullptr);
    if (!effect) return nullptr;
    GstElement* bin = MakeChainBin(nullptr, {MakeElement("videoconvert"), effect});
    if (!bin) return nullptr;
    return ComPtr<IBaseFilter>::Adopt(new EffectFilter(bin, effect));
}

HRESULT EffectFilter::QueryExtra(REFIID iid, void** object) {
    if (iid == IID_IVideoEffectControl) {
        GstFilter::AddRef();
        *object = static_cast<IVideoEffectControl*>(this);
        return S_OK;
    }
    return E_NOINTERFACE;
}

HRESULT EffectFilter::SetEffect(int nEffect, int nRed, int nGreen, int nBlue) {
    g_signal_emit_by_name(m_effect, videoeffect::kSignalSetEffect, gint(nEffect), gint(nRed), gint(nGreen), gint(nBlue));
    return S_OK;
}

HRESULT EffectFilter::SetMirror(int nMirror) {
    g_signal_emit_by_name(m_effect, videoeffect::kSignalSetMirror, gint(nMirror));
    return S_OK;
}

}  // namespace platform::gst
