#include "resources/AppIcon.h"

#include "resources/PictureCanvas.h"

platform::Bitmap DrawAppIcon() {
    // Opaque to the corners: the bitmap has no transparency, and a square tile sits well on
    // any task bar.
    platform::Bitmap icon(kAppIconSize, kAppIconSize, {36, 64, 120});
    PictureCanvas canvas(icon);
    canvas.FillRoundRect(1, 1, 31, 31, 5, {52, 92, 168});
    // The camera: body, viewfinder hump, lens with its glass, and the flash.
    canvas.FillRoundRect(11, 6, 21, 11, 1.5f, {232, 235, 240});
    canvas.FillRoundRect(4, 9, 28, 26, 3, {232, 235, 240});
    canvas.FillCircle(16, 17.5f, 7, {40, 46, 58});
    canvas.FillCircle(16, 17.5f, 4.6f, {86, 156, 228});
    canvas.FillCircle(14.6f, 16.1f, 1.5f, {220, 240, 255});
    canvas.FillRoundRect(22.5f, 11, 26, 13.5f, 0.8f, {250, 196, 64});
    return icon;
}
