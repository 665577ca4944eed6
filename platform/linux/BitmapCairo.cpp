#include "BitmapCairo.h"

namespace platform {

cairo_surface_t* CreateCairoSurface(Bitmap& bitmap) {
    return cairo_image_surface_create_for_data(bitmap.Data(), CAIRO_FORMAT_RGB24, bitmap.Width(),
                                               bitmap.Height(), bitmap.Stride());
}

void PaintBitmap(cairo_t* cr, Bitmap& bitmap, double x, double y) {
    if (bitmap.IsEmpty()) return;
    cairo_surface_t* surface = CreateCairoSurface(bitmap);
    cairo_save(cr);
    cairo_set_operator(cr, CAIRO_OPERATOR_SOURCE);
    cairo_set_source_surface(cr, surface, x, y);
    cairo_rectangle(cr, x, y, bitmap.Width(), bitmap.Height());
    cairo_fill(cr);
    cairo_restore(cr);
    cairo_surface_destroy(surface);
}

void ClearUnusedByte(Bitmap& bitmap, const Rect& area) {
    const Rect r = area.Intersect(bitmap.Bounds());
    for (int y = r.top; y < r.bottom; ++y) {
        uint32_t* row = bitmap.Row(y);
        for (int x = r.left; x < r.right; ++x) row[x] &= 0x00FFFFFFu;
    }
}

}  // namespace platform
