// The video effect filter as the legacy category binds it: one video input that takes only
// RGB24, one output, and the effect control, whose every call is kept in order.
#pragma once

#include <string>
#include <vector>

#include "SimFilter.h"
#include "platform/media/VideoEffect.h"

namespace platform::sim {

class SimFilterEffect final : public SimFilterWith<IVideoEffectControl> {
public:
    explicit SimFilterEffect(std::shared_ptr<SimMediaContext> context);

    HRESULT SetEffect(int nEffect, int nRed, int nGreen, int nBlue) override;
    HRESULT SetMirror(int nMirror) override;

    bool Accepts(const SimPin& in, const AM_MEDIA_TYPE& type) const override;
    AM_MEDIA_TYPE Converted(const SimPin& in, const AM_MEDIA_TYPE& type) const override;

    // "SetEffect -1 1 0 1", "SetMirror 4", ...
    const std::vector<std::string>& Calls() const { return m_calls; }

private:
    void* FindInterface(REFIID iid) override;
    void Record(std::string call);

    std::vector<std::string> m_calls;
};

}  // namespace platform::sim
