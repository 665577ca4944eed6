// Cairo over a Bitmap's own pixels, without a copy: both are 0x00RRGGBB rows top-down with a
// stride of width * 4 (cairo's RGB24).
#pragma once

#include <cairo.h>

#include "platform/Bitmap.h"

namespace platform {

// The caller destroys the surface before the bitmap changes size or goes away.
cairo_surface_t* CreateCairoSurface(Bitmap& bitmap);
void PaintBitmap(cairo_t* cr, Bitmap& bitmap, double x, double y);
// Cairo may leave the unused top byte of RGB24 pixels set; a bitmap's pixels keep it at zero.
void ClearUnusedByte(Bitmap& bitmap, const Rect& area);

}  // namespace platform
