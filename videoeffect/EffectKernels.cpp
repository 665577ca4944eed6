#include "EffectKernels.h"

#include <algorithm>
#include <bit>
#include <cstdlib>
#include <cstring>
#include <string_view>

#include "platform/media/EffectCodes.h"

#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>
#endif

namespace videoeffect {

bool EffectParams::IsIdentity() const {
    if (mirrorHorizontal || mirrorVertical) return false;
    switch (tone) {
    case ToneKind::None:
        return true;
    case ToneKind::ChannelMask:
        return keepRed && keepGreen && keepBlue;
    case ToneKind::BlackWhite:
    case ToneKind::Sepia:
        return false;
    }
    return false;
}

EffectParams ParamsFromCodes(int tone, int red, int green, int blue, int mirror) {
    EffectParams p{};
    switch (tone) {
    case effect::kToneChannelMask: p.tone = ToneKind::ChannelMask; break;
    case effect::kToneBlackWhite: p.tone = ToneKind::BlackWhite; break;
    case effect::kToneSepia: p.tone = ToneKind::Sepia; break;
    default: p.tone = ToneKind::None; break;
    }
    p.keepRed = red != 0;
    p.keepGreen = green != 0;
    p.keepBlue = blue != 0;
    p.mirrorHorizontal = mirror == effect::kMirrorBoth || mirror == effect::kMirrorHorizontal;
    p.mirrorVertical = mirror == effect::kMirrorBoth || mirror == effect::kMirrorVertical;
    return p;
}

namespace {

// Every pixel is handled as one 32-bit word with the colour bytes at known shifts, so one
// operation serves all packed layouts and the compiler sees a uniform loop it can vectorise.
struct Shifts {
    unsigned r, g, b;
};

// ITU-R BT.601 luma weights in 1/128 (0.297, 0.586, 0.117); they sum to 128, so white stays 255.
// Seven bits, not eight, so that each weight fits a signed byte for the AVX2 multiply-add.
constexpr std::uint32_t kLumaR = 38, kLumaG = 75, kLumaB = 15, kLumaShift = 7;
// Sepia as the classic tint of the grey value: red lifted by twice the depth, green by the depth,
// blue lowered by it, each clamped. Shadows turn dark brown, highlights cream. Additions rather
// than factors, so that it costs little more than black and white.
constexpr std::uint32_t kSepiaDepth = 20, kSepiaRedLift = 2 * kSepiaDepth, kSepiaGreenLift = kSepiaDepth,
                        kSepiaBlueDrop = kSepiaDepth;

[[gnu::always_inline]] inline std::uint32_t Luma(std::uint32_t p, Shifts s) {
    return (((p >> s.r) & 0xFFu) * kLumaR + ((p >> s.g) & 0xFFu) * kLumaG + ((p >> s.b) & 0xFFu) * kLumaB) >>
           kLumaShift;
}

std::uint32_t ColourBits(Shifts s) { return (0xFFu << s.r) | (0xFFu << s.g) | (0xFFu << s.b); }

struct CopyOp {
    [[gnu::always_inline]] std::uint32_t operator()(std::uint32_t p) const { return p; }
};

struct MaskOp {
    std::uint32_t keep;
    [[gnu::always_inline]] std::uint32_t operator()(std::uint32_t p) const { return p & keep; }
};

struct GreyOp {
    Shifts s;
    std::uint32_t rest;    // bits that are not colour
    std::uint32_t spread;  // a 1 in the lowest bit of each colour byte
    [[gnu::always_inline]] std::uint32_t operator()(std::uint32_t p) const { return (p & rest) | Luma(p, s) * spread; }
};

struct SepiaOp {
    Shifts s;
    std::uint32_t rest;
    [[gnu::always_inline]] std::uint32_t operator()(std::uint32_t p) const {
        const std::uint32_t y = Luma(p, s);
        const std::uint32_t r = std::min(255u, y + kSepiaRedLift);
        const std::uint32_t g = std::min(255u, y + kSepiaGreenLift);
        const std::uint32_t b = y > kSepiaBlueDrop ? y - kSepiaBlueDrop : 0;
        return (p & rest) | (r << s.r) | (g << s.g) | (b << s.b);
    }
};

// Loads and stores go through memcpy: frame memory carries no alignment promise, and the
// compiler turns them into plain (vector) moves.
template <class Op, bool kReverse>
[[gnu::always_inline]] inline void Row4(const std::uint8_t* __restrict s, std::uint8_t* __restrict d, int w, Op op) {
    for (int x = 0; x < w; ++x) {
        std::uint32_t p;
        std::memcpy(&p, s + 4 * x, 4);
        p = op(p);
        std::memcpy(d + 4 * (kReverse ? w - 1 - x : x), &p, 4);
    }
}

template <class Op, bool kReverse>
[[gnu::always_inline]] inline void Row3(const std::uint8_t* __restrict s, std::uint8_t* __restrict d, int w, Op op) {
    for (int x = 0; x < w; ++x) {
        const std::uint8_t* q = s + 3 * x;
        std::uint32_t p = std::uint32_t{q[0]} | std::uint32_t{q[1]} << 8 | std::uint32_t{q[2]} << 16;
        p = op(p);
        std::uint8_t* t = d + 3 * (kReverse ? w - 1 - x : x);
        t[0] = static_cast<std::uint8_t>(p);
        t[1] = static_cast<std::uint8_t>(p >> 8);
        t[2] = static_cast<std::uint8_t>(p >> 16);
    }
}

// The source is always read front to back, row by row, and mirroring happens on the writing
// side. Measured: a frame goes fastest when its reads run through memory without jumping back at
// every row; writes that do are much cheaper than reads that do.
struct Job {
    ConstPlane src;
    Plane dst;
    int width, height, bytesPerPixel;
    bool reverseRows;  // vertical mirror: input row y goes to output row height-1-y

