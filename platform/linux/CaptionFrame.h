// The frame and caption the host draws around a top-level window's client area, in the classic
// look, and which part of it lies under a point. Sizes are kFrameBorder and kCaptionHeight.
#pragma once

#include <string_view>

#include "NativeWindow.h"
#include "platform/Surface.h"

namespace platform {

struct CaptionLook {
    std::wstring_view title;
    bool minimizeBox = false;
    bool active = true;
    CaptionPart pressed = CaptionPart::None;  // shown sunk in
};

// Paints the whole outer rectangle's frame; the client area is left alone.
void PaintCaptionFrame(Surface& surface, const CaptionLook& look);
// Window coordinates (relative to the outer top-left).
CaptionPart HitTestCaption(Size outer, bool minimizeBox, Point p);
Rect CaptionBoxRect(Size outer, CaptionPart box);

}  // namespace platform
