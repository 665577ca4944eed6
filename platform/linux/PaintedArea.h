// The client area of a top-level window and every canvas: a GtkFixed with a window of its own
// whose background the program paints (OnPaint into a Bitmap, then shown with cairo) and whose
// pointer input goes to the program. Children are placed on it in its own pixels; its size is
// what was asked for, never grown by children standing out of it.
#pragma once

#include <gtk/gtk.h>

#include "EventRouter.h"

namespace platform {

GtkWidget* CreatePaintedArea(EventRouter& router, WindowHandle handle);

}  // namespace platform
