// The sim camera's picture: every pixel tells where it is and which frame it belongs to, so a
// test can check any copy of a frame byte by byte.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/Types.h"

namespace platform::sim {

struct SimBgr {
    uint8_t b = 0;
    uint8_t g = 0;
    uint8_t r = 0;
    friend bool operator==(const SimBgr&, const SimBgr&) = default;
};

// x and y counted from the top-left corner of the picture.
[[nodiscard]] constexpr SimBgr SimFramePixel(int x, int y, uint32_t frame) {
    return {static_cast<uint8_t>(x & 0xFF), static_cast<uint8_t>(y & 0xFF), static_cast<uint8_t>(frame & 0xFF)};
}

// The frame as the grabber delivers it: 24-bit BGR, rows bottom-up, each row padded to a multiple
// of 4 bytes with zeros. `bytes` is reused and resized.
void SimFillFrame(std::vector<uint8_t>& bytes, Size size, uint32_t frame);
// The pixel at (x, y from the top) of such a buffer.
[[nodiscard]] SimBgr SimReadFramePixel(const uint8_t* bytes, Size size, int x, int y);

}  // namespace platform::sim
