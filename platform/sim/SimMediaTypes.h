// Media types the sim's devices and filters offer, and the small conversions between them.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "platform/Result.h"
#include "platform/Types.h"
#include "platform/media/MediaTypes.h"

namespace platform::sim {

// A video type with a FORMAT_VideoInfo block whose bitmap header matches the subtype.
[[nodiscard]] AM_MEDIA_TYPE SimVideoType(const GUID& subtype, Size size);
// The same frame size as 24-bit RGB: what a converter in front of an RGB-only input delivers.
[[nodiscard]] AM_MEDIA_TYPE SimRgb24Type(const AM_MEDIA_TYPE& video);
[[nodiscard]] AM_MEDIA_TYPE SimPcmType();
[[nodiscard]] std::optional<Size> SimVideoSize(const AM_MEDIA_TYPE& type);
// GUID_NULL stands for "any".
[[nodiscard]] bool SimMajorsMatch(const GUID& a, const GUID& b);
// Bytes of one row of a 24-bit bitmap: rows are padded to a multiple of 4.
[[nodiscard]] constexpr uint32_t SimRowStride(int width) { return (static_cast<uint32_t>(width) * 3 + 3) & ~3u; }

[[nodiscard]] std::string SimHex(HRESULT hr);

}  // namespace platform::sim
