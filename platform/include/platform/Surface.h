// Where painting goes: a window's client area during a paint, or a memory surface.
#pragma once

#include <string_view>

#include "platform/Bitmap.h"
#include "platform/Types.h"

namespace platform {

// Text format bits, the subset of the classic DrawText flags the program uses.
enum TextFormat : unsigned {
    kTextLeft = 0x0000,
    kTextCenter = 0x0001,
    kTextRight = 0x0002,
    kTextVCenter = 0x0004,
    kTextBottom = 0x0008,
    kTextWordBreak = 0x0010,
    kTextSingleLine = 0x0020,
};

struct TextStyle {
    FontDesc font;
    Color color{0, 0, 0};
    bool opaque = false;  // fill the text's box with background first
    Color background{255, 255, 255};
    unsigned format = kTextLeft;
};

// Renders text into a bitmap; each backend has its own (the sim only records what was drawn).
class ITextRenderer {
public:
    virtual ~ITextRenderer() = default;
    virtual void DrawText(Bitmap& target, const Rect& clip, std::wstring_view text, const Rect& box,
                          const TextStyle& style) = 0;
    virtual Size MeasureText(std::wstring_view text, const FontDesc& font) = 0;
};

// A drawing surface over a bitmap, with an origin and a clip (a child window painting into
// its own bitmap has origin 0,0 and its own bounds as clip).
class Surface {
public:
    Surface(Bitmap& target, ITextRenderer& text) : m_target(target), m_text(text), m_clip(target.Bounds()) {}

    Bitmap& Target() { return m_target; }
    Size GetSize() const { return {m_target.Width(), m_target.Height()}; }

    void FillRect(const Rect& r, Color c) { m_target.Fill(r.Intersect(m_clip), c); }
    void FrameRect(const Rect& r, Color c);
    void DrawBitmap(int x, int y, const Bitmap& src, const Rect& srcRect);
    void StretchBitmap(const Rect& dst, const Bitmap& src, const Rect& srcRect);
    void DrawText(std::wstring_view text, const Rect& box, const TextStyle& style);
    Size MeasureText(std::wstring_view text, const FontDesc& font) { return m_text.MeasureText(text, font); }

private:
    Bitmap& m_target;
    ITextRenderer& m_text;
    Rect m_clip;
};

}  // namespace platform
