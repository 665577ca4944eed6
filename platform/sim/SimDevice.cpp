#include "SimDevice.h"

#include "SimMediaTypes.h"

namespace platform::sim {

std::vector<AM_MEDIA_TYPE> SimCamera::MediaTypes() const {
    std::vector<AM_MEDIA_TYPE> types;
    for (const Size& size : sizes) types.push_back(SimVideoType(rgb24 ? MEDIASUBTYPE_RGB24 : MEDIASUBTYPE_YUY2, size));
    for (const Size& size : extraSizes) types.push_back(SimVideoType(extraSubtype, size));
    return types;
}

std::optional<Size> SimCamera::LastFormatSize() const {
    for (auto it = setFormatCalls.rbegin(); it != setFormatCalls.rend(); ++it)
        if (SUCCEEDED(it->result)) return SimVideoSize(it->type);
    return std::nullopt;
}

}  // namespace platform::sim
