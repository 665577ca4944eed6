// The video effect filter: a conversion into the effect element (which takes packed RGB only),
// with IVideoEffectControl mapped to the element's action signals.
#pragma once

#include "GstFilter.h"
#include "platform/media/VideoEffect.h"

namespace platform::gst {

class EffectFilter final : public GstFilter, public IVideoEffectControl {
public:
    // nullptr when the factory cannot make an element.
    [[nodiscard]] static ComPtr<IBaseFilter> Create(GstElementFactory* factory);

    HRESULT QueryInterface(REFIID iid, void** object) override { return GstFilter::QueryInterface(iid, object); }
    uint32_t AddRef() override { return GstFilter::AddRef(); }
    uint32_t Release() override { return GstFilter::Release(); }

    HRESULT SetEffect(int nEffect, int nRed, int nGreen, int nBlue) override;
    HRESULT SetMirror(int nMirror) override;

    GstElement* Effect() const { return m_effect; }

protected:
    HRESULT QueryExtra(REFIID iid, void** object) override;

private:
    EffectFilter(GstElement* bin, GstElement* effect) : GstFilter(bin), m_effect(effect) {}
    ~EffectFilter() override = default;

    GstElement* m_effect;  // owned by the bin
};

}  // namespace platform::gst
