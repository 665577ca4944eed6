#include "CaptionFrame.h"

#include <algorithm>
#include <string>
#include <utility>

namespace platform {
namespace {

constexpr Color kFace{212, 208, 200};
constexpr Color kLight{255, 255, 255};
constexpr Color kShadow{128, 128, 128};
constexpr Color kDarkShadow{64, 64, 64};
constexpr Color kActiveLeft{10, 36, 106}, kActiveRight{166, 202, 240};
constexpr Color kInactiveLeft{128, 128, 128}, kInactiveRight{192, 192, 192};
constexpr int kBoxWidth = 16;
constexpr int kBoxHeight = 14;
constexpr int kBoxGap = 2;

Rect CaptionBar(Size outer) {
    return {kFrameBorder, kFrameBorder, outer.cx - kFrameBorder, kFrameBorder + kCaptionHeight - 1};
}

uint8_t Mix(uint8_t a, uint8_t b, int num, int den) { return uint8_t(a + (int(b) - int(a)) * num / den); }

void RaisedEdge(Surface& s, Rect r, bool sunk) {
    const Color outerTopLeft = sunk ? kDarkShadow : kLight, outerBottomRight = sunk ? kLight : kDarkShadow;
    const Color innerTopLeft = sunk ? kShadow : kFace, innerBottomRight = sunk ? kFace : kShadow;
    for (auto [topLeft, bottomRight] : {std::pair{outerTopLeft, outerBottomRight}, std::pair{innerTopLeft, innerBottomRight}}) {
        s.FillRect({r.left, r.top, r.right, r.top + 1}, topLeft);
        s.FillRect({r.left, r.top, r.left + 1, r.bottom}, topLeft);
        s.FillRect({r.left, r.bottom - 1, r.right, r.bottom}, bottomRight);
        s.FillRect({r.right - 1, r.top, r.right, r.bottom}, bottomRight);
        r = {r.left + 1, r.top + 1, r.right - 1, r.bottom - 1};
    }
}

void PaintBox(Surface& s, Rect r, CaptionPart box, bool sunk) {
    s.FillRect(r, kFace);
    RaisedEdge(s, r, sunk);
    const int shift = sunk ? 1 : 0;
    const int cx = r.left + r.Width() / 2 + shift, cy = r.top + r.Height() / 2 + shift;
    constexpr Color kGlyph{0, 0, 0};
    if (box == CaptionPart::MinimizeBox) {
        s.FillRect({cx - 4, cy + 2, cx + 2, cy + 4}, kGlyph);
        return;
    }
    // A cross two pixels thick.
    for (int i = -3; i <= 3; ++i) {
        s.FillRect({cx + i - 1, cy + i - 1, cx + i + 1, cy + i}, kGlyph);
        s.FillRect({cx + i - 1, cy - i - 1, cx + i + 1, cy - i}, kGlyph);
    }
}

}  // namespace

Rect CaptionBoxRect(Size outer, CaptionPart box) {
    const Rect bar = CaptionBar(outer);
    const int top = bar.top + (bar.Height() - kBoxHeight) / 2;
    int right = bar.right - kBoxGap;
    if (box == CaptionPart::MinimizeBox) right -= kBoxWidth + kBoxGap;
    return {right - kBoxWidth, top, right, top + kBoxHeight};
}

CaptionPart HitTestCaption(Size outer, bool minimizeBox, Point p) {
    if (CaptionBoxRect(outer, CaptionPart::CloseBox).Contains(p)) return CaptionPart::CloseBox;
    if (minimizeBox && CaptionBoxRect(outer, CaptionPart::MinimizeBox).Contains(p)) return CaptionPart::MinimizeBox;
    const Rect bar = CaptionBar(outer);
    return Rect{bar.left, bar.top, bar.right, bar.bottom + 1}.Contains(p) ? CaptionPart::Caption : CaptionPart::None;
}

void PaintCaptionFrame(Surface& s, const CaptionLook& look) {
    const Size outer = s.GetSize();
    RaisedEdge(s, {0, 0, outer.cx, outer.cy}, false);
    s.FrameRect({2, 2, outer.cx - 2, outer.cy - 2}, kFace);

    const Rect bar = CaptionBar(outer);
    const Color left = look.active ? kActiveLeft : kInactiveLeft;
    const Color right = look.active ? kActiveRight : kInactiveRight;
    for (int x = bar.left; x < bar.right; ++x) {
        const int n = x - bar.left, d = std::max(1, bar.Width() - 1);
        s.FillRect({x, bar.top, x + 1, bar.bottom}, {Mix(left.r, right.r, n, d), Mix(left.g, right.g, n, d), Mix(left.b, right.b, n, d)});
    }
    s.FillRect({bar.left, bar.bottom, bar.right, bar.bottom + 1}, kFace);

    const Rect close = CaptionBoxRect(outer, CaptionPart::CloseBox);
    const Rect minimize = CaptionBoxRect(outer, CaptionPart::MinimizeBox);
    TextStyle title;
    title.font.face = L"Tahoma";
    title.font.weight = 700;
    title.color = look.active ? Color{255, 255, 255} : Color{212, 208, 200};
    title.format = kTextLeft | kTextVCenter | kTextSingleLine;
    // The title never runs under the boxes, and '&' in it is a plain character.
    std::wstring text;
    for (wchar_t c : look.title) text += c == L'&' ? std::wstring(L"&&") : std::wstring(1, c);
    s.DrawText(text, {bar.left + 4, bar.top, (look.minimizeBox ? minimize.left : close.left) - 2, bar.bottom}, title);

    PaintBox(s, close, CaptionPart::CloseBox, look.pressed == CaptionPart::CloseBox);
    if (look.minimizeBox) PaintBox(s, minimize, CaptionPart::MinimizeBox, look.pressed == CaptionPart::MinimizeBox);
}

}  // namespace platform