    const std::uint8_t* SourceRow(int y) const { return src.data + src.stride * y; }
    std::uint8_t* TargetRow(int y) const { return dst.data + dst.stride * (reverseRows ? height - 1 - y : y); }
};

template <class Op, bool kReverse>
[[gnu::always_inline]] inline void RunRows(const Job& job, Op op) {
    for (int y = 0; y < job.height; ++y) {
        if (job.bytesPerPixel == 4) {
            Row4<Op, kReverse>(job.SourceRow(y), job.TargetRow(y), job.width, op);
        } else {
            Row3<Op, kReverse>(job.SourceRow(y), job.TargetRow(y), job.width, op);
        }
    }
}

template <class Op>
[[gnu::always_inline]] inline void Run(const Job& job, bool reverseColumns, Op op) {
    if (reverseColumns) {
        RunRows<Op, true>(job, op);
    } else {
        RunRows<Op, false>(job, op);
    }
}

#if defined(__x86_64__) || defined(__i386__)
// Grey and sepia by hand for AVX2: the generic loop spends four 32-bit multiplies per pixel,
// these spend two multiply-adds and a shuffle per eight pixels (sepia two saturating byte
// additions more), which keeps the tones near the cost of a copy. Only for 4-byte pixels, which
// is what cameras deliver.
struct ToneVectors {
    __m256i weights;    // luma weight of the channel in each byte (signed bytes)
    __m256i rest;       // bytes that are not colour
    __m256i grey;       // shuffle: byte 1 of each pixel's sum (its luma) into every colour byte
    __m256i sepiaLift;  // added to red and green for sepia
    __m256i sepiaDrop;  // taken from blue for sepia
    __m256i reversed;   // permutation that reverses eight pixels
};

[[gnu::target("avx2")]] ToneVectors MakeToneVectors(Shifts s) {
    const int offset[3] = {static_cast<int>(s.r / 8), static_cast<int>(s.g / 8), static_cast<int>(s.b / 8)};
    const std::uint8_t luma[3] = {kLumaR, kLumaG, kLumaB};
    const std::uint8_t lift[3] = {kSepiaRedLift, kSepiaGreenLift, 0};
    const std::uint8_t drop[3] = {0, 0, kSepiaBlueDrop};
    alignas(32) std::uint8_t weights[32] = {}, lifts[32] = {}, drops[32] = {}, grey[32];
    std::uint32_t rest = 0xFFFFFFFFu;
    for (int c = 0; c < 3; ++c) {
        rest &= ~(0xFFu << (8 * offset[c]));
        for (int pixel = 0; pixel < 8; ++pixel) {
            weights[4 * pixel + offset[c]] = luma[c];
            lifts[4 * pixel + offset[c]] = lift[c];
            drops[4 * pixel + offset[c]] = drop[c];
        }
    }
    for (int i = 0; i < 32; ++i) {
        const bool colour = (rest >> (8 * (i % 4)) & 0xFFu) == 0;
        grey[i] = colour ? static_cast<std::uint8_t>(4 * ((i % 16) / 4) + 1) : 0x80;
    }
    const auto vector = [](const std::uint8_t* bytes) { return reinterpret_cast<const __m256i*>(bytes); };
    return {_mm256_load_si256(vector(weights)), _mm256_set1_epi32(static_cast<int>(rest)),
            _mm256_load_si256(vector(grey)),    _mm256_load_si256(vector(lifts)),
            _mm256_load_si256(vector(drops)),   _mm256_setr_epi32(7, 6, 5, 4, 3, 2, 1, 0)};
}

template <bool kSepia, bool kReverse, class Op>
[[gnu::target("avx2")]] void ToneRowAvx2(const std::uint8_t* __restrict s, std::uint8_t* __restrict d, int w,
                                         const ToneVectors& v, Op op) {
    const __m256i twos = _mm256_set1_epi16(2);
    int x = 0;
    for (; x + 8 <= w; x += 8) {
        const __m256i p = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(s + 4 * x));
        // 2 * (38R + 75G + 15B) per pixel, in pixel order: its byte 1 is the luma.
        const __m256i sum = _mm256_madd_epi16(_mm256_maddubs_epi16(p, v.weights), twos);
        __m256i colour = _mm256_shuffle_epi8(sum, v.grey);
        if constexpr (kSepia) colour = _mm256_subs_epu8(_mm256_adds_epu8(colour, v.sepiaLift), v.sepiaDrop);
        __m256i out = _mm256_or_si256(_mm256_and_si256(p, v.rest), colour);
        if constexpr (kReverse) out = _mm256_permutevar8x32_epi32(out, v.reversed);
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(d + 4 * (kReverse ? w - 8 - x : x)), out);
    }
    // The pixels the vectors did not cover.
    for (; x < w; ++x) {
        std::uint32_t p;
        std::memcpy(&p, s + 4 * x, 4);
        p = op(p);
        std::memcpy(d + 4 * (kReverse ? w - 1 - x : x), &p, 4);
    }
}

