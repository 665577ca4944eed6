// The pixel work of the effect filter, free of GStreamer so the element stays a thin shell.
#pragma once

#include <cstddef>
#include <cstdint>

namespace videoeffect {

enum class ToneKind { None, ChannelMask, BlackWhite, Sepia };

// Where the colour bytes sit inside one packed pixel. Members are left without initialisers so
// the struct stays trivial: it lives inside a GObject instance that no constructor runs for.
struct PixelLayout {
    int bytesPerPixel;  // 3 or 4
    int red;            // byte offsets within the pixel
    int green;
    int blue;
};

struct EffectParams {
    ToneKind tone;
    bool keepRed;  // only read when tone is ChannelMask
    bool keepGreen;
    bool keepBlue;
    bool mirrorHorizontal;  // left-right
    bool mirrorVertical;    // top-bottom

    // True when a frame leaves the filter exactly as it came in.
    [[nodiscard]] bool IsIdentity() const;
};

// Maps the control codes to what the kernels do; unknown tone and mirror codes do nothing, and
// any non-zero channel flag keeps its channel.
[[nodiscard]] EffectParams ParamsFromCodes(int tone, int red, int green, int blue, int mirror);

struct ConstPlane {
    const std::uint8_t* data;
    std::ptrdiff_t stride;
};
struct Plane {
    std::uint8_t* data;
    std::ptrdiff_t stride;
};

// Writes width x height pixels of dst from src with the effect applied. src and dst must not
// overlap; bytes of a pixel that are not colour (alpha, padding) are carried over unchanged.
void RenderEffect(ConstPlane src, Plane dst, int width, int height, const PixelLayout& layout,
                  const EffectParams& params);

}  // namespace videoeffect
