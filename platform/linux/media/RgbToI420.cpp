#include "RgbToI420.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstddef>
#include <cstring>

namespace platform::gst {
namespace {

constexpr int kLumaBits = 16;
// Chroma weights apply to sums of four pixels: two more bits for the mean.
constexpr int kChromaBits = kLumaBits + 2;

int32_t Fixed(double weight) { return int32_t(std::lround(weight * (1 << kLumaBits))); }

int ShiftOf(int byte) { return 8 * (std::endian::native == std::endian::little ? byte : 3 - byte); }

// The loops below are plain so that the vectoriser takes them: whole 32-bit loads, shifts by a
// loop-invariant count, 32-bit arithmetic. Each is inlined into both compilations of the
// conversion.
struct Sums {
    int32_t r, g, b;
};

[[gnu::always_inline]] inline uint32_t Load(const uint8_t* p) {
    uint32_t word;
    std::memcpy(&word, p, sizeof word);
    return word;
}

[[gnu::always_inline]] inline int32_t Channel(uint32_t word, int shift) { return int32_t((word >> shift) & 0xffu); }

[[gnu::always_inline]] inline uint8_t Clamp(int32_t value) { return uint8_t(std::clamp(value, 0, 255)); }

[[gnu::always_inline]] inline void LumaRow(const uint8_t* __restrict in, uint8_t* __restrict out, int width,
                                           const YuvWeights& w) {
    const int sr = w.shiftR, sg = w.shiftG, sb = w.shiftB;
    const int32_t cr = w.yR, cg = w.yG, cb = w.yB, bias = w.yBias;
    for (int x = 0; x < width; ++x) {
        const uint32_t p = Load(in + 4 * x);
        out[x] = Clamp((Channel(p, sr) * cr + Channel(p, sg) * cg + Channel(p, sb) * cb + bias) >> kLumaBits);
    }
}

[[gnu::always_inline]] inline Sums BlockSums(uint32_t a, uint32_t b, uint32_t c, uint32_t d, const YuvWeights& w) {
    const int sr = w.shiftR, sg = w.shiftG, sb = w.shiftB;
    return {Channel(a, sr) + Channel(b, sr) + Channel(c, sr) + Channel(d, sr),
            Channel(a, sg) + Channel(b, sg) + Channel(c, sg) + Channel(d, sg),
            Channel(a, sb) + Channel(b, sb) + Channel(c, sb) + Channel(d, sb)};
}

[[gnu::always_inline]] inline void StoreChroma(Sums s, uint8_t* u, uint8_t* v, const YuvWeights& w) {
    *u = Clamp((s.r * w.uR + s.g * w.uG + s.b * w.uB + w.cBias) >> kChromaBits);
    *v = Clamp((s.r * w.vR + s.g * w.vG + s.b * w.vB + w.cBias) >> kChromaBits);
}

// One chroma row from two picture rows (the same row twice for an odd last row).
[[gnu::always_inline]] inline void ChromaRow(const uint8_t* __restrict top, const uint8_t* __restrict bottom,
                                             uint8_t* __restrict u, uint8_t* __restrict v, int width,
                                             const YuvWeights& w) {
    const int pairs = width / 2;
    for (int x = 0; x < pairs; ++x) {
        const Sums s = BlockSums(Load(top + 8 * x), Load(top + 8 * x + 4), Load(bottom + 8 * x),
                                 Load(bottom + 8 * x + 4), w);
        StoreChroma(s, u + x, v + x, w);
    }
    if (width % 2) {
        const uint32_t a = Load(top + 8 * pairs), c = Load(bottom + 8 * pairs);
        StoreChroma(BlockSums(a, a, c, c, w), u + pairs, v + pairs, w);
    }
}

}  // namespace

YuvWeights MakeYuvWeights(const YuvMatrix& m, int byteR, int byteG, int byteB) {
    YuvWeights w;
    w.shiftR = ShiftOf(byteR);
    w.shiftG = ShiftOf(byteG);
    w.shiftB = ShiftOf(byteB);
    const double ys = m.yExcursion / 255.0;
    // Green takes what rounding left of the others, so white and grey land on their exact levels.
    w.yR = Fixed(m.kr * ys);
    w.yB = Fixed(m.kb * ys);
    w.yG = Fixed(ys) - w.yR - w.yB;
    w.yBias = (m.yOffset << kLumaBits) + (1 << (kLumaBits - 1));
    const double cs = m.cExcursion / 255.0;
    w.uR = Fixed(-m.kr / (2 * (1 - m.kb)) * cs);
    w.uB = Fixed(0.5 * cs);
    w.uG = -w.uR - w.uB;
    w.vR = Fixed(0.5 * cs);
    w.vB = Fixed(-m.kb / (2 * (1 - m.kr)) * cs);
    w.vG = -w.vR - w.vB;
    w.cBias = (m.cOffset << kChromaBits) + (1 << (kChromaBits - 1));
    return w;
}

// Compiled twice, the processor choosing at load time: AVX2 does eight pixels an instruction.
[[gnu::target_clones("avx2", "default")]] void ConvertRgbToI420(const RgbPicture& in, const I420Picture& out,
                                                                const YuvWeights& w) {
    for (int y = 0; y < in.height; ++y)
        LumaRow(in.data + std::ptrdiff_t(y) * in.stride, out.y + std::ptrdiff_t(y) * out.yStride, in.width, w);
    for (int y = 0; y < in.height; y += 2) {
        const uint8_t* top = in.data + std::ptrdiff_t(y) * in.stride;
        const uint8_t* bottom = y + 1 < in.height ? top + in.stride : top;
        ChromaRow(top, bottom, out.u + std::ptrdiff_t(y / 2) * out.uStride, out.v + std::ptrdiff_t(y / 2) * out.vStride,
                  in.width, w);
    }
}

}  // namespace platform::gst