template <bool kSepia, class Op>
[[gnu::target("avx2")]] void ToneAvx2(const Job& job, bool reverseColumns, Shifts s, Op op) {
    const ToneVectors v = MakeToneVectors(s);
    for (int y = 0; y < job.height; ++y) {
        if (reverseColumns) {
            ToneRowAvx2<kSepia, true>(job.SourceRow(y), job.TargetRow(y), job.width, v, op);
        } else {
            ToneRowAvx2<kSepia, false>(job.SourceRow(y), job.TargetRow(y), job.width, v, op);
        }
    }
}
#endif

template <bool kAvx2>
[[gnu::always_inline]] inline void Render(const Job& job, Shifts s, const EffectParams& params) {
    const std::uint32_t rest = ~ColourBits(s);
    const bool reverseColumns = params.mirrorHorizontal;
    switch (params.tone) {
    case ToneKind::BlackWhite: {
        const GreyOp op{s, rest, (1u << s.r) | (1u << s.g) | (1u << s.b)};
#if defined(__x86_64__) || defined(__i386__)
        if (kAvx2 && job.bytesPerPixel == 4) {
            ToneAvx2<false>(job, reverseColumns, s, op);
            return;
        }
#endif
        Run(job, reverseColumns, op);
        return;
    }
    case ToneKind::Sepia: {
        const SepiaOp op{s, rest};
#if defined(__x86_64__) || defined(__i386__)
        if (kAvx2 && job.bytesPerPixel == 4) {
            ToneAvx2<true>(job, reverseColumns, s, op);
            return;
        }
#endif
        Run(job, reverseColumns, op);
        return;
    }
    case ToneKind::ChannelMask:
        if (!(params.keepRed && params.keepGreen && params.keepBlue)) {
            const std::uint32_t keep = rest | (params.keepRed ? 0xFFu << s.r : 0) |
                                       (params.keepGreen ? 0xFFu << s.g : 0) |
                                       (params.keepBlue ? 0xFFu << s.b : 0);
            Run(job, reverseColumns, MaskOp{keep});
            return;
        }
        break;
    case ToneKind::None:
        break;
    }
    if (reverseColumns) {
        Run(job, true, CopyOp{});
        return;
    }
    const std::size_t rowBytes = static_cast<std::size_t>(job.width) * job.bytesPerPixel;
    for (int y = 0; y < job.height; ++y) std::memcpy(job.TargetRow(y), job.SourceRow(y), rowBytes);
}

void RenderPortable(const Job& job, Shifts s, const EffectParams& params) { Render<false>(job, s, params); }

#if defined(__x86_64__) || defined(__i386__)
// The generic loops compiled once more for AVX2 (eight pixels per instruction), chosen at run time.
[[gnu::target("avx2")]] void RenderAvx2(const Job& job, Shifts s, const EffectParams& params) {
    Render<true>(job, s, params);
}
bool HaveAvx2() {
    // The module may be loaded before libgcc's own start-up code has looked at the processor.
    // VISTREL_EFFECT_KERNELS=portable forces the other loops, so tests cover both here.
    static const bool have = [] {
        const char* kernels = std::getenv("VISTREL_EFFECT_KERNELS");
        __builtin_cpu_init();
        return __builtin_cpu_supports("avx2") && !(kernels && std::string_view(kernels) == "portable");
    }();
    return have;
}
#endif

}  // namespace

void RenderEffect(ConstPlane src, Plane dst, int width, int height, const PixelLayout& layout,
                  const EffectParams& params) {
    if (width <= 0 || height <= 0) return;
    const Job job{src, dst, width, height, layout.bytesPerPixel, params.mirrorVertical};
    // A 4-byte pixel is read as a native word, a 3-byte one is assembled lowest byte first.
    const bool bigWord = layout.bytesPerPixel == 4 && std::endian::native == std::endian::big;
    const auto shift = [&](int offset) { return static_cast<unsigned>(8 * (bigWord ? 3 - offset : offset)); };
    const Shifts s{shift(layout.red), shift(layout.green), shift(layout.blue)};
#if defined(__x86_64__) || defined(__i386__)
    if (HaveAvx2()) {
        RenderAvx2(job, s, params);
        return;
    }
#endif
    RenderPortable(job, s, params);
}

}  // namespace videoeffect
