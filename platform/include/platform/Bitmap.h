// A 32-bit pixel buffer (0x00RRGGBB per pixel, rows top-down) and the software drawing on it.
// Both backends draw every window through these, so what the sim paints is what the screen shows
// (text aside, which each backend renders its own way).
#pragma once

#include <cstdint>
#include <vector>

#include "platform/Types.h"

namespace platform {

class Bitmap {
public:
    Bitmap() = default;
    Bitmap(int width, int height, Color fill = {});

    int Width() const { return m_width; }
    int Height() const { return m_height; }
    bool IsEmpty() const { return m_width == 0 || m_height == 0; }
    Rect Bounds() const { return {0, 0, m_width, m_height}; }
    int Stride() const { return m_width * 4; }

    uint32_t* Row(int y) { return m_pixels.data() + static_cast<size_t>(y) * m_width; }
    const uint32_t* Row(int y) const { return m_pixels.data() + static_cast<size_t>(y) * m_width; }
    Color At(int x, int y) const { return Color::FromPixel(Row(y)[x] & 0xFFFFFF); }
    void Set(int x, int y, Color c) { Row(y)[x] = c.Pixel(); }
    uint8_t* Data() { return reinterpret_cast<uint8_t*>(m_pixels.data()); }

    void Fill(const Rect& r, Color c);
    // Plain copy of src's rectangle to (x, y); clipped on both sides.
    void Blit(int x, int y, const Bitmap& src, const Rect& srcRect);
    // Nearest-neighbour stretch of src's rectangle onto dst, clipped to this bitmap.
    void Stretch(const Rect& dst, const Bitmap& src, const Rect& srcRect);

    friend bool operator==(const Bitmap&, const Bitmap&) = default;

private:
    int m_width = 0;
    int m_height = 0;
    std::vector<uint32_t> m_pixels;
};

}  // namespace platform
