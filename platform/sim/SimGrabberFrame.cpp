#include "SimGrabberFrame.h"

#include <cstdlib>

#include "SimMediaTypes.h"

namespace platform::sim {

void SimFillFrame(std::vector<uint8_t>& bytes, Size size, uint32_t frame) {
    const uint32_t stride = SimRowStride(size.cx);
    const int rows = std::abs(size.cy);
    bytes.assign(static_cast<size_t>(stride) * rows, 0);
    for (int y = 0; y < rows; ++y) {
        uint8_t* row = bytes.data() + static_cast<size_t>(rows - 1 - y) * stride;
        for (int x = 0; x < size.cx; ++x) {
            const SimBgr p = SimFramePixel(x, y, frame);
            row[3 * x] = p.b;
            row[3 * x + 1] = p.g;
            row[3 * x + 2] = p.r;
        }
    }
}

SimBgr SimReadFramePixel(const uint8_t* bytes, Size size, int x, int y) {
    const int rows = std::abs(size.cy);
    const uint8_t* p = bytes + static_cast<size_t>(rows - 1 - y) * SimRowStride(size.cx) + 3 * static_cast<size_t>(x);
    return {p[0], p[1], p[2]};
}

}  // namespace platform::sim
