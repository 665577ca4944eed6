// Filters with no interface of their own: Smart Tee (input; outputs 0 capture and 1 preview),
// video renderer, microphone, audio compressor and the other registered filters (one in, one out).
#pragma once

#include "SimFilter.h"

namespace platform::sim {

class SimFilterStock final : public SimFilterWith<> {
public:
    // kind: SmartTee, Renderer, Microphone, Compressor or Generic.
    SimFilterStock(std::shared_ptr<SimMediaContext> context, SimFilterKind kind);

    std::vector<AM_MEDIA_TYPE> OfferedTypes(const SimPin& out) const override;
};

}  // namespace platform::sim
