#include "SimFilterStock.h"

#include "SimMediaTypes.h"

namespace platform::sim {

SimFilterStock::SimFilterStock(std::shared_ptr<SimMediaContext> context, SimFilterKind kind)
    : SimFilterWith(std::move(context), kind) {
    switch (kind) {
    case SimFilterKind::SmartTee:
        AddPin(PINDIR_INPUT);
        AddPin(PINDIR_OUTPUT);  // capture
        AddPin(PINDIR_OUTPUT);  // preview
        break;
    case SimFilterKind::Renderer:
        AddPin(PINDIR_INPUT, MEDIATYPE_Video);
        break;
    case SimFilterKind::Microphone:
        AddPin(PINDIR_OUTPUT, MEDIATYPE_Audio);
        break;
    case SimFilterKind::Compressor:
        AddPin(PINDIR_INPUT, MEDIATYPE_Audio);
        AddPin(PINDIR_OUTPUT, MEDIATYPE_Audio);
        break;
    default:
        AddPin(PINDIR_INPUT);
        AddPin(PINDIR_OUTPUT);
        break;
    }
}

std::vector<AM_MEDIA_TYPE> SimFilterStock::OfferedTypes(const SimPin& out) const {
    if (Kind() == SimFilterKind::Microphone) return {SimPcmType()};
    return SimFilter::OfferedTypes(out);
}

}  // namespace platform::sim
