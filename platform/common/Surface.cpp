#include "platform/Surface.h"

namespace platform {

void Surface::FrameRect(const Rect& r, Color c) {
    FillRect({r.left, r.top, r.right, r.top + 1}, c);
    FillRect({r.left, r.bottom - 1, r.right, r.bottom}, c);
    FillRect({r.left, r.top, r.left + 1, r.bottom}, c);
    FillRect({r.right - 1, r.top, r.right, r.bottom}, c);
}

void Surface::DrawBitmap(int x, int y, const Bitmap& src, const Rect& srcRect) {
    m_target.Blit(x, y, src, srcRect);
}

void Surface::StretchBitmap(const Rect& dst, const Bitmap& src, const Rect& srcRect) {
    m_target.Stretch(dst, src, srcRect);
}

void Surface::DrawText(std::wstring_view text, const Rect& box, const TextStyle& style) {
    if (style.opaque) FillRect(box, style.background);
    if (!text.empty()) m_text.DrawText(m_target, m_clip, text, box, style);
}

}  // namespace platform
