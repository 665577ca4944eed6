// Enumerators over a snapshot: the pins of a filter, the media types of a pin.
#pragma once

#include <vector>

#include "platform/media/Filters.h"

namespace platform::gst {

ComPtr<IEnumPins> CreatePinEnumerator(std::vector<ComPtr<IPin>> pins);
ComPtr<IEnumMediaTypes> CreateMediaTypeEnumerator(std::vector<AM_MEDIA_TYPE> types);

}  // namespace platform::gst
