#include "platform/Bitmap.h"

#include <algorithm>

namespace platform {

Bitmap::Bitmap(int width, int height, Color fill)
    : m_width(std::max(width, 0)), m_height(std::max(height, 0)),
      m_pixels(static_cast<size_t>(m_width) * m_height, fill.Pixel()) {}

void Bitmap::Fill(const Rect& r, Color c) {
    Rect clipped = r.Intersect(Bounds());
    const uint32_t pixel = c.Pixel();
    for (int y = clipped.top; y < clipped.bottom; ++y)
        std::fill(Row(y) + clipped.left, Row(y) + clipped.right, pixel);
}

void Bitmap::Blit(int x, int y, const Bitmap& src, const Rect& srcRect) {
    Rect from = srcRect.Intersect(src.Bounds());
    // Shift by what was cut from the source's top-left, then clip against the destination.
    Rect to = Rect::FromXYWH(x + from.left - srcRect.left, y + from.top - srcRect.top, from.Width(), from.Height());
    Rect clipped = to.Intersect(Bounds());
    if (clipped.IsEmpty()) return;
    const int sx = from.left + (clipped.left - to.left);
    const int sy = from.top + (clipped.top - to.top);
    for (int row = 0; row < clipped.Height(); ++row)
        std::copy_n(src.Row(sy + row) + sx, clipped.Width(), Row(clipped.top + row) + clipped.left);
}

void Bitmap::Stretch(const Rect& dst, const Bitmap& src, const Rect& srcRect) {
    if (dst.IsEmpty() || srcRect.IsEmpty()) return;
    Rect clipped = dst.Intersect(Bounds());
    for (int y = clipped.top; y < clipped.bottom; ++y) {
        const int sy = srcRect.top + static_cast<int>(int64_t{y - dst.top} * srcRect.Height() / dst.Height());
        if (sy < 0 || sy >= src.Height()) continue;
        const uint32_t* from = src.Row(sy);
        uint32_t* to = Row(y);
        for (int x = clipped.left; x < clipped.right; ++x) {
            const int sx = srcRect.left + static_cast<int>(int64_t{x - dst.left} * srcRect.Width() / dst.Width());
            if (sx >= 0 && sx < src.Width()) to[x] = from[sx];
        }
    }
}

}  // namespace platform
